#pragma once

#include <QByteArray>

#include <memory>

namespace mosaiq {

// Inflates a zlib or gzip stream (header detected) fed in pieces, through an 8192-byte
// window. Output stops for good at the stream's end or at the first error.
class StreamInflater {
  public:
    StreamInflater();
    ~StreamInflater();
    StreamInflater(const StreamInflater&) = delete;
    StreamInflater& operator=(const StreamInflater&) = delete;

    // Appends what `input` inflates to `output`; false once the stream is damaged.
    bool Feed(const char* input, qsizetype length, QByteArray& output);
    bool ended() const { return m_state == State::Ended; }
    bool failed() const { return m_state == State::Failed; }

  private:
    enum class State { Running, Ended, Failed };
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    State m_state = State::Running;
};

}  // namespace mosaiq
