#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The albums of a 56 user from the album index address `indexAddress`, 20 a page.
void Fetch56Albums(JobState& state, const QString& indexAddress);
// The pictures of record `albumIndex`, page after page.
void Fetch56Photos(JobState& state, int albumIndex);

}  // namespace mosaiq
