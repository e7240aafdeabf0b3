#include "jobs/picture_failures.h"

#include <atomic>
#include <mutex>

namespace mosaiq {
namespace {

std::mutex g_mutex;
std::vector<FailedPicture> g_failures;
std::atomic<qint64> g_savedBytes{0};

}  // namespace

void ResetSavedBytes() {
    g_savedBytes = 0;
}

void AddSavedBytes(qint64 bytes) {
    g_savedBytes += bytes;
}

qint64 SavedBytes() {
    return g_savedBytes.load();
}

std::vector<FailedPicture> LastAlbumFailures() {
    std::lock_guard lock(g_mutex);
    return g_failures;
}

void SetLastAlbumFailures(std::vector<FailedPicture> failures) {
    std::lock_guard lock(g_mutex);
    g_failures = std::move(failures);
}

}  // namespace mosaiq
