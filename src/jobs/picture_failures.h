#pragma once

#include <QString>

#include <vector>

namespace mosaiq {

// A queued picture that was tried and not saved.
struct FailedPicture {
    int row = 0;      // queue row
    QString address;  // as queued (a fallback after CR LF included)
    QString target;   // the file it should have become
    QString reason;   // for the user: what came back, or why it could not be written
};

// Bytes of the pictures saved since the last download monitor started, for progress displays.
void ResetSavedBytes();
void AddSavedBytes(qint64 bytes);
qint64 SavedBytes();

// The failures of the album the last download monitor ran, in queue order. The monitor sets
// them as it ends; the download job reads them after waiting for it.
std::vector<FailedPicture> LastAlbumFailures();
void SetLastAlbumFailures(std::vector<FailedPicture> failures);

}  // namespace mosaiq
