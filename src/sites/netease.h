#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The photo albums of a NetEase user, from the user's home page or one of its album pages.
// Albums the list script does not address are looked up through the album data call.
void FetchNeteaseAlbums(JobState& state, const QString& address);
// The pictures of record `albumIndex`: its photo list script, after the verification
// window for an album known only by its id.
void FetchNeteasePhotos(JobState& state, int albumIndex);

// The photo sets of a user of NetEase's "pp" community.
void FetchNeteasePpAlbums(JobState& state, const QString& address);
// The pictures of one "pp" set, from the picture list script of its page.
void FetchNeteasePpPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
