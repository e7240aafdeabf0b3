#pragma once

#include <QImage>
#include <QString>

namespace mosaiq {

inline constexpr int kThumbnailWidth = 113;
inline constexpr int kThumbnailHeight = 120;

// The cache file of record `index`'s cover: "<data>/tmp/<index>.jpg".
QString ThumbnailCacheFile(const QString& dataDir, int index);

// Reads a picture file (JPEG, PNG, GIF, BMP, by content) stretched smoothly to 113 x 120;
// a null image when it does not load.
QImage LoadThumbnail(const QString& file);

}  // namespace mosaiq
