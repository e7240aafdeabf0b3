#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The posts of Szwego shop `shopId`, one album each; a record carries its post's pictures,
// video and text, so the picture list needs no request.
void FetchSzwegoPosts(JobState& state, const QString& shopId);
// The pictures (or the video) of record `albumIndex`, and its text beside them.
void FetchSzwegoPictures(JobState& state, int albumIndex);

}  // namespace mosaiq
