#pragma once

namespace mosaiq {

// Makes every HttpRequest send the shared cookie store's cookies and store the Set-Cookie
// answers in it. Each program calls it once at start; tests that need it call it themselves.
void InstallSharedCookieStore();

}  // namespace mosaiq
