#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// One ZOL product as one album; `input` is the product's picture page address. The page is
// kept in m_jobText1 for the picture list.
void FetchZolProduct(JobState& state, const QString& input);
// Every picture of the kept page, described by the section it stands in.
void FetchZolProductPictures(JobState& state, int albumIndex);

}  // namespace mosaiq
