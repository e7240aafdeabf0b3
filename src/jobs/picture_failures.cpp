#include "jobs/picture_failures.h"

#include <mutex>

namespace mosaiq {
namespace {

std::mutex g_mutex;
std::vector<FailedPicture> g_failures;

}  // namespace

std::vector<FailedPicture> LastAlbumFailures() {
    std::lock_guard lock(g_mutex);
    return g_failures;
}

void SetLastAlbumFailures(std::vector<FailedPicture> failures) {
    std::lock_guard lock(g_mutex);
    g_failures = std::move(failures);
}

}  // namespace mosaiq
