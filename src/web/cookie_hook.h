#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace mosaiq {

// The one place where HTTP requests take their cookies from and leave Set-Cookie answers.
// The cookie store plugs itself in here; until it does, no cookie is sent or stored.
using CookieProvider = std::function<QString(const QString& url)>;
using CookieSink = std::function<void(const QString& url, const QByteArray& setCookieValue)>;

// Thread-safe; an empty function removes that hook.
void SetCookieHooks(CookieProvider provider, CookieSink sink);

// The Cookie header value for a request to `url`; empty for none.
QString CookiesFor(const QString& url);
// One Set-Cookie header value received from `url`.
void StoreSetCookie(const QString& url, const QByteArray& setCookieValue);

}  // namespace mosaiq
