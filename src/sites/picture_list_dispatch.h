#pragma once

#include "sites/adapter_table.h"

#include <optional>
#include <vector>

namespace mosaiq {

struct JobState;

// The picture-list adapters of a site type and sub-type, tried in order while the picture
// queue stays empty; nullopt for a site type outside 0 to 20.
std::optional<std::vector<PictureSource>> PictureSourcesFor(int listType, int subType);

// The download job's call for one album: lists the pictures of record `albumIndex` into the
// picture queue. Shows "Error ListType Code." for an unknown m_listType.
void DispatchPictureList(JobState& state, int albumIndex);

}  // namespace mosaiq
