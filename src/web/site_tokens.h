#pragma once

#include <QString>

#include <cstdint>

namespace mosaiq {

// The cookie string the shared store holds for an address: "name=value" pairs joined by "; ",
// only the cookies a browser would send there. Empty when there is none or the address is
// not a web address.
QString GetSiteCookies(const QString& address);

// Forgets the cookies the store would send to `address` (a site whose session went bad
// starts afresh). Returns how many were removed.
int ClearSiteCookies(const QString& address);

// The value of the cookie named exactly `name` in a cookie string; empty when absent.
QString CookieValue(const QString& cookies, const QString& name);

// g_tk: h = 5381, then h = h * 33 + c for every UTF-16 unit, kept below 2^31.
uint32_t ComputeGtk(const QString& key);

// g_tk of the login key: "p_skey" when preferred and present, else "skey".
uint32_t GtkFromCookies(const QString& cookies, bool preferPSkey);

// The logged-in account of the "uin" cookie, without its "o" marks (and leading zeros when
// trimZeros is set).
QString UinFromCookies(const QString& cookies, bool trimZeros);

// The QQ Zone page token, empty until a capture; kept for the run only. Thread-safe.
QString PageToken();
// Run when the login window closes on `locationUrl`, with the body's inner HTML. On a QQ page
// whose body carries "qzonetoken", the first quoted text after it becomes the page token when
// longer than 20 characters. Returns whether it did.
bool CapturePageToken(const QString& locationUrl, const QString& bodyHtml);
// Whether an address is on a QQ host, where closing the login window captures the token.
bool IsQqPage(const QString& locationUrl);

}  // namespace mosaiq
