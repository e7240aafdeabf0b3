#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// One Taobao or Tmall item as one album: `input` is the item page address (a shop's search
// address yields nothing). The page is kept in m_jobText1 for the picture list.
void FetchTaobaoItem(JobState& state, const QString& input);
// The item's main pictures of record `albumIndex`.
void FetchTaobaoPictures(JobState& state, int albumIndex);

}  // namespace mosaiq
