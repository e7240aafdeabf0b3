#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace mosaiq {

struct PictureQueue;

// The extension the first bytes of a file call for (".png" ...); `hint` when they name no
// known format, then empty.
QString ExtensionForMagic(const QByteArray& head, const QString& hint);

// Renames every queued file that exists to the extension its content calls for (`hint` or
// its own extension when the content is unknown) and stores the new name in the queue. A
// file whose new name is taken keeps its name.
void FixFormats(PictureQueue& queue, const QString& hint);

// Gives the queued files the times now, now - 60 s, now - 120 s ... in queue order, so that
// sorting by time gives the album's order.
void FixOrder(const PictureQueue& queue, int64_t nowSeconds);

// Sets the access and modification times of a file or folder (seconds since 1970). Times of
// 0 or less, and paths that cannot be opened, are left alone.
void SetFileTimes(const QString& path, int64_t seconds);

}  // namespace mosaiq
