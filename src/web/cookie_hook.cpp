#include "web/cookie_hook.h"

#include <mutex>

namespace mosaiq {
namespace {

struct Hooks {
    std::mutex mutex;
    CookieProvider provider;
    CookieSink sink;
};

Hooks& TheHooks() {
    static Hooks hooks;
    return hooks;
}

}  // namespace

void SetCookieHooks(CookieProvider provider, CookieSink sink) {
    Hooks& hooks = TheHooks();
    std::lock_guard lock(hooks.mutex);
    hooks.provider = std::move(provider);
    hooks.sink = std::move(sink);
}

QString CookiesFor(const QString& url) {
    CookieProvider provider;
    {
        Hooks& hooks = TheHooks();
        std::lock_guard lock(hooks.mutex);
        provider = hooks.provider;
    }
    return provider ? provider(url) : QString();
}

void StoreSetCookies(const QString& url, const QList<QByteArray>& setCookieValues) {
    if (setCookieValues.isEmpty()) {
        return;
    }
    CookieSink sink;
    {
        Hooks& hooks = TheHooks();
        std::lock_guard lock(hooks.mutex);
        sink = hooks.sink;
    }
    if (sink) {
        sink(url, setCookieValues);
    }
}

}  // namespace mosaiq
