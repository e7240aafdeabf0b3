#include "core/thunder_list.h"

#include "core/naming.h"
#include "core/picture_queue.h"
#include "web/codepage.h"

#include <QSaveFile>

#include <algorithm>

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
    const QString extension = QStringLiteral(".lst");
    const int room = std::min(kMaxNameSize, kMaxPathSize - NameSize(albumFolder));
    QString name = CutToNameSize(title, room - NameSize(extension));
    // The cut may leave a trailing blank or dot.
    MakeNameSafe(name);
    return albumFolder + name + extension;
}

}  // namespace mosaiq
