#pragma once

#include <QString>

#include <optional>

namespace mosaiq {

// The download job's save root: the save-path text (trimmed, made absolute), a separator,
// then `account` and `subDir` (which end with a separator when not empty).
QString SaveRootPath(const QString& savePathText, const QString& account, const QString& subDir);

// Creates every missing folder of `root` from the top down. The first folder that cannot be
// made, or nothing when all exist now.
std::optional<QString> CreateFolders(const QString& root);

}  // namespace mosaiq
