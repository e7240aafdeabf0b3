#pragma once

#include <QString>

namespace mosaiq {

// `path` with native separators, ending with one; the empty text stays empty.
QString WithSeparator(const QString& path);

}  // namespace mosaiq
