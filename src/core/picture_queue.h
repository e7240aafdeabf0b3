#pragma once

#include <QString>

#include <atomic>
#include <cstdint>
#include <vector>

namespace mosaiq {

class Frontend;

// One picture of the album being downloaded.
struct PictureEntry {
    QString address;     // may hold a fallback address after "\r\n"
    QString fileName;    // name and extension inside `folder`
    QString headerText;  // extra request-header lines, usually one Referer line
};

// The pictures of the album being downloaded. Filled by AddPicture only while no worker
// runs, read by index only while they run, so rows need no lock.
struct PictureQueue {
    std::vector<PictureEntry> entries;
    QString folder;  // album folder, ends with a separator
    Frontend* progressWindow = nullptr;
    int32_t progressControl = 1006;

    void Clear() { entries.clear(); }
    void Append(PictureEntry entry) { entries.push_back(std::move(entry)); }
    int Count() const { return int(entries.size()); }
    const PictureEntry& Row(int i) const { return entries[size_t(i)]; }
};

// Created once, lives until exit.
PictureQueue& g_pictureQueue();

// Download values copied from the site's settings slot when a download job starts.
inline std::atomic<uint32_t> g_threadCount{1};
inline std::atomic<uint32_t> g_timeoutSec{30};
inline std::atomic<uint32_t> g_minSizeK{0};
inline std::atomic<uint32_t> g_maxSizeK{0};
inline std::atomic<int32_t> g_doneCount{0};       // pictures finished by the workers
inline std::atomic<uint8_t> g_stopWorkers{0};     // the user stopped the download
inline std::atomic<uint8_t> g_workersRunning{0};  // 1 while a monitor runs its workers

}  // namespace mosaiq
