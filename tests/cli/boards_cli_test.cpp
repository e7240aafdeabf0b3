#include "cli/cli_run.h"

#include "support/fixture_server.h"
#include "support/sandbox.h"
#include "web/pause_clock.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <cstdio>

namespace mosaiq::test {
namespace {

// The command-line tool on the picture-board sites, as a user types their addresses: the real
// site table, the sites' pages from the fixture server.
class BoardsCliTest : public Sandbox {
  protected:
    void SetUp() override {
        Sandbox::SetUp();
        m_formerSleeper = InstallSleeper([](std::chrono::milliseconds) {});
    }
    void TearDown() override {
        InstallSleeper(m_formerSleeper);
        Sandbox::TearDown();
    }

    static QByteArray Fixture(const QString& name) {
        QFile file(QStringLiteral(MOSAIQ_FIXTURES_DIR "/") + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }
    void Serve(const QString& host, const QString& path, const QByteArray& body) {
        Reply reply;
        reply.body = body;
        server.Route(host, path, reply);
    }

    // Runs "download INPUT" into the save folder; returns the exit code.
    int Download(const QString& input) {
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const int code = RunCli({"download", input, "--save", saveDir() + "out", "--threads", "2",
                                 "--data-dir", dataDir(), "--quiet"},
                                {out, err, false});
        std::rewind(err);
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, err)) > 0;) {
            errText.append(buffer, qsizetype(n));
        }
        std::fclose(out);
        std::fclose(err);
        return code;
    }

    // Every saved file but the albums' marker files, relative to the save folder, with its
    // content.
    QStringList Saved() const {
        QStringList files;
        const QString base = saveDir() + "out/";
        for (QDirIterator it(base, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            if (path.endsWith("/pic.kel")) {
                continue;
            }
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            files << path.mid(base.size()) + " = " + QString::fromUtf8(file.readAll());
        }
        files.sort();
        return files;
    }

    FixtureServer server;
    QByteArray errText;

  private:
    Sleeper m_formerSleeper;
};

TEST_F(BoardsCliTest, DoubanAlbumDownloads) {
    Serve("www.douban.com", "/photos/album/123/", Fixture("douban/second_title_form.html"));
    Serve("img1.doubanio.com", "/view/photo/raw/public/p2001.jpg", "JPEG-2001");
    ASSERT_EQ(Download("https://www.douban.com/photos/album/123/?from=home"), 0) << errText.data();
    EXPECT_EQ(Saved(), QStringList{"猫咪/猫咪/橘猫.jpg = JPEG-2001"});
}

}  // namespace
}  // namespace mosaiq::test
