#include "jobs/job_thread.h"

#include <system_error>

namespace mosaiq {

JobThread::JobThread(std::function<void()> body) {
    try {
        m_thread = std::thread(std::move(body));
    } catch (const std::system_error& error) {
        m_startError = error.code().value();
    }
}

JobThread& JobThread::operator=(JobThread&& other) noexcept {
    if (this != &other) {
        if (m_thread.joinable()) {
            m_thread.detach();
        }
        m_thread = std::move(other.m_thread);
        m_startError = other.m_startError;
    }
    return *this;
}

JobThread::~JobThread() {
    if (m_thread.joinable()) {
        m_thread.detach();
    }
}

void JobThread::Wait() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

}  // namespace mosaiq
