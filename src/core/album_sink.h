#pragma once

#include "core/album_record.h"

#include <QString>

namespace mosaiq {

struct JobState;

// Longest title the table shows; longer titles are cut when the row is made.
inline constexpr int kMaxTitleLength = 120;

// The adapters' album sink: ignored until start-up finished (m_ready), otherwise appends a
// copy of `record` (title cleaned and made unique) and shows it through AddAlbum.
// Returns the new record's index, or -1 when nothing was appended.
int AppendAndShow(JobState& state, const ST_PERLISTRECORD& record);

// Puts record `index` into the table: cuts its title to 120 characters, applies the list
// filter, and in preview view queues its cover (record 0 makes the "tmp" folder of the data
// folder) on the cover pool, which hands the file to the window with ThumbnailReady.
void AddAlbum(JobState& state, int index);

// The thumbnail cache file of record `index`: "tmp/<index>.jpg" under the data folder.
QString ThumbnailPath(const QString& dataDir, int index);

// Cell texts of the list view.
QString AlbumNumberText(int row);                // "%04d" of the 0-based table row + 1
QString PictureCountText(int32_t pictureCount);  // "%4u", or "未知" for -1
QString AccessText(int32_t accessFlags);         // "加密相册" ... or "%08u" of a date code

}  // namespace mosaiq
