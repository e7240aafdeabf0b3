#include "core/program_folders.h"

#include "core/folder_path.h"
#include "core/job_state.h"
#include "core/settings_record.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace mosaiq {
namespace {

QString UserFolder(QStandardPaths::StandardLocation location) {
    return WithSeparator(
        QDir::cleanPath(QStandardPaths::writableLocation(location) + QStringLiteral("/Mosaiq")));
}

QString Absolute(const QString& folder) {
    return WithSeparator(QDir::cleanPath(QDir(folder).absolutePath()));
}

}  // namespace

ProgramFolders ResolveProgramFolders(const QString& dataDirOption, const QString& workingDir) {
    ProgramFolders folders;
    folders.savePath = UserFolder(QStandardPaths::PicturesLocation);
    if (!dataDirOption.isEmpty()) {
        const QString folder = Absolute(dataDirOption);
        folders.config = folder;
        folders.data = folder;
        folders.cache = folder;
        return folders;
    }
    folders.data = UserFolder(QStandardPaths::GenericDataLocation);
    folders.cache = UserFolder(QStandardPaths::GenericCacheLocation);
    const QString working = Absolute(workingDir);
    if (QFileInfo(working + QString::fromLatin1(kSettingsFileName)).isFile()) {
        folders.config = working;
        folders.notice =
            QStringLiteral("使用工作目录中的设置文件 %1")
                .arg(QDir::toNativeSeparators(working + QString::fromLatin1(kSettingsFileName)));
    } else {
        folders.config = UserFolder(QStandardPaths::GenericConfigLocation);
    }
    for (const QString& folder : {folders.config, folders.data, folders.cache}) {
        QDir().mkpath(folder);
    }
    return folders;
}

void UseProgramFolders(JobState& state, const ProgramFolders& folders) {
    state.m_configDir = folders.config;
    state.m_dataDir = folders.data;
    state.m_cacheDir = folders.cache;
}

QString ConfigFolder(const JobState& state) {
    return state.m_configDir.isEmpty() ? state.m_dataDir : state.m_configDir;
}

QString CacheFolder(const JobState& state) {
    return state.m_cacheDir.isEmpty() ? state.m_dataDir : state.m_cacheDir;
}

}  // namespace mosaiq
