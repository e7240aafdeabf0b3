#pragma once

#include <QByteArray>
#include <QString>

namespace mosaiq {

// Chromium refuses to run as root with its sandbox on and ends the whole process when the
// first page opens. `flags` (the QTWEBENGINE_CHROMIUM_FLAGS text) with "--no-sandbox" added
// for root, unchanged otherwise.
QByteArray ChromiumFlagsFor(const QByteArray& flags, bool root);

// Puts the flags above into the environment for the effective user. Call before the first
// browser (login window) is made, once per process.
void PrepareLoginBrowser();

// Why the login window's browser cannot start in this process (a text for the user), or
// empty when it can. Checked before a login window is made, since a browser that fails to
// start takes the program down with it.
QString LoginBrowserProblem();

}  // namespace mosaiq
