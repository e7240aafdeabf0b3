#pragma once

#include <QImage>
#include <QString>

namespace mosaiq {

// Reads a picture file (JPEG, PNG, GIF, BMP, by content) stretched smoothly to
// width x height; a null image when it does not load.
QImage LoadThumbnail(const QString& file, int width, int height);

}  // namespace mosaiq
