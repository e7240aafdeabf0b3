// Any body, any flags, compressed or not: decoding ends, never throws, never grows past the
// page bound.
#include "web/response_decoding.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    mosaiq::HttpResponse response;
    response.compressed = (data[0] & 1) != 0;
    if (data[0] & 2) {
        response.rawHeaders = QStringLiteral("Content-Type: text/html; charset=GBK");
    }
    response.endMarker = (data[0] & 4) ? QByteArray("</") : QByteArray();
    response.body = QByteArray(reinterpret_cast<const char*>(data) + 2, qsizetype(size) - 2);
    const QString text = mosaiq::DecodeResponseText(response, data[1]);
    if (text.size() > mosaiq::kMaxPageBytes) {
        __builtin_trap();
    }
    return 0;
}
