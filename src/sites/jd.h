#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// One JD product as one album; `input` is the product page address. The page is kept in
// m_jobText1 for the picture list.
void FetchJdProduct(JobState& state, const QString& input);
// The gallery of record `albumIndex`: of every colour or size variant when the "京东" setting
// asks for it (each variant's page fetched), else of the kept page only.
void FetchJdPictures(JobState& state, int albumIndex);

}  // namespace mosaiq
