#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The posts (albums) of a moko user or of one of the user's post lists: `input` is the
// user's post-list address, or a list address holding "/category/" or "/new/".
void FetchMokoAlbums(JobState& state, const QString& input);
// The pictures of post `albumIndex`.
void FetchMokoPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
