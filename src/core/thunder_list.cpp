#include "core/thunder_list.h"

#include "core/picture_queue.h"
#include "web/codepage.h"

#include <QSaveFile>

namespace mosaiq {

bool WriteThunderList(const QString& path, const PictureQueue& queue) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    for (const PictureEntry& entry : queue.entries) {
        file.write(TextToGbk(entry.address) + "\r\n");
    }
    return file.commit();
}

QString ThunderListPath(const QString& albumFolder, const QString& title) {
    return albumFolder + title + QStringLiteral(".lst");
}

}  // namespace mosaiq
