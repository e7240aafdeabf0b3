#include "app/browser_profile.h"

#include "web/cookie_store.h"
#include "web/user_data_folder.h"

#include <QCoreApplication>
#include <QNetworkCookie>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

namespace mosaiq {

QWebEngineProfile* LoginBrowserProfile() {
    static QWebEngineProfile* profile = nullptr;
    if (profile) {
        return profile;
    }
    profile = new QWebEngineProfile(QStringLiteral("login"), QCoreApplication::instance());
    const QString folder = UserDataFolder() + QStringLiteral("/browser");
    profile->setPersistentStoragePath(folder);
    profile->setCachePath(folder + QStringLiteral("/cache"));
    // The cookie store's file is the one persistent copy; two would drift apart.
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);

    QWebEngineCookieStore* cookies = profile->cookieStore();
    QObject::connect(cookies, &QWebEngineCookieStore::cookieAdded, profile,
                     [](const QNetworkCookie& cookie) { SharedCookieStore()->Insert({cookie}); });
    QObject::connect(cookies, &QWebEngineCookieStore::cookieRemoved, profile,
                     [](const QNetworkCookie& cookie) { SharedCookieStore()->Remove(cookie); });
    return profile;
}

void SyncStoreIntoBrowser() {
    QWebEngineCookieStore* browser = LoginBrowserProfile()->cookieStore();
    for (QNetworkCookie cookie : SharedCookieStore()->AllCookies()) {
        const QString domain = cookie.domain();
        const bool hostOnly = !domain.startsWith(u'.');
        QUrl origin;
        origin.setScheme(QStringLiteral("https"));
        origin.setHost(hostOnly ? domain : domain.mid(1));
        origin.setPath(cookie.path().isEmpty() ? QStringLiteral("/") : cookie.path());
        if (hostOnly) {
            // Without a domain attribute the browser keeps it for the origin's host only.
            cookie.setDomain(QString());
        }
        browser->setCookie(cookie, origin);
    }
}

}  // namespace mosaiq
