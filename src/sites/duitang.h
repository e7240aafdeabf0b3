#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The albums of Duitang user `userId`, 24 a page; or, when the listing found an album page
// (m_jobText1, its id in m_jobText2), that one album.
void FetchDuitangAlbums(JobState& state, const QString& userId);
// The pictures of record `albumIndex`, 24 a page.
void FetchDuitangPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
