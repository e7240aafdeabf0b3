#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace mosaiq {

// What the command line asked for.
struct CliOptions {
    QString command;  // "list", "download", "help", "version"
    QString input;
    bool json = false;
    QString albums = QStringLiteral("all");
    std::optional<QString> saveDir;
    std::optional<int> site;
    std::optional<int> sub;
    std::optional<QString> dataDir;
    std::optional<int> threads;
    bool answerYes = false;
    bool quiet = false;
    std::optional<QString> cookiesFile;
    bool listFailed = false;  // print every picture not saved
};

struct CliParse {
    CliOptions options;
    QString error;  // one line; empty when the command line is sound
};

// Parses the arguments after the program name. --help and --version win over anything.
CliParse ParseCliOptions(const QStringList& args);

// 0-based album indexes of "1,3,5-9" (1-based table numbers) or "all", in table order without
// repeats. nullopt with `error` set for bad syntax or numbers outside 1..count. A negative
// count checks the syntax alone.
std::optional<std::vector<int>> ParseAlbumSelection(const QString& text, int count, QString& error);

extern const char kCliUsage[];

}  // namespace mosaiq
