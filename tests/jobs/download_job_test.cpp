#include "job_fixture.h"

#include "core/frontend.h"
#include "jobs/download_job.h"
#include "sites/site_types.h"
#include "web/codepage.h"
#include "web/pause_clock.h"

#include <QFileInfo>

#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace mosaiq::test {
namespace {

class DownloadJobTest : public JobTest {
  protected:
    DownloadJobResult Download() {
        state.m_downState = DownState::Running;
        return RunDownloadJob(state, FixtureDispatch());
    }
    bool Exists(const QString& title, int picture) const {
        return QFileInfo::exists(AlbumFolder(title) + QStringLiteral("p%1.jpg").arg(picture));
    }
};

TEST_F(DownloadJobTest, DownloadsEveryAlbumAndMarksItDone) {
    AddAlbum(QStringLiteral("A"), 3);
    AddAlbum(QStringLiteral("B"), 2);
    ListAlbums();
    g_pictureQueue().progressWindow = nullptr;
    const DownloadJobResult result = Download();

    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.total, 5);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(Read(AlbumFolder("A") + QStringLiteral("p%1.jpg").arg(i)), "JPEGDATA");
    }
    EXPECT_TRUE(Exists("B", 2));
    EXPECT_EQ(Read(AlbumFolder("A") + "pic.kel"), "http://img.fixture.test/A/1.jpg");
    EXPECT_EQ(Read(AlbumFolder("B") + "pic.kel"), "http://img.fixture.test/B/1.jpg");
    EXPECT_EQ(state.m_records.checkedCount.load(), 2);
    EXPECT_EQ(state.m_downState.load(), DownState::Idle);
    EXPECT_TRUE(frontend.mainStatus.contains(QStringLiteral("正在下载第2/2个图集")));
    EXPECT_EQ(frontend.mainStatus.last(), QStringLiteral("下载完毕"));
    EXPECT_TRUE(frontend.progressStatus.contains(QStringLiteral("已下载3/3......")));
    EXPECT_TRUE(frontend.progressStatus.contains(QStringLiteral("已下载2/2......")));
    EXPECT_EQ(frontend.progressStatus.last(), QString());
    ASSERT_EQ(frontend.finishedAlbums.size(), 2u);
    EXPECT_EQ(frontend.finishedAlbums[0].second, 3);
    EXPECT_EQ(frontend.downloadBusy, (std::vector<bool>{true, false}));
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(DownloadJobTest, ThreePicturesWithFiveThreadsRunSideBySide) {
    std::atomic<int> inFlight{0}, most{0};
    FixtureSite::Album album{FixtureRecord("A", 3), {}};
    for (int i = 1; i <= 3; ++i) {
        const QString path = QStringLiteral("/A/%1.jpg").arg(i);
        server.Route(kPictureHost, path, [&](const RecordedRequest&) {
            most = std::max(most.load(), ++inFlight);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            --inFlight;
            Reply reply;
            reply.body = "JPEGDATA";
            return reply;
        });
        album.pictures.append("http://" + kPictureHost + path);
    }
    g_fixtureSite().albums.push_back(album);
    ListAlbums();
    Download();
    EXPECT_EQ(most.load(), 3);
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST_F(DownloadJobTest, OneThreadFetchesOneAfterAnotherTwoSecondsApart) {
    SetThreads(1);
    AddAlbum(QStringLiteral("A"), 2);
    // A first picture slower than the monitor's stop polling must not show "0/2".
    Reply slow;
    slow.body = "JPEGDATA";
    slow.delayMs = 400;
    server.Route(kPictureHost, "/A/1.jpg", slow);
    ListAlbums();
    std::vector<std::chrono::steady_clock::time_point> times;
    server.Route(kPictureHost, "/A/2.jpg", [&](const RecordedRequest&) {
        times.push_back(std::chrono::steady_clock::now());
        Reply reply;
        reply.body = "JPEGDATA";
        return reply;
    });
    Download();
    ASSERT_EQ(times.size(), 1u);
    EXPECT_EQ(Pauses(), std::vector<long long>{2000});
    const QStringList progress = frontend.progressStatus.filter(QStringLiteral("已下载"));
    EXPECT_EQ(progress, (QStringList{"已下载1/2......", "已下载2/2......"}));
}

TEST_F(DownloadJobTest, FallbackAddressIsFetchedIntoTheSameFile) {
    FixtureSite::Album album{FixtureRecord("A", 2), {}};
    Reply missing;
    missing.status = 404;
    server.Route(kPictureHost, "/gone.jpg", missing);
    Reply stub;
    stub.body = "tiny";
    server.Route("img.topit.me", "/small.jpg", stub);
    Reply good;
    good.body = "FALLBACK";
    server.Route(kPictureHost, "/backup.jpg", good);
    server.Route("img.topit.me", "/large.jpg", good);
    album.pictures = {"http://img.fixture.test/gone.jpg\r\nhttp://img.fixture.test/backup.jpg",
                      "http://img.topit.me/small.jpg\r\nhttp://img.topit.me/large.jpg"};
    g_fixtureSite().albums.push_back(album);
    ListAlbums();
    Download();
    EXPECT_EQ(Read(AlbumFolder("A") + "p1.jpg"), "FALLBACK");
    EXPECT_EQ(Read(AlbumFolder("A") + "p2.jpg"), "FALLBACK");
    EXPECT_EQ(server.Count(kPictureHost, "/gone.jpg"), 2);  // two attempts first
}

// Keeps every file this process writes under `bytes`, as a full disk would.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_before);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);  // a write past it fails instead of killing
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_signal);
    }

  private:
    rlimit m_before{};
    void (*m_signal)(int) = nullptr;
};

// Each of these used to count as done: "下载完毕", a marker, and the next skip-downloaded run
// passing over the lost pictures.
TEST_F(DownloadJobTest, PicturesNotSavedAreCountedAndTheirAlbumGetsNoMarker) {
    FixtureSite::Album album{FixtureRecord("A", 4), {}};
    Reply picture;
    picture.body = "JPEGDATA";
    Reply page;  // a login page served with 200 where a picture was asked for
    page.body = "\n  <!DOCTYPE html><html><head><title>login</title></head></html>";
    page.headers = {{"Content-Type", "image/jpeg"}};
    Reply missing;
    missing.status = 404;
    Reply large;  // more than the disk has room for
    large.body = QByteArray(256 * 1024, 'x');
    server.Route(kPictureHost, "/ok.jpg", picture);
    server.Route(kPictureHost, "/page.jpg", page);
    server.Route(kPictureHost, "/missing.jpg", missing);
    server.Route(kPictureHost, "/large.jpg", large);
    for (const char* path : {"/ok.jpg", "/page.jpg", "/missing.jpg", "/large.jpg"}) {
        album.pictures << QStringLiteral("http://img.fixture.test") + path;
    }
    g_fixtureSite().albums.push_back(album);
    AddAlbum(QStringLiteral("B"), 2);
    ListAlbums();
    DownloadJobResult result;
    {
        const FileSizeLimit diskFull(64 * 1024);
        result = Download();
    }

    EXPECT_EQ(result.failed, 3);
    ASSERT_EQ(result.albums.size(), 2u);
    const std::vector<FailedPicture>& failed = result.albums[0].failed;
    ASSERT_EQ(failed.size(), 3u);
    EXPECT_EQ(failed[0].address, QStringLiteral("http://img.fixture.test/page.jpg"));
    EXPECT_EQ(failed[0].reason, QStringLiteral("服务器返回的是网页，不是文件"));
    EXPECT_EQ(failed[0].target, AlbumFolder("A") + "p2.jpg");
    EXPECT_TRUE(failed[1].reason.contains(QStringLiteral("404"))) << failed[1].reason.toStdString();
    EXPECT_TRUE(failed[2].reason.startsWith(QStringLiteral("无法写入文件: ")))
        << failed[2].reason.toStdString();
    EXPECT_TRUE(result.albums[1].failed.empty());

    EXPECT_TRUE(Exists("A", 1));
    for (int i = 2; i <= 4; ++i) {
        EXPECT_FALSE(Exists("A", i)) << i;
    }
    EXPECT_EQ(QDir(AlbumFolder("A")).entryList(QDir::Files), QStringList{"p1.jpg"});
    EXPECT_FALSE(QFileInfo::exists(AlbumFolder("A") + "pic.kel"));
    EXPECT_EQ(Read(AlbumFolder("B") + "pic.kel"), "http://img.fixture.test/B/1.jpg");
    EXPECT_EQ(frontend.mainStatus.last(), QStringLiteral("下载完毕，3张图片下载失败"));
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("有3张图片没有保存下来")));
    EXPECT_TRUE(frontend.messages[0].contains(QStringLiteral("page.jpg")));
}

mode_t ModeOf(const QString& path) {
    struct stat info {};
    return stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

// Pictures came out 0600 whatever the umask (a temporary file renamed into place), so other
// users, shares and media servers could not read them.
TEST_F(DownloadJobTest, SavedFilesGetTheModesTheUmaskGivesSettingsStayPrivate) {
    for (const mode_t mask : {mode_t(022), mode_t(027), mode_t(002)}) {
        SCOPED_TRACE(mask);
        const mode_t before = umask(mask);
        const QString title = QStringLiteral("U%1").arg(mask, 0, 8);
        g_fixtureSite() = FixtureSite{};
        state.m_records.Clear();
        AddAlbum(title, 1);
        ListAlbums();
        Download();
        SaveSettings(state.m_settings, dataDir());
        umask(before);
        const mode_t expected = 0666 & ~mask;
        EXPECT_EQ(ModeOf(AlbumFolder(title) + "p1.jpg"), expected);
        EXPECT_EQ(ModeOf(AlbumFolder(title) + "pic.kel"), expected);
        EXPECT_EQ(ModeOf(dataDir() + "soft.dat"), mode_t(0600));
    }
}

// Addresses with a fallback: the marker holds the first line, and the next download meets it.
TEST_F(DownloadJobTest, NextDownloadFetchesOnlyPicturesAddedSince) {
    Options() = kOptionSkipDownloaded;
    AddAlbum(QStringLiteral("A"), 3);
    for (QString& address : g_fixtureSite().albums[0].pictures) {
        address += QStringLiteral("\r\nhttp://img.fixture.test/backup.jpg");
    }
    ListAlbums();
    EXPECT_EQ(Download().total, 3);
    EXPECT_EQ(Read(AlbumFolder("A") + "pic.kel"), "http://img.fixture.test/A/1.jpg");

    AddAlbum(QStringLiteral("new"), 1);  // serves /new/1.jpg
    g_fixtureSite().albums[0].pictures.prepend(g_fixtureSite().albums[1].pictures[0]);
    frontend.selected = {0};
    const DownloadJobResult again = Download();
    EXPECT_EQ(again.total, 1);
    EXPECT_EQ(Read(AlbumFolder("A") + "pic.kel"), "http://img.fixture.test/new/1.jpg");
}

struct StopCase {
    const char* name;
    bool answer;
    bool downloaded;
};

class StopDuringListingTest : public DownloadJobTest,
                              public ::testing::WithParamInterface<StopCase> {};

// The user clicks "stop" while the second picture of album A is being listed.
TEST_P(StopDuringListingTest, AsksOnceThenEndsTheJob) {
    AddAlbum(QStringLiteral("A"), 3);
    AddAlbum(QStringLiteral("B"), 1);
    ListAlbums();
    frontend.answers = {GetParam().answer};
    g_fixtureSite().afterPicture = [](JobState& s, int, int picture) {
        if (picture == 1) {
            DownloadCommand(s, FixtureDispatch());
        }
    };
    const DownloadJobResult result = Download();
    EXPECT_EQ(frontend.questions.size(), 1);
    EXPECT_EQ(g_fixtureSite().pictureCalls, std::vector<int>{0});
    EXPECT_EQ(Exists("A", 1), GetParam().downloaded);
    EXPECT_EQ(Exists("A", 2), GetParam().downloaded);
    EXPECT_FALSE(Exists("A", 3));
    EXPECT_FALSE(QFileInfo::exists(AlbumFolder("A") + "pic.kel"));
    EXPECT_EQ(result.total, GetParam().downloaded ? 2 : 0);
    EXPECT_EQ(state.m_downState.load(), DownState::Idle);
}

INSTANTIATE_TEST_SUITE_P(Answers, StopDuringListingTest,
                         ::testing::Values(StopCase{"Yes", true, true},
                                           StopCase{"No", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct StopTiming {
    const char* name;
    int replyDelayMs;   // of the first picture
    bool clickInPause;  // else as soon as its request arrived
};

class StopDuringDownloadTest : public DownloadJobTest,
                               public ::testing::WithParamInterface<StopTiming> {};

// One thread: the stop comes while the first picture is fetched, or in the pause after it.
TEST_P(StopDuringDownloadTest, LeavesNoMarkerAndFetchesNothingMore) {
    SetThreads(1);
    AddAlbum(QStringLiteral("A"), 3);
    AddAlbum(QStringLiteral("B"), 1);
    ListAlbums();
    Reply first;
    first.body = "JPEGDATA";
    first.delayMs = GetParam().replyDelayMs;
    server.Route(kPictureHost, "/A/1.jpg", first);
    if (GetParam().clickInPause) {
        onPause = [this] { DownloadCommand(state, FixtureDispatch()); };
    }
    JobThread job = DownloadCommand(state, FixtureDispatch());
    if (!GetParam().clickInPause) {
        while (server.Count(kPictureHost, "/A/1.jpg") == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        DownloadCommand(state, FixtureDispatch());  // the second click
    }
    job.Wait();
    EXPECT_TRUE(frontend.questions.isEmpty());
    EXPECT_EQ(g_fixtureSite().pictureCalls, std::vector<int>{0});
    EXPECT_EQ(server.Count(kPictureHost, "/A/2.jpg"), 0);
    EXPECT_EQ(server.Count(kPictureHost, "/A/3.jpg"), 0);
    EXPECT_FALSE(QFileInfo::exists(AlbumFolder("A") + "pic.kel"));
    EXPECT_EQ(state.m_downState.load(), DownState::Idle);
    EXPECT_EQ(frontend.mainStatus.last(), QStringLiteral("下载完毕"));
}

// A stop ends the transfers under way: the job ends without waiting for them, and no worker
// writes a picture or reaches a server after it.
TEST_F(DownloadJobTest, StopEndsTheWorkersTransfersAndWritesNoFile) {
    FixtureSite::Album album{FixtureRecord("A", 3), {}};
    // Each picture would be complete some 450 ms after its request.
    Reply slow;
    slow.body = "JPEG";
    slow.pieceSize = 1;
    slow.pieceDelayMs = 150;
    for (int i = 1; i <= 3; ++i) {
        const QString path = QStringLiteral("/A/%1.jpg").arg(i);
        server.Route(kPictureHost, path, slow);
        album.pictures.append("http://" + kPictureHost + path);
    }
    g_fixtureSite().albums.push_back(album);
    ListAlbums();
    JobThread job = DownloadCommand(state, FixtureDispatch());
    while (server.requests().size() < 3) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    DownloadCommand(state, FixtureDispatch());
    job.Wait();
    const int requests = int(server.requests().size());
    // Long enough for a transfer left running to end and write its file.
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    EXPECT_EQ(int(server.requests().size()), requests);  // no attempt after the stop
    EXPECT_EQ(requests, 3);
    EXPECT_TRUE(QDir(AlbumFolder("A")).entryList({"*.jpg"}, QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Timings, StopDuringDownloadTest,
                         ::testing::Values(StopTiming{"WhileFetching", 500, false},
                                           StopTiming{"InThePause", 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadJobTest, ThunderListModeWritesOneListPerAlbumAndDownloadsNothing) {
    Options() = kOptionThunderOnly;
    FixtureSite::Album album{FixtureRecord("A", 3), {}};
    album.pictures = {"http://img.fixture.test/相册/1.jpg",
                      "http://img.fixture.test/2.jpg\r\nhttp://img.fixture.test/2b.jpg",
                      "http://img.fixture.test/3.jpg"};
    g_fixtureSite().albums.push_back(album);
    AddAlbum(QStringLiteral("B"), 1);
    ListAlbums();
    const DownloadJobResult result = Download();
    EXPECT_EQ(Read(AlbumFolder("A") + "A.lst"),
              TextToGbk("http://img.fixture.test/相册/1.jpg\r\n") +
                  "http://img.fixture.test/2.jpg\r\nhttp://img.fixture.test/2b.jpg\r\n"
                  "http://img.fixture.test/3.jpg\r\n");
    EXPECT_EQ(Read(AlbumFolder("B") + "B.lst"), "http://img.fixture.test/B/1.jpg\r\n");
    EXPECT_FALSE(QFileInfo::exists(AlbumFolder("A") + "pic.kel"));
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(result.total, 4);
}

TEST_F(DownloadJobTest, NoSelectedAlbumOnlyTellsAndRestoresTheDisplay) {
    AddAlbum(QStringLiteral("A"), 1);
    ListAlbums();
    frontend.selected = {7};  // not in the list
    Download();
    EXPECT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(g_fixtureSite().pictureCalls.empty());
    EXPECT_EQ(frontend.downloadBusy, (std::vector<bool>{true, false}));
    EXPECT_EQ(state.m_downState.load(), DownState::Idle);
    EXPECT_EQ(state.m_records.checkedCount.load(), 0);
}

TEST_F(DownloadJobTest, SavePathProblemsEndTheJobAndFreeTheCommand) {
    frontend.savePath = "  ";
    Download();
    QFile blocker(saveDir() + "file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    frontend.savePath = saveDir() + "file/sub";
    Download();
    EXPECT_EQ(frontend.messages,
              (QStringList{"请先设置保存路径", QDir::toNativeSeparators(saveDir() + "file"),
                           "请检测设置的保存路径是否有误"}));
    EXPECT_TRUE(frontend.downloadBusy.empty());
    EXPECT_EQ(state.m_downState.load(), DownState::Idle);
}

TEST_F(DownloadJobTest, FormatAndOrderFixes) {
    Options() = kOptionFixFormat | kOptionFixOrder | kOptionOpenFolder;
    AddAlbum(QStringLiteral("A"), 2, QByteArray("\x89PNG\r\n\x1a\n", 8));
    ListAlbums();
    const DownloadJobResult result = Download();
    const QString first = AlbumFolder("A") + "p1.png";
    const QString second = AlbumFolder("A") + "p2.png";
    ASSERT_TRUE(QFileInfo::exists(first));
    EXPECT_FALSE(Exists("A", 1));
    const qint64 gap = QFileInfo(second).lastModified().secsTo(QFileInfo(first).lastModified());
    EXPECT_EQ(gap, 60);
    EXPECT_EQ(result.albums[0].files, (QStringList{first, second}));
    EXPECT_EQ(frontend.openedFolders, QStringList{AlbumFolder("A")});
}

// The format fix keeps the site's video extension for bytes of no picture format: only the
// site type that serves videos has one.
TEST_F(DownloadJobTest, FormatFixNamesUnknownBytesAsTheSitesVideos) {
    const struct {
        SiteType type;
        const char* extension;
    } cases[] = {{SiteType::InstagramSzwego, ".mp4"}, {SiteType::QqFamily, ".jpg"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extension);
        const QString title = QStringLiteral("V%1").arg(SiteTypeValue(c.type));
        g_fixtureSite() = FixtureSite{};
        state.m_records.Clear();
        AddAlbum(title, 1, "....ftypisom....");
        ListAlbums();
        state.m_listType = SiteTypeValue(c.type);
        SlotOf(state.m_settings, state.m_listType.load()).threadCount = 1;
        SlotOf(state.m_settings, state.m_listType.load()).timeoutSec = 10;
        NamingOf(state.m_settings, state.m_listType.load()).options = kOptionFixFormat;
        Download();
        const QStringList files =
            QDir(AlbumFolder(title)).entryList({"*.mp4", "*.jpg"}, QDir::Files);
        ASSERT_EQ(files.size(), 1) << files.join(u' ').toStdString();
        EXPECT_TRUE(files[0].endsWith(QLatin1String(c.extension)));
    }
}

TEST_F(DownloadJobTest, UnknownSiteTypeSkipsTheAlbum) {
    AddAlbum(QStringLiteral("A"), 1);
    ListAlbums();
    state.m_listType = kSiteTypeCount;
    state.m_downState = DownState::Running;
    RunDownloadJob(state, SiteTableDispatch());
    EXPECT_EQ(frontend.messages, QStringList{"Error ListType Code."});
    EXPECT_EQ(frontend.mainStatus.last(), QStringLiteral("下载完毕"));
}

}  // namespace
}  // namespace mosaiq::test
