#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The topic albums of the Tencent Weibo account name `account`; keeps the account's numeric
// id in m_jobText1 for the picture list.
void FetchTweiboAlbums(JobState& state, const QString& account);
// The pictures of the posts of record `albumIndex`, 24 posts a page.
void FetchTweiboPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
