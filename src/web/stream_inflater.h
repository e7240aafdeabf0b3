#pragma once

#include <QByteArray>

#include <memory>

namespace mosaiq {

// Inflates a zlib or gzip stream (header detected) fed in pieces, through an 8192-byte
// window. Output stops for good at the stream's end, at the first error, or when it would pass
// `maxOutput` bytes (a small body can inflate to gigabytes).
class StreamInflater {
  public:
    explicit StreamInflater(qsizetype maxOutput = -1);
    ~StreamInflater();
    StreamInflater(const StreamInflater&) = delete;
    StreamInflater& operator=(const StreamInflater&) = delete;

    // Appends what `input` inflates to `output`; false once the stream is damaged.
    bool Feed(const char* input, qsizetype length, QByteArray& output);
    bool ended() const { return m_state == State::Ended; }
    bool failed() const { return m_state == State::Failed || m_state == State::TooLarge; }
    bool tooLarge() const { return m_state == State::TooLarge; }

  private:
    enum class State { Running, Ended, Failed, TooLarge };
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    qsizetype m_maxOutput;
    qsizetype m_produced = 0;
    State m_state = State::Running;
};

}  // namespace mosaiq
