#include "app/thumbnail_image.h"

#include <QImageReader>

namespace mosaiq {

QImage LoadThumbnail(const QString& file, int width, int height) {
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        return {};
    }
    return image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace mosaiq
