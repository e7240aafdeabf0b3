#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// How the jobs reach the sites: the site table in production; tests and benchmarks put in
// adapters of their own.
struct SiteDispatch {
    // Normalises the trimmed input, lists the albums, sets `singleItem` for one-item inputs.
    void (*listAlbums)(JobState& state, const QString& trimmedInput, bool& singleItem);
    // Queues the pictures of record `albumIndex`.
    void (*listPictures)(JobState& state, int albumIndex);
};

// The site table's dispatch.
SiteDispatch SiteTableDispatch();

}  // namespace mosaiq
