#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// One AliExpress item as one album; `input` is the item page address. Sets m_subType to the
// page's form (4: picture list in the page's markup, 5: in its data). The page is kept in
// m_jobText1 for the picture list.
void FetchAliexpressItem(JobState& state, const QString& input);
// The item's main pictures of record `albumIndex`, from the markup form.
void FetchAliexpressPicturesFirstForm(JobState& state, int albumIndex);
// The same from the data form, numbered from 0.
void FetchAliexpressPicturesSecondForm(JobState& state, int albumIndex);

}  // namespace mosaiq
