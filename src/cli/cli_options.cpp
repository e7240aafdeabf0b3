#include "cli/cli_options.h"

#include "sites/site_types.h"

#include <set>
#include <vector>

namespace mosaiq {

const char kCliUsage[] =
    "Usage: mosaiq-cli list INPUT [--json] [OPTIONS]\n"
    "       mosaiq-cli download INPUT [--albums LIST] [--save DIR] [--json] [OPTIONS]\n"
    "       mosaiq-cli cookies list [DOMAIN] [--values]\n"
    "       mosaiq-cli demo [--save DIR]\n"
    "Download whole photo albums in bulk. INPUT is an account number, a user name or an\n"
    "address of an album, a user or a shop.\n"
    "\n"
    "Commands:\n"
    "  list         list the albums of INPUT (never downloads)\n"
    "  download     list the albums of INPUT and download the chosen ones\n"
    "  cookies      show the cookies the program keeps for the sites\n"
    "  demo         list and download a sample account served on this machine\n"
    "\n"
    "Options:\n"
    "  --albums LIST    albums to download by table number: \"1,3,5-9\" or \"all\" (default)\n"
    "  --save DIR       save folder (default: the last one used, else ~/Pictures/Mosaiq)\n"
    "  --json           one JSON object per line instead of tab-separated text\n"
    "  --site N         site type 0..20 (default: recognised from INPUT, else 0)\n"
    "  --sub N          sub-type of the QQ family (0 QQ Zone, 1 QQ group, 2 Tencent Weibo)\n"
    "  --data-dir DIR   keep soft.dat, the extension ini, log.err and thumbnails in DIR\n"
    "                   (default: ~/.config/Mosaiq and ~/.local/share/Mosaiq; a soft.dat\n"
    "                   in the working directory is used where it is)\n"
    "  --threads N      download threads 1..15 for this run\n"
    "  --cookies FILE   import a Netscape cookies.txt file before the job\n"
    "  --yes, --no      answer every question Yes or No (default No)\n"
    "  --quiet          no status lines\n"
    "  --list-failed    with download: print every picture not saved, with the reason\n"
    "  -h, --help       show this help\n"
    "  -V, --version    show the version\n"
    "\n"
    "Exit status:\n"
    "  0    all albums listed / every picture saved\n"
    "  1    the job could not run, nothing was listed (site not reached, not supported yet,\n"
    "       nothing found), or some pictures were not saved\n"
    "  2    bad command line\n"
    "  130  stopped by Ctrl-C\n";

namespace {

std::optional<int> Number(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

CliParse ParseCliOptions(const QStringList& args) {
    CliParse parse;
    CliOptions& o = parse.options;
    if (args.contains(u"--help") || args.contains(u"-h")) {
        o.command = QStringLiteral("help");
        return parse;
    }
    if (args.contains(u"--version") || args.contains(u"-V")) {
        o.command = QStringLiteral("version");
        return parse;
    }
    QStringList positional;
    auto fail = [&](const QString& error) {
        parse.error = error;
        return parse;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool takesValue = arg == u"--albums" || arg == u"--save" || arg == u"--site" ||
                                arg == u"--sub" || arg == u"--data-dir" || arg == u"--threads" ||
                                arg == u"--cookies";
        if (takesValue && i + 1 >= args.size()) {
            return fail(QStringLiteral("option %1 needs a value").arg(arg));
        }
        const QString value = takesValue ? args[++i] : QString();
        if (arg == u"--json") {
            o.json = true;
        } else if (arg == u"--yes" || arg == u"--no") {
            o.answerYes = arg == u"--yes";
        } else if (arg == u"--quiet") {
            o.quiet = true;
        } else if (arg == u"--list-failed") {
            o.listFailed = true;
        } else if (arg == u"--albums") {
            o.albums = value;
        } else if (arg == u"--save") {
            o.saveDir = value;
        } else if (arg == u"--data-dir") {
            o.dataDir = value;
        } else if (arg == u"--cookies") {
            o.cookiesFile = value;
        } else if (arg == u"--site") {
            if (!(o.site = Number(value, 0, kSiteTypeCount - 1))) {
                return fail(
                    QStringLiteral("--site wants a site type 0..20, not \"%1\"").arg(value));
            }
        } else if (arg == u"--sub") {
            if (!(o.sub = Number(value, 0, 99))) {
                return fail(QStringLiteral("--sub wants a sub-type number, not \"%1\"").arg(value));
            }
        } else if (arg == u"--threads") {
            if (!(o.threads = Number(value, 1, 15))) {
                return fail(QStringLiteral("--threads wants 1..15, not \"%1\"").arg(value));
            }
        } else if (arg.startsWith(u"--")) {
            return fail(QStringLiteral("unknown option %1").arg(arg));
        } else {
            positional.append(arg);
        }
    }
    if (positional.isEmpty()) {
        return fail(QStringLiteral("no command given (list or download)"));
    }
    o.command = positional.takeFirst();
    if (o.command != u"list" && o.command != u"download") {
        return fail(QStringLiteral("unknown command \"%1\"").arg(o.command));
    }
    if (positional.size() != 1 || positional[0].trimmed().isEmpty()) {
        return fail(
            positional.size() > 1
                ? QStringLiteral("%1 takes one INPUT, got %2").arg(o.command).arg(positional.size())
                : QStringLiteral("%1 needs an INPUT (account, user name or address)")
                      .arg(o.command));
    }
    o.input = positional[0];
    if (o.command == u"list" && (o.saveDir || o.albums != u"all" || o.threads || o.listFailed)) {
        return fail(
            QStringLiteral("list does not download: --albums, --save, --threads and "
                           "--list-failed belong to download"));
    }
    QString selectionError;
    if (!ParseAlbumSelection(o.albums, -1, selectionError)) {
        return fail(selectionError);
    }
    return parse;
}

std::optional<std::vector<int>> ParseAlbumSelection(const QString& text, int count,
                                                    QString& error) {
    std::vector<int> indexes;
    if (text.trimmed() == u"all") {
        for (int i = 0; i < count; ++i) {
            indexes.push_back(i);
        }
        return indexes;
    }
    std::set<int> chosen;
    for (const QString& part : text.split(u',')) {
        const QStringList ends = part.trimmed().split(u'-');
        const auto first =
            ends.size() <= 2 ? Number(ends.front().trimmed(), 1, INT_MAX) : std::nullopt;
        const auto last = ends.size() == 2 ? Number(ends.back().trimmed(), 1, INT_MAX) : first;
        if (!first || !last || *last < *first) {
            error = QStringLiteral("--albums wants numbers like \"1,3,5-9\" or \"all\", not \"%1\"")
                        .arg(text);
            return std::nullopt;
        }
        if (count < 0) {
            continue;
        }
        if (*last > count) {
            error = QStringLiteral("album %1 does not exist: %2 albums were listed")
                        .arg(*last)
                        .arg(count);
            return std::nullopt;
        }
        for (int number = *first; number <= *last; ++number) {
            chosen.insert(number - 1);
        }
    }
    return std::vector<int>(chosen.begin(), chosen.end());
}

}  // namespace mosaiq
