#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The old site: a user's albums (the address ends with "albums/") or one album
// ("albums/<id>/").
void FetchYupooOldAlbums(JobState& state, const QString& address);
// The pictures of old-site album `albumIndex`: big ones or, through a zoom page each,
// the originals.
void FetchYupooOldPhotos(JobState& state, int albumIndex);

// The new site ("x" sub-domains): a user's gallery, or one album ("albums/<id>?...").
void FetchYupooNewAlbums(JobState& state, const QString& address);
void FetchYupooNewPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
