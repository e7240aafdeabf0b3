#pragma once

#include "core/album_record.h"

#include <QString>

#include <optional>

namespace mosaiq {

struct JobState;

// The adapters' side of the album table, the picture queue and the user, each answering
// whether the adapter should go on.

// Hands an album to the table; false when the user asked the list job to stop.
bool ListAlbum(JobState& state, const ST_PERLISTRECORD& record);

// Queues a picture of album `albumIndex` (AddPicture); false when the download stopped or
// the album ended early. `extra` is the "?B" text, when the site has one.
bool QueuePicture(JobState& state, const QString& address, const QString& description,
                  const QString& headerText, int albumIndex,
                  const std::optional<QString>& extra = std::nullopt);

// Message box with the caption "提示".
void Tell(JobState& state, const QString& text);
// Tells that the page at `address` could not be read (failed, or empty), so that a listing that
// found nothing because the site was not reached does not pass for an empty one.
void TellUnreachable(JobState& state, const QString& address);
// Yes/No question with the caption "提示"; true for Yes.
bool Ask(JobState& state, const QString& question);
// Opens the login window on `address` and waits until it is closed.
void OpenLogin(JobState& state, const QString& address, int autoCloseSeconds = 0);

}  // namespace mosaiq
