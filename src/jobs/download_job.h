#pragma once

#include "jobs/job_thread.h"
#include "jobs/picture_failures.h"
#include "jobs/site_dispatch.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace mosaiq {

struct JobState;

// What a finished download job did with one album.
struct AlbumDownloadResult {
    int albumIndex = 0;
    QString folder;                     // the album folder the pictures went to
    QStringList files;                  // target paths of the queued pictures, after the format fix
    QString listFile;                   // the list file written instead of downloading, if any
    std::vector<FailedPicture> failed;  // pictures tried and not saved
};

struct DownloadJobResult {
    bool ran = false;      // false: no save path, or its folders could not be made
    int total = 0;         // pictures queued over all albums
    int failed = 0;        // pictures tried and not saved, over all albums
    bool stopped = false;  // the user stopped the job
    std::vector<AlbumDownloadResult> albums;  // albums whose queue was handed on
};

// The download button: a second click while the job runs stops it (DownState::Stopped and
// g_stopWorkers); otherwise the job starts on its own thread. A thread that cannot start
// is told and leaves the command usable again.
JobThread DownloadCommand(JobState& state, const SiteDispatch& dispatch = SiteTableDispatch());

// The job itself, on the calling thread; m_downState must have been set to Running by the caller.
DownloadJobResult RunDownloadJob(JobState& state, const SiteDispatch& dispatch);

// Marker file of an album folder.
inline constexpr char kMarkerFileName[] = "pic.kel";

}  // namespace mosaiq
