#pragma once

#include "web/http_response.h"

#include <QByteArray>
#include <QString>

namespace mosaiq {

// Decode flags of DecodeResponseText; other bits are ignored.
enum DecodeFlag : unsigned {
    Inflate = 1,         // inflate the body when the response is compressed
    Utf8 = 2,            // code page 65001
    EucKr = 4,           // code page 51949
    Big5 = 8,            // code page 950
    AutoUtf8 = 0x10,     // UTF-8 when the bytes pass LooksLikeUtf8, else ANSI
    GbkZeroGuard = 0x20  // a body declared GBK keeps the text after zero bytes
};
// No code-page flag means ANSI (GBK, text ends at the first zero byte).

// The largest page the program reads, before and after inflation: a bigger one is refused
// (a compressed "page bomb" would otherwise take gigabytes).
inline constexpr qsizetype kMaxPageBytes = qsizetype(64) * 1024 * 1024;

// Body to text: inflate when asked, apply the markers to a still compressed body, convert
// (a "charset=GBK" header wins over the flags), decode the HTML entities. A body larger than
// kMaxPageBytes, raw or inflated, gives the empty text, as a failed request does. May clear
// response.compressed when inflation yields nothing.
QString DecodeResponseText(HttpResponse& response, unsigned flags);

// Appends the inflated bytes (zlib or gzip) to `output`, at most `maxOutput` of them; true only
// when the stream ended properly. A damaged or cut stream keeps what was inflated before the
// damage; one that inflates past the bound is false and leaves `output` as it was.
bool InflateBody(const QByteArray& bytes, QByteArray& output, qsizetype maxOutput = kMaxPageBytes);

// Well-formed lead and continuation bytes and at least one byte of 0x80 or above.
bool LooksLikeUtf8(const char* bytes, qsizetype length);
inline bool LooksLikeUtf8(const QByteArray& bytes) {
    return LooksLikeUtf8(bytes.constData(), bytes.size());
}

// Cuts `bytes` as streaming does: through the last start marker, then before the end marker.
// Returns true when the end marker was found.
bool ApplyBodyMarkers(QByteArray& bytes, const QByteArray& startMarker,
                      const QByteArray& endMarker);

}  // namespace mosaiq
