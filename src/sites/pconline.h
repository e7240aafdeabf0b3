#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The photo albums of a PConline album list: `listAddress` holds "_dk1stp_" where each page
// puts its token "_p<n>_".
void FetchPconlineAlbums(JobState& state, const QString& listAddress);
// The pictures of record `albumIndex`, one page, named "<album title> (<n>)".
void FetchPconlinePhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
