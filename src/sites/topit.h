#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// A Topit user's albums ("/user/<id>" addresses) or one album.
void FetchTopitAlbums(JobState& state, const QString& address);
// The pictures of album `albumIndex`: the original size, with the large size as fallback.
void FetchTopitPhotos(JobState& state, int albumIndex);

// Primary and fallback size of a Topit picture address, "\r\n" between them.
QString TopitSizes(const QString& address);

}  // namespace mosaiq
