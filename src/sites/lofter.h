#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The latest posts of a Lofter blog (`blog` is its home address ending in "/"), one album
// each, from the blog's archive service.
void FetchLofterPosts(JobState& state, const QString& blog);
// The first picture of the post of record `albumIndex`.
void FetchLofterPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
