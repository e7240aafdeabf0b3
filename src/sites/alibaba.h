#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// One Alibaba product as one album; `input` is the product-detail page address. The page is
// kept in m_jobText1 for the picture list.
void FetchAlibabaProduct(JobState& state, const QString& input);
// The product's main pictures of record `albumIndex`.
void FetchAlibabaPictures(JobState& state, int albumIndex);

}  // namespace mosaiq
