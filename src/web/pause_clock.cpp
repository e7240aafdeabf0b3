#include "web/pause_clock.h"

#include <mutex>
#include <thread>

namespace mosaiq {
namespace {

std::mutex g_sleeperMutex;
Sleeper g_sleeper;

Sleeper CurrentSleeper() {
    std::lock_guard lock(g_sleeperMutex);
    return g_sleeper;
}

}  // namespace

void Pause(std::chrono::milliseconds duration) {
    if (const Sleeper sleeper = CurrentSleeper()) {
        sleeper(duration);
    } else if (duration.count() > 0) {
        std::this_thread::sleep_for(duration);
    }
}

Sleeper InstallSleeper(Sleeper sleeper) {
    std::lock_guard lock(g_sleeperMutex);
    std::swap(g_sleeper, sleeper);
    return sleeper;
}

}  // namespace mosaiq
