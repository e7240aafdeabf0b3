#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The photo albums of Baidu user `user`: those embedded in the user's page, then the JSON
// list paged by the last album's sign.
void FetchBaiduAlbums(JobState& state, const QString& user);
// The pictures of record `albumIndex`, 100 a page by offset; a non-public album offers the
// verification window once.
void FetchBaiduPhotos(JobState& state, int albumIndex);

// The picture galleries of the Tieba forum `keyword` (as it stands in the forum's address),
// 30 a page. The download reads the keyword from m_jobText1.
void FetchTiebaForumAlbums(JobState& state, const QString& keyword);
// The pictures of gallery record `albumIndex`, 200 a page.
void FetchTiebaForumPhotos(JobState& state, int albumIndex);

// One Tieba thread, from its picture-page address, as a single album.
void FetchTiebaThreadAlbum(JobState& state, const QString& photoPage);
// The pictures of the thread, walked by the last picture seen.
void FetchTiebaThreadPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
