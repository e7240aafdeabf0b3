#pragma once

#include "core/album_record.h"

#include <QString>

namespace mosaiq {

struct JobState;

// QQ Zone albums of the account number `account`. The newer interface pages 48 albums at a
// time; the job runs the older one only when the newer listed nothing. Both leave the hosts
// of the account's route in m_jobText1 to m_jobText3 for the photo lists.
void FetchQzoneAlbums(JobState& state, const QString& account);
void FetchQzoneAlbumsOld(JobState& state, const QString& account);

// The photos of record `albumIndex`. The newer interface also walks the pictures of the mood
// posts for the pseudo-album the album-list job adds; the job runs the older interface when
// the newer queued nothing.
void FetchQzonePhotos(JobState& state, int albumIndex);
void FetchQzonePhotosOld(JobState& state, int albumIndex);

// The pseudo-album of the pictures posted with moods ("说说") of `account`, which the
// album-list job appends; FetchQzonePhotos knows it by its cover mark.
ST_PERLISTRECORD MoodAlbumRecord(const QString& account);

}  // namespace mosaiq
