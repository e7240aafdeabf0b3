#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The albums of QQ group `group`, 36 a page. The interfaces answer a logged-in member only;
// each album's reference keeps the login values its photo list needs.
void FetchQqGroupAlbums(JobState& state, const QString& group);
// The photos of record `albumIndex`, 500 a page.
void FetchQqGroupPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
