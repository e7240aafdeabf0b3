#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The photo albums of ZOL user `userId`, page by page.
void FetchZolAlbums(JobState& state, const QString& userId);
// The photos of record `albumIndex`, page by page, each at its full size.
void FetchZolAlbumPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
