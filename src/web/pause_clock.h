#pragma once

#include <chrono>
#include <functional>

namespace mosaiq {

// Every deliberate wait of the program goes through here: the HTTP client's retry delay, the
// workers' one-thread pause and the sites' pauses between pages. Tests install a sleeper that
// records the waits instead of sleeping, so a test costs its work and not the rules' time.
using Sleeper = std::function<void(std::chrono::milliseconds)>;

// Waits `duration` through the installed sleeper (the real clock when none is installed).
void Pause(std::chrono::milliseconds duration);

// Waits `duration` unless `stopped` turns true first (polled while the real clock sleeps;
// an installed sleeper gets the whole duration). False when the wait was cut short.
bool Pause(std::chrono::milliseconds duration, const std::function<bool()>& stopped);

// Installs `sleeper` for every thread and returns the former one; an empty sleeper restores
// real sleeping.
Sleeper InstallSleeper(Sleeper sleeper);

}  // namespace mosaiq
