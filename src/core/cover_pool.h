#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace mosaiq {

class Frontend;

// Fetches the preview covers of the album table into the thumbnail cache on a few threads
// of its own, in the order they were asked for, and hands each file to the window
// (ThumbnailReady) as it arrives. The job thread that lists the albums only queues them, so
// listing pages and covers overlap and a slow cover holds up no other.
//
// Covers belong to a listing. A new listing drops the queued covers of the old one; those
// already in flight finish (a request cannot be taken back) but are not handed on, and a
// cover of the new listing waits for an old one writing the same cache file.
class CoverPool {
  public:
    // A handful: covers are small, and the site serving them is the one being listed.
    static constexpr int kConnections = 4;

    CoverPool() = default;
    ~CoverPool() { Close(); }
    CoverPool(const CoverPool&) = delete;
    CoverPool& operator=(const CoverPool&) = delete;

    // Queues the cover of record `index` of the current listing: `file` is removed at once
    // (an earlier list's cover must not stand in for one that fails now), then `address` is
    // fetched into it with itself as Referer.
    void Fetch(Frontend& frontend, int index, const QString& address, const QString& file);
    // Starts a new listing; returns its number.
    uint64_t NewListing();
    // The current listing; ThumbnailReady carries the listing of its cover.
    uint64_t Listing() const { return m_listing.load(); }
    bool IsCurrent(uint64_t listing) const { return m_listing.load() == listing; }
    // Drops the queue and waits for the covers in flight; no cover is handed on afterwards.
    // The owner of the frontend calls it before the frontend goes.
    void Close();
    // Drops the covers still queued; those in flight land when they arrive.
    void DropQueued();
    // Blocks until no cover of the current listing is queued or in flight (true), or until
    // `stop` (polled) returns true (false; nothing is dropped).
    bool WaitIdle(const std::function<bool()>& stop);

  private:
    struct Cover {
        uint64_t listing;
        Frontend* frontend;
        int index;
        QString address;
        QString file;
    };
    void Work();
    void Load(const Cover& cover);
    bool IdleLocked() const;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Cover> m_queue;
    std::set<QString> m_filesInFlight;
    std::multiset<uint64_t> m_listingsInFlight;
    std::atomic<uint64_t> m_listing{1};
    bool m_closing = false;
    std::vector<std::thread> m_threads;
    int m_idleThreads = 0;
};

}  // namespace mosaiq
