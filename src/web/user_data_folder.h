#pragma once

#include <QString>

namespace mosaiq {

// The per-user folder of the program's own data (cookie store, browser profile):
// "<data home>/Mosaiq", so XDG_DATA_HOME moves it. Fixed to the program name rather than
// the running executable's, so the window, the CLI and tests share one store. Created with
// mode 0700 when missing; ends without a separator.
QString UserDataFolder();
// The same folder's name, without looking at or creating the folder (asked per request).
QString UserDataFolderPath();

}  // namespace mosaiq
