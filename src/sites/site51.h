#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The photo albums of 51 account `account`, one page.
void FetchAlbums51(JobState& state, const QString& account);
// The photos of record `albumIndex`: the album page names its first photo, whose data view
// lists every photo of the album.
void FetchPhotos51(JobState& state, int albumIndex);

}  // namespace mosaiq
