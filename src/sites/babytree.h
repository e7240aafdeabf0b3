#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The photo albums of Babytree user `userId`, from the album list of the user's home page.
void FetchBabytreeAlbums(JobState& state, const QString& userId);
// The same from the older user page, for users whose home page lists nothing.
void FetchBabytreeAlbumsSecondForm(JobState& state, const QString& userId);
// The photos of record `albumIndex` listed by the first form: each at the size its photo
// page shows, else as the thumbnail.
void FetchBabytreePhotos(JobState& state, int albumIndex);
// The photos of record `albumIndex` listed by the second form.
void FetchBabytreePhotosSecondForm(JobState& state, int albumIndex);

}  // namespace mosaiq
