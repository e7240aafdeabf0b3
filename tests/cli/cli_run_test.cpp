#include "cli/cli_run.h"

#include "cli/cli_frontend.h"
#include "jobs/job_fixture.h"
#include "sites/album_list_dispatch.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace mosaiq::test {
namespace {

class CliRunTest : public JobTest {
  protected:
    struct Run {
        int code;
        QString out;
        QString err;
    };

    Run Cli(QStringList args) {
        args << "--data-dir" << dataDir();
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const int code = RunCli(args, {out, err, false}, FixtureDispatch());
        return {code, ReadBack(out), ReadBack(err)};
    }

    static QString ReadBack(std::FILE* file) {
        std::rewind(file);
        QByteArray bytes;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            bytes.append(buffer, qsizetype(n));
        }
        std::fclose(file);
        return QString::fromUtf8(bytes);
    }
};

TEST_F(CliRunTest, ListPrintsOneLinePerAlbum) {
    AddAlbum("A", 3);
    AddAlbum("B", -1);
    const Run text = Cli({"list", "12345"});
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(text.out, "0001\tA\t   3\t\tref-A\n0002\tB\t未知\t\tref-B\n");
    EXPECT_TRUE(text.err.contains("获取相册列表完成，共2个"));

    const Run json = Cli({"list", "12345", "--json", "--quiet"});
    const QStringList lines = json.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QJsonObject second = QJsonDocument::fromJson(lines[1].toUtf8()).object();
    EXPECT_EQ(second["index"].toInt(), 1);
    EXPECT_EQ(second["title"].toString(), "B");
    EXPECT_EQ(second["pictureCount"].toInt(), -1);
    EXPECT_EQ(second["albumRef"].toString(), "ref-B");
    EXPECT_TRUE(json.err.isEmpty());
    EXPECT_TRUE(server.requests().empty());  // list never downloads
}

TEST_F(CliRunTest, DownloadFetchesTheChosenAlbums) {
    AddAlbum("A", 2);
    AddAlbum("B", 2);
    AddAlbum("C", 1);
    const QString save = saveDir() + "out";
    const Run run =
        Cli({"download", "12345", "--albums", "2-3", "--save", save, "--json", "--threads", "1"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QJsonObject first = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    EXPECT_EQ(first["title"].toString(), "B");
    EXPECT_EQ(first["queued"].toInt(), 2);
    EXPECT_EQ(first["saved"].toInt(), 2);
    EXPECT_EQ(first["folder"].toString(), QDir::toNativeSeparators(save + "/B/"));
    EXPECT_EQ(server.Count(kPictureHost, "/A/1.jpg"), 0);
    EXPECT_TRUE(QFileInfo::exists(save + "/C/p1.jpg"));
}

TEST_F(CliRunTest, BadCommandLinesAreUsageErrors) {
    const QStringList cases[] = {
        {},
        {"fetch", "x"},
        {"list"},
        {"list", "a", "b"},
        {"list", "x", "--save", "d"},
        {"download", "x", "--threads", "0"},
        {"download", "x", "--site", "21"},
        {"download", "x", "--albums", "3-1"},
        {"download", "x", "--bogus"},
        {"download", "x", "--save"},
    };
    for (const QStringList& args : cases) {
        const Run run = Cli(args);
        EXPECT_EQ(run.code, 2) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
    EXPECT_EQ(g_fixtureSite().listCalls, 0);
}

TEST_F(CliRunTest, JobsThatCannotRunExitWithOne) {
    AddAlbum("A", 1);
    QFile blocker(saveDir() + "file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Run badSave = Cli({"download", "12345", "--save", saveDir() + "file/sub"});
    EXPECT_EQ(badSave.code, 1);
    EXPECT_TRUE(badSave.err.contains("请检测设置的保存路径是否有误"));
    const Run missingAlbum = Cli({"download", "12345", "--albums", "4"});
    EXPECT_EQ(missingAlbum.code, 1);
    EXPECT_TRUE(missingAlbum.err.contains("album 4 does not exist"));
}

// Failed pictures, Ctrl-C and a site type without adapters all used to end with status 0.
TEST_F(CliRunTest, ExitStatusSaysWhetherEverythingWasSaved) {
    FixtureSite::Album album{FixtureRecord("A", 2), {}};
    Reply picture;
    picture.body = "JPEGDATA";
    Reply missing;
    missing.status = 404;
    server.Route(kPictureHost, "/ok.jpg", picture);
    server.Route(kPictureHost, "/gone.jpg", missing);
    album.pictures = {"http://img.fixture.test/ok.jpg", "http://img.fixture.test/gone.jpg"};
    g_fixtureSite().albums.push_back(album);

    const Run failed = Cli({"download", "12345", "--list-failed"});
    EXPECT_EQ(failed.code, kExitFailed);
    const QStringList out = failed.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 2) << failed.out.toStdString();
    EXPECT_TRUE(out[0].contains("\t1/2 saved, 1 failed\t")) << out[0].toStdString();
    EXPECT_TRUE(out[1].startsWith("failed\thttp://img.fixture.test/gone.jpg\t"))
        << out[1].toStdString();
    EXPECT_TRUE(out[1].contains("404")) << out[1].toStdString();
    EXPECT_TRUE(failed.err.contains("1 of 2 pictures saved, 1 failed")) << failed.err.toStdString();
    EXPECT_TRUE(failed.err.contains("下载完毕，1张图片下载失败"));

    // Ctrl-C while listing.
    g_fixtureSite().afterAlbum = [](JobState&, int) { StopCliJob(); };
    const Run interrupted = Cli({"download", "12345"});
    EXPECT_EQ(interrupted.code, kExitInterrupted);
    g_fixtureSite().afterAlbum = nullptr;

    g_fixtureSite().albums.clear();
    const Run empty = Cli({"list", "12345"});
    EXPECT_EQ(empty.code, kExitFailed);
    EXPECT_TRUE(empty.err.endsWith("error: no album was listed\n")) << empty.err.toStdString();
}

// Listing an album's pictures printed one status line per picture, and only the last album
// folder was named.
TEST_F(CliRunTest, StatusIsOneLinePerAlbumAndEveryFolderIsNamed) {
    AddAlbum("A", 3);
    AddAlbum("B", 2);
    const Run run = Cli({"download", "12345"});
    EXPECT_EQ(run.code, kExitOk) << run.err.toStdString();
    const QStringList counts = run.err.split('\n').filter("张图片信息");
    EXPECT_EQ(counts, (QStringList{"已获取到3张图片信息", "已获取到2张图片信息"}));
    const QString save = homeDir("Pictures") + "/Mosaiq/";
    EXPECT_TRUE(run.err.contains("Saved in " + save + "A/")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Saved in " + save + "B/")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("5 of 5 pictures saved, 0 failed"));
}

TEST(CliProgressBar, ShowsCountBytesRateAndTimeLeft) {
    struct Case {
        int done, total;
        qint64 bytes, elapsedMs;
        const char* text;
    };
    const Case cases[] = {
        {0, 4, 0, 0, "[                              ] 0/4  0 B"},
        {1, 4, 1536, 2000, "[#######                       ] 1/4  1.5 KB  768 B/s  0:06 left"},
        {2, 2, 3 << 20, 1000, "[##############################] 2/2  3.0 MB  3.0 MB/s"},
        {1, 100, 1000, 40000,
         "[                              ] 1/100  1000 B  25 B/s  1:06:00 left"},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(ProgressBarText(k.done, k.total, k.bytes, k.elapsedMs), QString(k.text));
    }
}

// Every "mosaiq-cli list" used to drop a soft.dat where it ran.
TEST_F(CliRunTest, WithoutDataDirTheSettingsGoToTheUsersConfigFolder) {
    AddAlbum("A", 1);
    const QString working = root() + "/working";
    ASSERT_TRUE(QDir().mkpath(working));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(working));
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int code = RunCli({"list", "12345", "--quiet"}, {out, err, false}, FixtureDispatch());
    QDir::setCurrent(before);
    ReadBack(out);
    ReadBack(err);
    EXPECT_EQ(code, kExitOk);
    EXPECT_TRUE(QDir(working).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(homeDir("config") + "/Mosaiq/soft.dat"));
}

// What the site table's dispatch does for a site type whose adapters are not built.
void ListUnsupported(JobState& state, const QString&, bool&) {
    state.frontend->ShowMessage(QString::fromUtf16(kNotSupportedYet), QStringLiteral("提示"));
}

TEST_F(CliRunTest, ASiteTypeWithoutAdaptersIsAnError) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const SiteDispatch unsupported{&ListUnsupported, nullptr};
    const int code =
        RunCli({"list", "https://www.example.com/someone", "--site", "20", "--data-dir", dataDir()},
               {out, err, false}, unsupported);
    EXPECT_TRUE(ReadBack(out).isEmpty());
    const QString text = ReadBack(err);
    EXPECT_EQ(code, kExitFailed);
    EXPECT_TRUE(text.endsWith("error: site type 20 is not supported yet\n")) << text.toStdString();
}

TEST_F(CliRunTest, ImportedCookiesGoWithTheRequestsAndAreListed) {
    AddAlbum("A", 1);
    const QString cookiesFile = root() + "/cookies.txt";
    QFile file(cookiesFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "# Netscape HTTP Cookie File\n"
        "img.fixture.test\tFALSE\t/\tFALSE\t4102444800\tsid\tabc\n"
        "broken line\n");
    file.close();
    const Run run = Cli({"download", "12345", "--cookies", cookiesFile, "--threads", "1"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(cookiesFile + ":3: ")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("imported 1 cookie(s)")) << run.err.toStdString();
    ASSERT_FALSE(server.requests().empty());
    EXPECT_EQ(server.requests().back().header("Cookie"), "sid=abc");

    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(RunCli({"cookies", "list", "fixture.test", "--values"}, {out, err, false}), 0);
    EXPECT_EQ(ReadBack(out), "sid\timg.fixture.test\t/\t2100-01-01T00:00:00Z\tabc\n");
    EXPECT_TRUE(ReadBack(err).startsWith("1 cookie(s) in "));

    const Run missing = Cli({"list", "12345", "--cookies", root() + "/none.txt"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains("none.txt: ")) << missing.err.toStdString();
}

}  // namespace
}  // namespace mosaiq::test
