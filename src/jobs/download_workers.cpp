#include "jobs/download_workers.h"

#include "core/frontend.h"
#include "core/naming.h"
#include "core/picture_queue.h"
#include "jobs/picture_failures.h"
#include "sites/site_types.h"
#include "web/http_client.h"
#include "web/pause_clock.h"

#include <QLoggingCategory>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace mosaiq {
namespace {

Q_LOGGING_CATEGORY(lcWorkers, "mosaiq.workers", QtInfoMsg)

using Clock = std::chrono::steady_clock;

constexpr int kOneThreadPauseMs = 2000;
constexpr auto kStopPollInterval = std::chrono::milliseconds(100);
constexpr int kIdle = -1;

// One album's run. Workers hold it by value of the queue rows, so a worker left running
// after a stop never reads the queue the next album fills.
struct WorkerRun {
    std::vector<PictureEntry> entries;
    QString folder;
    uint32_t timeoutSec = 0;
    uint32_t minSizeK = 0;
    uint32_t maxSizeK = 0;

    std::mutex mutex;
    // One per slot: handing a row to one slot wakes that slot only.
    std::unique_ptr<std::condition_variable[]> rowAssigned;
    std::condition_variable rowFinished;
    std::vector<int> rowOfSlot;     // kIdle when the slot waits for a row
    std::deque<int> rowsLeft;       // in table order
    std::deque<int> finishedSlots;  // slots waiting for a row from the monitor, oldest first
    // Several slots take the next row themselves as they finish, so a connection never waits
    // for the monitor to be scheduled; one slot gets its rows from the monitor, which pauses
    // between pictures.
    bool slotsTakeRows = false;
    bool quit = false;
    std::atomic<int> done{0};
    // Set by a stop: requests under way end, and none of them commits its file.
    std::atomic<bool> aborted{false};
    std::vector<FailedPicture> failures;
};

QString WithScheme(QString address) {
    if (!address.startsWith(u"http", Qt::CaseInsensitive)) {
        address.prepend(u"http:");
    }
    return address;
}

// Why a picture's file was not written: what the server sent back, or nothing at all.
QString FailureReason(const HttpResponse& response) {
    if (!response.fileProblem.isEmpty()) {
        return response.fileProblem;
    }
    const QString statusLine = response.rawHeaders.section(QStringLiteral("\r\n"), 0, 0);
    return statusLine.isEmpty() ? QStringLiteral("服务器无响应") : statusLine;
}

struct PictureOutcome {
    QString failure;  // empty when the picture was saved
    qint64 savedBytes = 0;
};

PictureOutcome Outcome(const HttpResponse& response) {
    if (response.savedToFile) {
        return {QString(), response.bodyLength};
    }
    return {FailureReason(response), 0};
}

PictureOutcome FetchPicture(const WorkerRun& run, const PictureEntry& entry) {
    QString address = entry.address;
    QString fallback;
    const qsizetype lineBreak = address.indexOf(u"\r\n");
    if (lineBreak >= 0) {
        fallback = address.mid(lineBreak + 2);
        address.truncate(lineBreak);
    }
    RequestOptions options(WithScheme(address), PictureTargetPath(run.folder, entry.fileName),
                           20000);
    options.readTimeoutMs = run.timeoutSec * 1000;
    options.headers = entry.headerText;
    options.minSizeKb = int32_t(run.minSizeK);
    options.maxSizeKb = int32_t(run.maxSizeK);
    options.attempts = 2;
    options.retryDelaySeconds = 1;
    options.abort = &run.aborted;
    HttpResponse response;
    HttpRequest(response, options, UseCache | NoReload);
    if (fallback.isEmpty() || run.aborted.load()) {
        return Outcome(response);
    }
    if (!response.savedToFile || ShortBodyMeansMissing(fallback, response.bodyLength)) {
        options.url = WithScheme(fallback);
        HttpRequest(response, options, UseCache | NoReload);
    }
    return Outcome(response);
}

bool StopRequested() {
    return g_stopWorkers.load() != 0;
}

// One slot: fetches the rows it is handed or takes until told to quit. The thread (and its
// connection) is kept from row to row.
void SlotLoop(std::shared_ptr<WorkerRun> run, int slot) {
    std::unique_lock lock(run->mutex);
    for (;;) {
        run->rowAssigned[size_t(slot)].wait(
            lock, [&] { return run->quit || run->rowOfSlot[slot] != kIdle; });
        const int row = run->rowOfSlot[slot];
        if (row == kIdle) {
            return;
        }
        lock.unlock();
        const PictureEntry& entry = run->entries[size_t(row)];
        const PictureOutcome outcome = FetchPicture(*run, entry);
        AddSavedBytes(outcome.savedBytes);
        run->done.fetch_add(1);
        qCDebug(lcWorkers, "Close Handle:%d", slot);
        lock.lock();
        // A picture cut off by the user's stop is not a failure to report.
        if (!outcome.failure.isEmpty() && !run->aborted.load()) {
            run->failures.push_back({row, entry.address,
                                     PictureTargetPath(run->folder, entry.fileName),
                                     outcome.failure});
        }
        run->rowOfSlot[slot] = kIdle;
        if (run->slotsTakeRows && !run->rowsLeft.empty() && !run->aborted.load() &&
            !StopRequested()) {
            // The monitor is not woken for this: it shows progress on its own polls.
            run->rowOfSlot[slot] = run->rowsLeft.front();
            run->rowsLeft.pop_front();
            continue;
        }
        run->finishedSlots.push_back(slot);
        lock.unlock();
        run->rowFinished.notify_one();
        lock.lock();
    }
}

void WakeSlots(WorkerRun& run) {
    for (size_t slot = 0; slot < run.rowOfSlot.size(); ++slot) {
        run.rowAssigned[slot].notify_one();
    }
}

// The pause between two pictures of a one-thread download; a stop cuts it short.
void PauseBetweenPictures() {
    Pause(std::chrono::milliseconds(kOneThreadPauseMs), StopRequested);
}

void ShowProgress(const PictureQueue& queue, int done, int total) {
    if (queue.progressWindow != nullptr) {
        queue.progressWindow->SetStatusText(
            StatusLine(queue.progressControl),
            QStringLiteral("已下载%1/%2......").arg(done).arg(total));
    }
}

}  // namespace

JobThread DownProc() {
    g_stopWorkers = 0;
    return JobThread(&DownPicFunc);
}

void DownPicFunc() {
    const PictureQueue& queue = g_pictureQueue();
    g_doneCount = 0;
    SetLastAlbumFailures({});
    ResetSavedBytes();
    const int total = queue.Count();
    const uint32_t threadCount = g_threadCount.load();
    const int slotCount = int(std::min<uint32_t>(threadCount, uint32_t(total)));
    if (slotCount == 0) {
        return;
    }
    g_workersRunning = 1;
    const auto start = Clock::now();

    auto run = std::make_shared<WorkerRun>();
    run->entries = queue.entries;
    run->folder = queue.folder;
    run->timeoutSec = g_timeoutSec.load();
    run->minSizeK = g_minSizeK.load();
    run->maxSizeK = g_maxSizeK.load();
    run->rowOfSlot.assign(size_t(slotCount), kIdle);
    run->rowAssigned = std::make_unique<std::condition_variable[]>(size_t(slotCount));
    run->slotsTakeRows = threadCount > 1;
    std::deque<int>& rowsLeft = run->rowsLeft;
    for (int row = 0; row < total; ++row) {
        rowsLeft.push_back(row);
    }
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(run->mutex);
        for (int slot = 0; slot < slotCount; ++slot) {
            try {
                threads.emplace_back(SlotLoop, run, slot);
            } catch (const std::system_error&) {
                continue;  // the slot stays empty; the others take its rows
            }
            run->rowOfSlot[size_t(slot)] = rowsLeft.front();
            rowsLeft.pop_front();
        }
    }
    WakeSlots(*run);

    bool stopped = threads.empty();
    int lastShown = 0;  // "0/N" is never shown
    for (bool running = !stopped; running;) {
        std::unique_lock lock(run->mutex);
        // Woken when a slot has no row to go on with, else every poll interval to look for
        // a stop and show progress.
        run->rowFinished.wait_for(lock, kStopPollInterval,
                                  [&] { return !run->finishedSlots.empty(); });
        if (StopRequested()) {
            stopped = true;
            break;
        }
        while (!run->finishedSlots.empty()) {
            const int slot = run->finishedSlots.front();
            run->finishedSlots.pop_front();
            if (rowsLeft.empty()) {
                continue;
            }
            if (threadCount == 1) {
                lock.unlock();
                PauseBetweenPictures();
                lock.lock();
                if (StopRequested()) {
                    break;  // a stop during the pause starts no further picture
                }
            }
            run->rowOfSlot[size_t(slot)] = rowsLeft.front();
            rowsLeft.pop_front();
            run->rowAssigned[size_t(slot)].notify_one();
        }
        lock.unlock();
        const int done = run->done.load();
        g_doneCount = done;
        if (done >= total) {
            running = false;
        }
        if (done != lastShown) {
            ShowProgress(queue, done, total);
            lastShown = done;
        }
    }

    if (stopped) {
        run->aborted = true;
    }
    {
        std::lock_guard lock(run->mutex);
        run->quit = true;
    }
    WakeSlots(*run);
    // After a stop the busy slots' transfers are cut off: they end within a progress poll of
    // the HTTP client, and no worker outlives the job to write a file or reach a server.
    for (std::thread& thread : threads) {
        thread.join();
    }
    {
        std::lock_guard lock(run->mutex);
        std::sort(run->failures.begin(), run->failures.end(),
                  [](const FailedPicture& a, const FailedPicture& b) { return a.row < b.row; });
        SetLastAlbumFailures(run->failures);
    }
    qCDebug(lcWorkers, "OK");
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start);
    if (queue.progressWindow != nullptr) {
        queue.progressWindow->AlbumDownloadFinished(int(elapsed.count()), total);
    }
    g_workersRunning = 0;
}

}  // namespace mosaiq
