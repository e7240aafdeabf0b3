#include "core/cover_pool.h"

#include "core/frontend.h"

#include "web/http_client.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <system_error>

namespace mosaiq {

void CoverPool::Close() {
    m_listing.fetch_add(1);
    std::vector<std::thread> threads;
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
        m_queue.clear();
        threads.swap(m_threads);
    }
    m_changed.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

void CoverPool::Fetch(Frontend& frontend, int index, const QString& address, const QString& file) {
    Cover cover{m_listing.load(), &frontend, index, address, file};
    bool inline_ = false;
    {
        const std::lock_guard lock(m_mutex);
        if (m_closing) {
            return;
        }
        m_queue.push_back(std::move(cover));
        if (m_idleThreads < int(m_queue.size()) && int(m_threads.size()) < kConnections) {
            try {
                m_threads.emplace_back([this] { Work(); });
                ++m_idleThreads;
            } catch (const std::system_error&) {
                // No thread to spare: with none at all, the caller fetches it itself.
                inline_ = m_threads.empty();
            }
        }
        if (inline_) {
            cover = std::move(m_queue.back());
            m_queue.pop_back();
            m_filesInFlight.insert(cover.file);
            m_listingsInFlight.insert(cover.listing);
        }
    }
    if (inline_) {
        Load(cover);
        return;
    }
    m_changed.notify_all();
}

uint64_t CoverPool::NewListing() {
    uint64_t listing = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_queue.clear();
        listing = m_listing.fetch_add(1) + 1;
    }
    m_changed.notify_all();
    return listing;
}

void CoverPool::DropQueued() {
    {
        const std::lock_guard lock(m_mutex);
        m_queue.clear();
    }
    m_changed.notify_all();
}

bool CoverPool::IdleLocked() const {
    const uint64_t listing = m_listing.load();
    for (const Cover& cover : m_queue) {
        if (cover.listing == listing) {
            return false;
        }
    }
    return m_listingsInFlight.count(listing) == 0;
}

bool CoverPool::WaitIdle(const std::function<bool()>& stop) {
    std::unique_lock lock(m_mutex);
    // Stop requests are polled like everywhere else; arrivals wake the wait at once.
    while (!IdleLocked()) {
        if (stop && stop()) {
            return false;
        }
        m_changed.wait_for(lock, std::chrono::milliseconds(100));
    }
    return true;
}

void CoverPool::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        // The first queued cover whose cache file no older fetch is still writing.
        auto next = m_queue.begin();
        while (next != m_queue.end() && m_filesInFlight.count(next->file) != 0) {
            ++next;
        }
        if (next == m_queue.end()) {
            if (m_closing) {
                return;
            }
            m_changed.wait(lock);
            continue;
        }
        Cover cover = std::move(*next);
        m_queue.erase(next);
        m_filesInFlight.insert(cover.file);
        m_listingsInFlight.insert(cover.listing);
        --m_idleThreads;
        lock.unlock();
        Load(cover);
        lock.lock();
        ++m_idleThreads;
    }
}

void CoverPool::Load(const Cover& cover) {
    QFile::remove(cover.file);
    if (!cover.address.isEmpty() && IsCurrent(cover.listing)) {
        DownloadToFile(cover.address, QStringLiteral("Referer: %1").arg(cover.address), cover.file);
        // The window checks the listing again when it shows the picture: a new listing may
        // start between this check and then.
        if (IsCurrent(cover.listing) && QFileInfo(cover.file).size() > 0) {
            cover.frontend->ThumbnailReady(cover.index, cover.file, cover.listing);
        }
    }
    {
        const std::lock_guard lock(m_mutex);
        m_filesInFlight.erase(cover.file);
        m_listingsInFlight.erase(m_listingsInFlight.find(cover.listing));
    }
    m_changed.notify_all();
}

}  // namespace mosaiq
