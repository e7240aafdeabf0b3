#include "web/site_tokens.h"

#include "web/cookie_store.h"
#include "web/text_helpers.h"

#include <QUrl>

#include <mutex>

namespace mosaiq {

namespace {

const QString kQqDomain = QStringLiteral("qq.com");
constexpr qsizetype kMinPageTokenLength = 21;

std::mutex g_pageTokenMutex;
QString g_pageToken;

QUrl WebAddress(const QString& address) {
    const QUrl url(address);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return QUrl();
    }
    return url;
}

}  // namespace

QString GetSiteCookies(const QString& address) {
    const QUrl url = WebAddress(address);
    if (url.isEmpty()) {
        return QString();
    }
    return QString::fromUtf8(SharedCookieStore()->CookieHeaderFor(url));
}

int ClearSiteCookies(const QString& address) {
    const QUrl url = WebAddress(address);
    return url.isEmpty() ? 0 : SharedCookieStore()->RemoveFor(url);
}

QString CookieValue(const QString& cookies, const QString& name) {
    // Names are compared whole, so "skey" never matches "p_skey" and the first pair counts
    // like any other.
    for (QStringView pair : QStringView(cookies).split(u';')) {
        pair = pair.trimmed();
        const qsizetype equals = pair.indexOf(u'=');
        if (equals > 0 && pair.first(equals).trimmed() == name) {
            return pair.sliced(equals + 1).trimmed().toString();
        }
    }
    return QString();
}

uint32_t ComputeGtk(const QString& key) {
    uint32_t h = 5381;
    for (const QChar c : key) {
        h = (h << 5) + h + c.unicode();
    }
    return h & 0x7FFFFFFFu;
}

uint32_t GtkFromCookies(const QString& cookies, bool preferPSkey) {
    QString key;
    if (preferPSkey) {
        key = CookieValue(cookies, QStringLiteral("p_skey"));
    }
    if (key.isEmpty()) {
        key = CookieValue(cookies, QStringLiteral("skey"));
    }
    return ComputeGtk(key);
}

QString UinFromCookies(const QString& cookies, bool trimZeros) {
    QString uin = CookieValue(cookies, QStringLiteral("uin"));
    uin.remove(u'o');
    if (trimZeros) {
        qsizetype zeros = 0;
        while (zeros < uin.size() && uin[zeros] == u'0') {
            ++zeros;
        }
        uin.remove(0, zeros);
    }
    return uin;
}

bool IsQqPage(const QString& locationUrl) {
    const QString host = QUrl(locationUrl).host().toLower();
    return host == kQqDomain || host.endsWith(u'.' + kQqDomain);
}

QString PageToken() {
    std::lock_guard lock(g_pageTokenMutex);
    return g_pageToken;
}

bool CapturePageToken(const QString& locationUrl, const QString& bodyHtml) {
    if (!IsQqPage(locationUrl)) {
        return false;
    }
    // Without the marker the first quoted text of the page would be any attribute value.
    TextSource text(bodyHtml);
    if (SkipTo(text, u"qzonetoken", true) < 0) {
        return false;
    }
    const QString token = TakeBetween(text, u"\"", u"\"", Consume);
    if (token.size() < kMinPageTokenLength) {
        return false;
    }
    std::lock_guard lock(g_pageTokenMutex);
    g_pageToken = token;
    return true;
}

}  // namespace mosaiq
