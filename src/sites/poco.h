#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The works (photo sets) of POCO user `userId`, 18 a page, through the site's signed web API.
void FetchPocoWorks(JobState& state, const QString& userId);
// The pictures of work `albumIndex`, and the work's description file.
void FetchPocoPhotos(JobState& state, int albumIndex);

// The body of the works-list request for `start` (exposed for its tests).
QByteArray PocoWorksListBody(const QString& userId, int start);

}  // namespace mosaiq
