#include "web/user_data_folder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace mosaiq {

QString UserDataFolderPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Mosaiq");
}

QString UserDataFolder() {
    const QString folder = UserDataFolderPath();
    if (!QDir(folder).exists() && QDir().mkpath(folder)) {
        // The folder holds login cookies: readable by the user only.
        QFile::setPermissions(
            folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return folder;
}

}  // namespace mosaiq
