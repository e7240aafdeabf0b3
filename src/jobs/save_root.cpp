#include "jobs/save_root.h"

#include "core/folder_path.h"

#include <QDir>
#include <QFileInfo>

namespace mosaiq {

QString SaveRootPath(const QString& savePathText, const QString& account, const QString& subDir) {
    return WithSeparator(QDir::cleanPath(QFileInfo(savePathText).absoluteFilePath())) + account +
           subDir;
}

std::optional<QString> CreateFolders(const QString& root) {
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(root));
    QString path;
    const QStringList parts = clean.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path += parts[i];
        if (i + 1 < parts.size() || parts[i].isEmpty()) {
            path += u'/';
        }
        if (parts[i].isEmpty() || parts[i].endsWith(u':')) {
            continue;  // the file-system root or a drive
        }
        const QFileInfo info(path);
        if (info.isDir()) {
            continue;
        }
        if (info.exists() || !QDir().mkdir(path)) {
            return QDir::toNativeSeparators(QDir::cleanPath(path));
        }
    }
    return std::nullopt;
}

}  // namespace mosaiq
