#include "app/thumbnail_fetch.h"

#include "web/http_client.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

namespace mosaiq {

QString ThumbnailCacheFile(const QString& dataDir, int index) {
    return QDir(dataDir).filePath(QStringLiteral("tmp/%1.jpg").arg(index));
}

QImage LoadThumbnail(const QString& file) {
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        return {};
    }
    return image.scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation);
}

QImage FetchThumbnail(const QString& dataDir, int index, const QString& coverUrl) {
    QDir(dataDir).mkpath(QStringLiteral("tmp"));
    const QString file = ThumbnailCacheFile(dataDir, index);
    // Cache names are by position, so an earlier list's cover may lie there.
    QFile::remove(file);
    if (coverUrl.isEmpty()) {
        return {};
    }
    DownloadToFile(coverUrl, QStringLiteral("Referer: %1\r\n").arg(coverUrl), file);
    return LoadThumbnail(file);
}

}  // namespace mosaiq
