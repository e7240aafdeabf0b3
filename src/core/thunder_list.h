#pragma once

#include <QString>

namespace mosaiq {

struct PictureQueue;

// The list file an external download manager imports: every queued address as it was
// queued (a fallback after CR LF thus lands on a line of its own), in GBK, each line ended by
// CR LF. Written anew; false, writing nothing, when the file cannot be made.
bool WriteThunderList(const QString& path, const PictureQueue& queue);

// "%s%s.lst": the album folder (ending with a separator), then the album title, cut so that
// the name and the path fit what the file system takes.
QString ThunderListPath(const QString& albumFolder, const QString& title);

}  // namespace mosaiq
