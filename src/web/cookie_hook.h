#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace mosaiq {

// The one place where HTTP requests take their cookies from and leave Set-Cookie answers.
// The cookie store plugs itself in here; until it does, no cookie is sent or stored.
using CookieProvider = std::function<QString(const QString& url)>;
using CookieSink =
    std::function<void(const QString& url, const QList<QByteArray>& setCookieValues)>;

// Thread-safe; an empty function removes that hook.
void SetCookieHooks(CookieProvider provider, CookieSink sink);

// The Cookie header value for a request to `url`; empty for none.
QString CookiesFor(const QString& url);
// The Set-Cookie header values of one answer received from `url`, handed over together so the
// store saves once per answer, not once per line.
void StoreSetCookies(const QString& url, const QList<QByteArray>& setCookieValues);

}  // namespace mosaiq
