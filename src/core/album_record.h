#pragma once

#include <QSet>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <vector>

namespace mosaiq {

// One album found by an album-list adapter; one row of the album table.
struct ST_PERLISTRECORD {
    QString title;
    QString albumRef;
    QString coverUrl;
    QString createdText;
    QString extraRef;
    int32_t pictureCount = -1;  // -1: the site gives no count
    int32_t accessFlags = 0;    // bits kAccess*, or a date code when negative
    int32_t index = 0;
    int32_t thumbIndex = -1;
};

inline constexpr int32_t kAccessEncrypted = 1;
inline constexpr int32_t kAccessPrivate = 2;
inline constexpr int32_t kAccessFriends = 4;

// The album list m_records. It owns its records; a record's position equals its index.
// The job threads append while the window reads rows, so access is guarded; records stay
// at their address until the list is cleared.
class AlbumList {
  public:
    // Appends a heap copy with the given (already cleaned) title made unique ignoring case
    // ("%s (%u)"), index = old length, thumbIndex = -1. Returns the new length. With
    // `maxTitleLength` above 0 the unique title fits that many characters: titles that only
    // differ after the cut still name distinct albums (and album folders).
    int Append(const ST_PERLISTRECORD& record, int maxTitleLength = 0);
    // nullptr when index is out of range.
    ST_PERLISTRECORD* At(int index) const;
    int Size() const;
    // Frees every record, last first.
    void Clear();

    // Albums selected for the running download (the "?6" escape).
    std::atomic<int32_t> checkedCount{0};

  private:
    mutable std::shared_mutex m_mutex;
    std::vector<std::unique_ptr<ST_PERLISTRECORD>> m_items;
    QSet<QString> m_foldedTitles;
};

}  // namespace mosaiq
