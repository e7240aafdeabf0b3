#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// Where the program keeps its own files, each folder ending with a separator.
struct ProgramFolders {
    QString config;    // "soft.dat", "下载器扩展设置.ini"
    QString data;      // "log.err", "tb.txt", "Q2.txt"
    QString cache;     // the thumbnails ("tmp/")
    QString savePath;  // proposed save folder; made only when a download uses it
    // Said once at start-up: a "soft.dat" found in the working directory is used.
    QString notice;
};

// The folders of a run. `dataDirOption` (the --data-dir option) puts all of them there, as a
// portable copy would have it. Otherwise a "soft.dat" in `workingDir` (carried over from an
// older copy) keeps being used there; else the user's folders (~/.config/Mosaiq/,
// ~/.local/share/Mosaiq/, ~/.cache/Mosaiq/). The proposed save folder is the user's Pictures
// folder + "Mosaiq". Makes the config, data and cache folders.
ProgramFolders ResolveProgramFolders(const QString& dataDirOption, const QString& workingDir);

// Puts the folders into the job state.
void UseProgramFolders(JobState& state, const ProgramFolders& folders);

// The folders the jobs use: the config and cache folders, or the data folder where a state
// was given only that.
QString ConfigFolder(const JobState& state);
QString CacheFolder(const JobState& state);

}  // namespace mosaiq
