#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The photo albums of PCHome account `account`, page by page.
void FetchPchomeAlbums(JobState& state, const QString& account);
// The photos of record `albumIndex`, page by page.
void FetchPchomePhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
