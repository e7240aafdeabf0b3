#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The photo albums of the Hupu user in `input` (a personal-page address), or the one album
// `input` names ("/photo/a...").
void FetchHupuAlbums(JobState& state, const QString& input);
// The photos of record `albumIndex`, page by page.
void FetchHupuPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
