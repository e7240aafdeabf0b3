#include "cli/demo_command.h"

#include "cli/cli_run.h"
#include "demo/demo_site.h"
#include "demo/scoped_environment.h"

#include <QDir>
#include <QTemporaryDir>

#include <unistd.h>
#include <cstdio>

namespace mosaiq {
namespace {

const char kDemoUsage[] =
    "Usage: mosaiq-cli demo [--save DIR]\n"
    "Lists and downloads a sample QQ Zone account served on this machine (no internet needed).\n"
    "  --save DIR   where the album folders go (default: a new folder under the temp folder)\n";

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

}  // namespace

int RunDemoCommand(const QStringList& args) {
    QString saveDir;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--save" && i + 1 < args.size()) {
            saveDir = args[++i];
        } else {
            std::fputs(kDemoUsage, args[i] == u"--help" ? stdout : stderr);
            return args[i] == u"--help" ? 0 : 2;
        }
    }
    // Settings and cookies of the demo stay apart from the user's own.
    QTemporaryDir work(QDir::temp().filePath(QStringLiteral("mosaiq-demo-XXXXXX")));
    if (!work.isValid()) {
        Print(stderr, QStringLiteral("mosaiq-cli demo: cannot make a work folder\n"));
        return 1;
    }
    const QDir workDir(work.path());
    workDir.mkpath(QStringLiteral("data"));
    workDir.mkpath(QStringLiteral("home"));
    const ScopedEnvironment home("XDG_DATA_HOME",
                                 QFile::encodeName(workDir.filePath(QStringLiteral("home"))));
    if (saveDir.isEmpty()) {
        work.setAutoRemove(false);
        saveDir = workDir.filePath(QStringLiteral("save"));
    }
    if (!QDir().mkpath(saveDir)) {
        Print(stderr, QStringLiteral("mosaiq-cli demo: cannot make %1\n").arg(saveDir));
        return 1;
    }
    saveDir = QDir(saveDir).absolutePath();

    DemoSite site;
    QString error;
    if (!site.Start(error)) {
        Print(stderr, QStringLiteral("mosaiq-cli demo: %1\n").arg(error));
        return 1;
    }
    CliStreams streams;
    streams.errIsTerminal = isatty(fileno(stderr)) != 0;
    const QStringList common{
        QStringLiteral("--site"),     QStringLiteral("0"),
        QStringLiteral("--sub"),      QStringLiteral("0"),
        QStringLiteral("--data-dir"), workDir.filePath(QStringLiteral("data"))};
    Print(stdout, QStringLiteral("Sample QQ Zone account %1, served on 127.0.0.1:\n")
                      .arg(DemoSite::Account()));
    int code = RunCli(QStringList{QStringLiteral("list"), DemoSite::Account()} + common, streams);
    if (code != 0) {
        return code;
    }
    Print(stdout, QStringLiteral("\nDownloading every album (the password album stays locked: "
                                 "the command line cannot open the login window)...\n"));
    code = RunCli(QStringList{QStringLiteral("download"), DemoSite::Account(),
                              QStringLiteral("--save"), saveDir, QStringLiteral("--no")} +
                      common,
                  streams);
    if (code == 0) {
        Print(stdout,
              QStringLiteral("\nThe pictures are in %1\n").arg(QDir::toNativeSeparators(saveDir)));
    }
    return code;
}

}  // namespace mosaiq
