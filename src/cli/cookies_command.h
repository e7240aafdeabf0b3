#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

namespace mosaiq {

// "cookies list [DOMAIN] [--values]": prints what the cookie store holds, one cookie a line
// (name, domain, path, expiry; values only with --values) to `out`, the summary to `err`.
// Returns the exit code.
int RunCookiesCommand(const QStringList& args, std::FILE* out, std::FILE* err);

// Says on `err` what could not be read from the cookie store's file, if anything.
void ReportCookieStoreProblems(std::FILE* err);

// "--cookies FILE": imports a Netscape cookies.txt into the store before a job, reporting
// each malformed line with its number on `err`. False when the file could not be read.
bool ImportCookiesOption(const QString& path, std::FILE* err);

}  // namespace mosaiq
