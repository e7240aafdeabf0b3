#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// One Douban album: its address is the album. The first page stays in m_jobText1 for the
// picture list, which then follows the album's next-page links.
void FetchDoubanAlbum(JobState& state, const QString& albumAddress);
// The pictures of record `albumIndex`, page after page.
void FetchDoubanPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
