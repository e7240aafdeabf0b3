#include "web/pause_clock.h"

#include <algorithm>
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

bool Pause(std::chrono::milliseconds duration, const std::function<bool()>& stopped) {
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::milliseconds kPollInterval{100};
    if (const Sleeper sleeper = CurrentSleeper()) {
        sleeper(duration);
        return !stopped();
    }
    const auto end = Clock::now() + duration;
    while (!stopped()) {
        const auto left = end - Clock::now();
        if (left <= Clock::duration::zero()) {
            return true;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(kPollInterval, left));
    }
    return false;
}

Sleeper InstallSleeper(Sleeper sleeper) {
    std::lock_guard lock(g_sleeperMutex);
    std::swap(g_sleeper, sleeper);
    return sleeper;
}

}  // namespace mosaiq
