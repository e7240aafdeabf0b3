#pragma once

#include <QString>

#include <functional>

namespace mosaiq::test {

// The one QApplication of a GUI test run, made ready for Qt WebEngine as the program does
// (offscreen). Call before creating any widget.
void EnsureGuiApplication();

// Runs the event loop until `done` holds or `limitMs` passes; returns `done()`.
bool ProcessEventsUntil(const std::function<bool()>& done, int limitMs = 20000);

}  // namespace mosaiq::test
