#pragma once

#include <QIcon>

namespace mosaiq {

// The program's icon: the installed theme icon "mosaiq", else the same mosaic drawn here.
QIcon AppIcon();

}  // namespace mosaiq
