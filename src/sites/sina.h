#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The photo categories of the Sina blog at `blogAddress`; keeps the blog's user id in
// m_jobText1.
void FetchSinaBlogAlbums(JobState& state, const QString& blogAddress);
// The pictures of category record `albumIndex`, page after page.
void FetchSinaBlogAlbumPhotos(JobState& state, int albumIndex);

// The articles of the article list `listAddress` (cut before its page suffix "_<n>.html").
void FetchSinaBlogArticles(JobState& state, const QString& listAddress);
// The first picture of article record `albumIndex`.
void FetchSinaBlogArticlePhotos(JobState& state, int albumIndex);

// The albums of the Weibo user at `userAddress`, with the login's cookies; keeps the user's
// id in m_jobText1 for the picture list.
void FetchSinaWeiboAlbums(JobState& state, const QString& userAddress);
// The photos of Weibo album record `albumIndex`, 32 a page.
void FetchSinaWeiboPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
