#pragma once

#include <QStringList>

namespace mosaiq {

// "mosaiq-cli demo [--save DIR]": lists and downloads the bundled sample QQ Zone account from
// a site served on this machine, so the tool can be tried without the internet. Returns the
// exit code of the command line tool.
int RunDemoCommand(const QStringList& args);

}  // namespace mosaiq
