#include "app/thumbnail_fetch.h"

#include <QDir>
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

}  // namespace mosaiq
