#include "cli/cli_frontend.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace mosaiq::test {
namespace {

QString Printed(const std::function<void(CliFrontend&)>& call) {
    std::FILE* err = std::tmpfile();
    CliFrontend frontend(err, true, false, false);
    call(frontend);
    std::rewind(err);
    QByteArray bytes;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, err)) > 0;) {
        bytes.append(buffer, qsizetype(n));
    }
    std::fclose(err);
    return QString::fromUtf8(bytes);
}

TEST(CliFrontend, SiteTextsCannotDriveTheTerminal) {
    const QString hostile = QStringLiteral("a\x1b]0;owned\x07 b\x1b[2J c\r\nd\re\x7f\u009b");
    for (const auto& call : std::vector<std::function<void(CliFrontend&)>>{
             [&](CliFrontend& f) { f.ShowMessage(hostile, QStringLiteral("提示")); },
             [&](CliFrontend& f) { f.AskYesNo(hostile, QStringLiteral("提示")); },
             [&](CliFrontend& f) { f.SetStatusText(StatusLine::Main, hostile); },
             [&](CliFrontend& f) { f.OpenLoginWindow(hostile, 0); }}) {
        const QString printed = Printed(call);
        EXPECT_FALSE(printed.contains(QChar(0x1b))) << printed.toStdString();
        EXPECT_FALSE(printed.contains(QChar(0x07)));
        EXPECT_FALSE(printed.contains(u'\r'));
        EXPECT_FALSE(printed.contains(QChar(0x9b)));
        EXPECT_TRUE(printed.contains(QStringLiteral("a?]0;owned? b?[2J c")));
    }
}

TEST(CliFrontend, LineBreaksStayLineBreaks) {
    EXPECT_EQ(TerminalSafe(QStringLiteral("1\r\n2\r3\n4\t5")), QStringLiteral("1\n2\n3\n4?5"));
}

}  // namespace
}  // namespace mosaiq::test
