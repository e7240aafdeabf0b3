#pragma once

#include <QString>
#include <QStringList>

namespace mosaiq {

// "cookies list [DOMAIN] [--values]": prints what the cookie store holds, one cookie a line
// (name, domain, path, expiry; values only with --values). Returns the exit code.
int RunCookiesCommand(const QStringList& args);

// "--cookies FILE": imports a Netscape cookies.txt into the store before a job, reporting
// each malformed line with its number on stderr. False when the file could not be read.
bool ImportCookiesOption(const QString& path);

}  // namespace mosaiq
