#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// One album for Instagram account `accountName` (its profile page).
void FetchInstagramAccount(JobState& state, const QString& accountName);
// The posts of record `albumIndex`: the profile page, then twelve posts a page by cursor.
void FetchInstagramPosts(JobState& state, int albumIndex);

}  // namespace mosaiq
