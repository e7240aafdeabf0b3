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

// Downloads the cover into the cache (the folder is made when missing) and loads it. Network
// and disk: never on the UI thread. A cover that cannot be fetched gives a null image, never
// the stale file of an earlier list.
QImage FetchThumbnail(const QString& dataDir, int index, const QString& coverUrl);

}  // namespace mosaiq
