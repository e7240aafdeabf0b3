#include "web/shared_cookie_hooks.h"

#include "web/cookie_hook.h"
#include "web/cookie_store.h"

#include <QUrl>

namespace mosaiq {

void InstallSharedCookieStore() {
    SetCookieHooks(
        [](const QString& url) {
            return QString::fromUtf8(SharedCookieStore()->CookieHeaderFor(url));
        },
        [](const QString& url, const QList<QByteArray>& setCookieValues) {
            SharedCookieStore()->StoreSetCookies(QUrl(url), setCookieValues);
        });
}

}  // namespace mosaiq
