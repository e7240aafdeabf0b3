// cookies.txt: whatever the reader accepts, the writer writes and the reader reads back the
// same.
#include "web/cookies_txt.h"

#include <QDateTime>

#include <cstddef>
#include <cstdint>

namespace {

bool Same(const QNetworkCookie& a, const QNetworkCookie& b) {
    return a.name() == b.name() && a.value() == b.value() && a.domain() == b.domain() &&
           a.path() == b.path() && a.isSecure() == b.isSecure() &&
           a.isHttpOnly() == b.isHttpOnly() && a.isSessionCookie() == b.isSessionCookie() &&
           (a.isSessionCookie() ||
            a.expirationDate().toSecsSinceEpoch() == b.expirationDate().toSecsSinceEpoch());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const mosaiq::CookiesTxtContent first = mosaiq::ParseCookiesTxt(bytes);
    const mosaiq::CookiesTxtContent second =
        mosaiq::ParseCookiesTxt(mosaiq::FormatCookiesTxt(first.cookies));
    if (!second.problems.isEmpty() || second.cookies.size() != first.cookies.size()) {
        __builtin_trap();
    }
    for (qsizetype i = 0; i < first.cookies.size(); ++i) {
        if (!Same(first.cookies[i], second.cookies[i])) {
            __builtin_trap();
        }
    }
    return 0;
}
