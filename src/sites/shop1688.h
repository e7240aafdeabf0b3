#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// One 1688 offer as one album; `input` is the offer page address (a shop's offer list
// yields nothing). The page is kept in m_jobText1 for the picture list.
void Fetch1688Offer(JobState& state, const QString& input);
// The offer's main pictures of record `albumIndex`.
void Fetch1688Pictures(JobState& state, int albumIndex);

}  // namespace mosaiq
