#include "core/album_record.h"

#include "core/naming.h"

#include <mutex>

namespace mosaiq {

namespace {

QString Fitted(const QString& title, int maxLength) {
    return maxLength > 0 && title.size() > maxLength ? CutAtCharacter(title, maxLength) : title;
}

}  // namespace

int AlbumList::Append(const ST_PERLISTRECORD& record, int maxTitleLength) {
    auto copy = std::make_unique<ST_PERLISTRECORD>(record);
    std::unique_lock lock(m_mutex);
    const QString base = copy->title;
    copy->title = Fitted(base, maxTitleLength);
    for (unsigned counter = 1; m_foldedTitles.contains(copy->title.toCaseFolded()); ++counter) {
        const QString suffix = QStringLiteral(" (%1)").arg(counter);
        copy->title = Fitted(base, maxTitleLength - int(suffix.size())) + suffix;
    }
    m_foldedTitles.insert(copy->title.toCaseFolded());
    copy->index = int32_t(m_items.size());
    copy->thumbIndex = -1;
    m_items.push_back(std::move(copy));
    return int(m_items.size());
}

ST_PERLISTRECORD* AlbumList::At(int index) const {
    std::shared_lock lock(m_mutex);
    if (index < 0 || size_t(index) >= m_items.size()) {
        return nullptr;
    }
    return m_items[size_t(index)].get();
}

int AlbumList::Size() const {
    std::shared_lock lock(m_mutex);
    return int(m_items.size());
}

void AlbumList::Clear() {
    std::unique_lock lock(m_mutex);
    while (!m_items.empty()) {
        m_items.pop_back();
    }
    m_foldedTitles.clear();
}

}  // namespace mosaiq
