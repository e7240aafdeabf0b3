#include "sites/qq_common.h"

#include "web/http_client.h"
#include "web/response_decoding.h"

#include <QUrl>

namespace mosaiq {

bool FetchText(const RequestOptions& options, unsigned decodeFlags, QString& text) {
    HttpResponse response;
    if (!HttpRequest(response, options, 0)) {
        text.clear();
        return false;
    }
    text = DecodeResponseText(response, decodeFlags);
    return true;
}

QString QueryValue(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

bool RepeatGuard::IsRepeat(const QStringList& pageItems) {
    bool anyNew = false;
    for (const QString& item : pageItems) {
        if (!m_seen.contains(item)) {
            m_seen.insert(item);
            anyNew = true;
        }
    }
    return !pageItems.isEmpty() && !anyNew;
}

}  // namespace mosaiq
