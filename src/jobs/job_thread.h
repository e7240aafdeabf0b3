#pragma once

#include <functional>
#include <memory>
#include <thread>

namespace mosaiq {

// The thread of a job started by a command. The window drops it at once (the job runs on);
// the CLI and tests wait for it.
class JobThread {
  public:
    JobThread() = default;
    // Starts `body` on a new thread; false from Started() when the system refused, with the
    // error code in StartError().
    explicit JobThread(std::function<void()> body);
    JobThread(JobThread&&) = default;
    // An assigned-over job runs on, as a dropped one does.
    JobThread& operator=(JobThread&& other) noexcept;
    ~JobThread();

    bool Started() const { return m_thread.joinable(); }
    int StartError() const { return m_startError; }
    // Blocks until the job ended; returns at once when nothing was started.
    void Wait();

  private:
    std::thread m_thread;
    int m_startError = 0;
};

}  // namespace mosaiq
