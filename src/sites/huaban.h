#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// One Huaban board, from its address; the board page stays in m_jobText1 as the picture
// list's first page.
void FetchHuabanBoard(JobState& state, const QString& boardAddress);
// The pins of record `albumIndex`, 20 a page after the first.
void FetchHuabanPins(JobState& state, int albumIndex);

}  // namespace mosaiq
