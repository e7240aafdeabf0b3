#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// Album lists: of a user id (new layout, classic) or one album address holding "/album-"
// (new layout when it holds "/v7", else classic); of a public page id; the posts of a zhan
// site, one album each.
void FetchRenrenNewLayoutAlbums(JobState& state, const QString& input);
void FetchRenrenClassicAlbums(JobState& state, const QString& input);
void FetchRenrenPublicPageAlbums(JobState& state, const QString& pageId);
void FetchRenrenZhanPosts(JobState& state, const QString& siteAddress);

// Picture lists of record `albumIndex`, tried in this order while none queued a picture:
// the new layout's pages, the classic pages, then the photo viewer picture by picture.
void FetchRenrenNewLayoutPhotos(JobState& state, int albumIndex);
void FetchRenrenClassicPhotos(JobState& state, int albumIndex);
void FetchRenrenViewerWalk(JobState& state, int albumIndex);
// The picture of one zhan post.
void FetchRenrenZhanPhotos(JobState& state, int albumIndex);

}  // namespace mosaiq
