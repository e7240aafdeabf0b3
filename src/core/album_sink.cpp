#include "core/album_sink.h"

#include "core/program_folders.h"

#include "core/frontend.h"
#include "core/job_state.h"
#include "core/naming.h"

#include <QDir>

#include <new>

namespace mosaiq {

int AppendAndShow(JobState& state, const ST_PERLISTRECORD& record) {
    if (state.m_ready.load() != 1) {
        return -1;
    }
    int length = 0;
    try {
        ST_PERLISTRECORD copy = record;
        SanitizeName(copy.title, kTimeStampFallback, true);
        length = state.m_records.Append(copy, kMaxTitleLength);
    } catch (const std::bad_alloc&) {
        state.frontend->ShowMessage(QStringLiteral("内存分配失败"), QStringLiteral("提示"));
        return -1;
    }
    AddAlbum(state, length - 1);
    return length - 1;
}

QString ThumbnailPath(const QString& dataDir, int index) {
    return dataDir + QStringLiteral("tmp") + QDir::separator() +
           QStringLiteral("%1.jpg").arg(index);
}

void AddAlbum(JobState& state, int index) {
    ST_PERLISTRECORD* record = state.m_records.At(index);
    if (record == nullptr) {
        return;
    }
    if (record->title.size() > kMaxTitleLength) {
        record->title.truncate(kMaxTitleLength);
    }
    if (state.m_thumbMode.load() == 1) {
        if (record->thumbIndex == -1) {
            if (record->index == 0) {
                QDir().mkpath(CacheFolder(state) + QStringLiteral("tmp"));
            }
            // The cover arrives later, through ThumbnailReady; the row is shown now.
            state.m_covers.Fetch(*state.frontend, record->index, record->coverUrl,
                                 ThumbnailPath(CacheFolder(state), record->index));
        }
        state.frontend->AlbumAdded(index);
        return;
    }
    if (!state.m_filterText.isEmpty() &&
        !record->title.contains(state.m_filterText, Qt::CaseSensitive)) {
        return;
    }
    state.frontend->AlbumAdded(index);
}

QString AlbumNumberText(int row) {
    return QStringLiteral("%1").arg(row + 1, 4, 10, QLatin1Char('0'));
}

QString PictureCountText(int32_t pictureCount) {
    if (pictureCount == -1) {
        return QStringLiteral("未知");
    }
    return QStringLiteral("%1").arg(uint32_t(pictureCount), 4);
}

QString AccessText(int32_t accessFlags) {
    if (accessFlags < 0) {
        return QStringLiteral("%1").arg(uint32_t(accessFlags) & 0x7FFFFFFFu, 8, 10,
                                        QLatin1Char('0'));
    }
    if (accessFlags & kAccessEncrypted) {
        return QStringLiteral("加密相册");
    }
    if (accessFlags & kAccessPrivate) {
        return QStringLiteral("私密相册");
    }
    if (accessFlags & kAccessFriends) {
        return QStringLiteral("好友可见");
    }
    return {};
}

}  // namespace mosaiq
