#include "web/stream_inflater.h"

#include <zlib.h>

#include <climits>

namespace mosaiq {

struct StreamInflater::Stream {
    z_stream z{};
};

StreamInflater::StreamInflater(qsizetype maxOutput)
    : m_stream(std::make_unique<Stream>()), m_maxOutput(maxOutput) {
    // 15 + 32: zlib or gzip header, detected from the data.
    if (inflateInit2(&m_stream->z, 47) != Z_OK) {
        m_state = State::Failed;
    }
}

StreamInflater::~StreamInflater() {
    inflateEnd(&m_stream->z);
}

bool StreamInflater::Feed(const char* input, qsizetype length, QByteArray& output) {
    if (m_state != State::Running) {
        return m_state == State::Ended;
    }
    z_stream& z = m_stream->z;
    char window[8192];
    while (length > 0 && m_state == State::Running) {
        const uInt piece = length > qsizetype(UINT_MAX) ? UINT_MAX : uInt(length);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input));
        z.avail_in = piece;
        do {
            z.next_out = reinterpret_cast<Bytef*>(window);
            z.avail_out = sizeof window;
            const int result = inflate(&z, Z_NO_FLUSH);
            const auto produced = qsizetype(sizeof window - z.avail_out);
            m_produced += produced;
            if (m_maxOutput >= 0 && m_produced > m_maxOutput) {
                m_state = State::TooLarge;
                break;
            }
            output.append(window, produced);
            if (result == Z_STREAM_END) {
                m_state = State::Ended;
            } else if (result != Z_OK && !(result == Z_BUF_ERROR && z.avail_in == 0)) {
                m_state = State::Failed;
            }
        } while (m_state == State::Running && (z.avail_in > 0 || z.avail_out == 0));
        input += piece - z.avail_in;
        length -= piece - z.avail_in;
        if (m_state != State::Running) {
            break;
        }
    }
    return m_state == State::Running || m_state == State::Ended;
}

}  // namespace mosaiq
