#include "core/folder_path.h"

#include <QDir>

namespace mosaiq {

QString WithSeparator(const QString& path) {
    QString native = QDir::toNativeSeparators(path);
    if (!native.isEmpty() && !native.endsWith(QDir::separator())) {
        native += QDir::separator();
    }
    return native;
}

}  // namespace mosaiq
