#pragma once

#include <QString>

namespace mosaiq {

// The clipboard text put into the input box at start-up: trimmed, 1 to 199 characters, and
// looking like an account number or an address; else nothing.
QString ClipboardInput(const QString& clipboard);

// The save folder of a dropped path: a folder itself, or the folder holding a dropped file.
QString DroppedSaveFolder(const QString& path);

// The bundled manual (installed beside the program or in the source tree), empty when absent.
QString ManualPath();

}  // namespace mosaiq
