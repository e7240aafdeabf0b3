#include "job_fixture.h"

#include "core/album_sink.h"
#include "jobs/list_job.h"
#include "jobs/site_dispatch.h"
#include "web/pause_clock.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace mosaiq::test {
namespace {

class ListJobTest : public JobTest {
  protected:
    void RunCommand() {
        JobThread job = GetListCommand(state, FixtureDispatch());
        ASSERT_TRUE(job.Started());
        job.Wait();
    }

    // Preview-view albums "<prefix>0".. whose covers are /<prefix>/<i>.gif.
    void AddCoveredAlbums(const QString& prefix, int count) {
        for (int i = 0; i < count; ++i) {
            ST_PERLISTRECORD record = FixtureRecord(prefix + QString::number(i));
            record.coverUrl =
                QStringLiteral("http://%1/%2/%3.gif").arg(kPictureHost, prefix).arg(i);
            g_fixtureSite().albums.push_back({record, {}});
        }
    }
    QMap<int, QByteArray> ThumbnailsShown() {
        QMap<int, QByteArray> shown;
        for (const auto& [index, file] : frontend.thumbnails) {
            shown.insert(index, Read(file));
        }
        return shown;
    }
};

// Cover answers held by the server: counts the requests in flight and lets them go once
// `holdUntil` are waiting at once, or when released.
struct CoverGate {
    std::mutex mutex;
    std::condition_variable changed;
    int inFlight = 0;
    int most = 0;
    int holdUntil = 0;
    bool open = false;
    std::vector<int> order;  // cover numbers as their requests came

    Handler Cover(const QString& prefix, int number) {
        return [this, prefix, number](const RecordedRequest&) {
            std::unique_lock lock(mutex);
            order.push_back(number);
            most = std::max(most, ++inFlight);
            open = open || (holdUntil > 0 && inFlight >= holdUntil);
            changed.notify_all();
            // Bounded: a pool that never reaches the count fails the test, it does not hang.
            if (!changed.wait_for(lock, std::chrono::seconds(5), [this] { return open; })) {
                open = true;
            }
            --inFlight;
            Reply reply;
            reply.body = (prefix + QString::number(number)).toUtf8();
            return reply;
        };
    }
    void Open() {
        const std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
};

TEST_F(ListJobTest, ListsAlbumsCountsThemAndRemembersTheInput) {
    frontend.input = "  12345 ";
    g_fixtureSite().account = "12345";
    AddAlbum("A", 2);
    AddAlbum("a", -1);
    state.m_records.Append(FixtureRecord("left over"));
    RunCommand();

    ASSERT_EQ(state.m_records.Size(), 2);
    EXPECT_EQ(state.m_records.At(1)->title, "a (1)");
    EXPECT_EQ(frontend.tableResets, 1);
    EXPECT_EQ(frontend.mainStatus,
              (QStringList{"正在获取相册列表，请稍等...", "获取相册列表完成，共2个"}));
    EXPECT_EQ(frontend.groupTexts, (QStringList{"相册列表", "相册列表(共2个)"}));
    EXPECT_EQ(frontend.listBusy, (std::vector<bool>{true, false}));
    EXPECT_EQ(state.m_account, "12345" + QString(QDir::separator()));
    EXPECT_EQ(state.m_listState.load(), ListState::Idle);
    EXPECT_EQ(frontend.historyAdded, QStringList{"12345"});
    SettingsRecord saved;
    LoadSettings(saved, dataDir());
    EXPECT_EQ(saved.addressHistory[0], "12345");
    EXPECT_TRUE(frontend.downloadBusy.empty());  // no single item: nothing downloads
}

TEST_F(ListJobTest, InputsThatCannotBeListed) {
    struct Case {
        QString input;
        int siteType;
        int listCalls;
        bool busyShown;
    };
    for (const Case& c : {Case{"   ", 0, 0, false}, Case{"12345", 4, 0, true}}) {
        SCOPED_TRACE(c.input.toStdString());
        g_fixtureSite() = FixtureSite{};
        frontend.messages.clear();
        frontend.listBusy.clear();
        frontend.input = c.input;
        frontend.siteType = c.siteType;
        RunCommand();
        EXPECT_EQ(frontend.messages.size(), 1);
        EXPECT_EQ(g_fixtureSite().listCalls, c.listCalls);
        EXPECT_EQ(frontend.listBusy.empty(), !c.busyShown);
        EXPECT_EQ(state.m_listState.load(), ListState::Idle);
        EXPECT_TRUE(frontend.historyAdded.isEmpty());
    }
    EXPECT_EQ(frontend.mainStatus.last(), "获取相册列表完成，共0个");
}

// A port on this machine that nothing listens on.
QByteArray ClosedAddress() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return "127.0.0.1:" + QByteArray::number(ntohs(address.sin_port));
}

// With no network the QQ Zone list used to end in its login hint ("该空间需要登录...").
TEST_F(ListJobTest, ASiteNotReachedIsSaidInsteadOfTheLoginHint) {
    const QByteArray connectTo = qgetenv("MOSAIQ_CONNECT_TO");
    qputenv("MOSAIQ_CONNECT_TO", ClosedAddress());
    PrepareListJob(state);
    const ListJobResult result = RunListJob(state, SiteTableDispatch());
    qputenv("MOSAIQ_CONNECT_TO", connectTo);

    EXPECT_EQ(result.albums, 0);
    EXPECT_EQ(result.unreachedHost, QStringLiteral("user.qzone.qq.com"));
    ASSERT_FALSE(frontend.messages.isEmpty());
    EXPECT_EQ(frontend.messages.last(),
              QStringLiteral("无法连接到 user.qzone.qq.com，请检查网络连接后再试。"));
    EXPECT_TRUE(frontend.messages.filter(QStringLiteral("需要登录")).isEmpty())
        << frontend.messages.join("|").toStdString();
}

TEST_F(ListJobTest, APageBombIsRefusedAndSaidInTheStatus) {
    // Just over 64 MiB of zeros in well under a megabyte, as the account's route page.
    Reply bomb;
    bomb.body = GzipBytes(QByteArray(65 * 1024 * 1024, '\0'));
    bomb.headers = {{"Content-Encoding", "gzip"}};
    server.Route("user.qzone.qq.com", "/proxy/domain/r.qzone.qq.com/GetRoute", bomb);
    PrepareListJob(state);
    const ListJobResult result = RunListJob(state, SiteTableDispatch());

    EXPECT_EQ(result.albums, 0);
    ASSERT_FALSE(frontend.progressStatus.isEmpty());
    EXPECT_EQ(frontend.progressStatus.last(), QStringLiteral("1个网页超过64MB，没有读取"));
}

TEST_F(ListJobTest, SecondClickStopsAndKeepsTheAlbumsFound) {
    for (int i = 0; i < 5; ++i) {
        AddAlbum(QStringLiteral("album%1").arg(i), 1);
    }
    g_fixtureSite().afterAlbum = [](JobState& s, int album) {
        if (album == 1) {
            GetListCommand(s, FixtureDispatch());  // the click while the job runs
        }
    };
    RunCommand();
    EXPECT_EQ(state.m_records.Size(), 2);
    EXPECT_EQ(frontend.mainStatus.last(), "获取相册列表完成，共2个");
    EXPECT_EQ(state.m_listState.load(), ListState::Idle);
}

TEST_F(ListJobTest, SingleItemStartsTheDownloadAtOnce) {
    g_fixtureSite().singleItem = true;
    AddAlbum("only", 1);
    frontend.selected = {0};
    RunCommand();
    EXPECT_EQ(frontend.selectAllCalls, 1);
    EXPECT_TRUE(QFileInfo::exists(AlbumFolder("only") + "p1.jpg"));
    EXPECT_EQ(state.m_downState.load(), DownState::Idle);
}

TEST_F(ListJobTest, CommandWaitsForStartUpAndForARunningDownload) {
    AddAlbum("A", 1);
    state.m_ready = 0;
    EXPECT_FALSE(GetListCommand(state, FixtureDispatch()).Started());
    state.m_ready = 1;
    state.m_downState = DownState::Running;
    state.m_records.Append(FixtureRecord("being downloaded"));
    EXPECT_FALSE(GetListCommand(state, FixtureDispatch()).Started());
    EXPECT_EQ(state.m_records.Size(), 1);
    EXPECT_EQ(frontend.messages.size(), 1);
    EXPECT_EQ(g_fixtureSite().listCalls, 0);
}

TEST_F(ListJobTest, PreviewViewFetchesCoversIntoTheCache) {
    state.m_thumbMode = 1;
    Reply cover;
    cover.body = "GIF89a-cover";
    server.Route(kPictureHost, "/cover.gif", cover);
    QDir().mkpath(dataDir() + "tmp");
    QFile stale(ThumbnailPath(dataDir(), 1));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("an older list's cover");
    stale.close();
    ST_PERLISTRECORD withCover = FixtureRecord("A");
    withCover.coverUrl = "http://img.fixture.test/cover.gif";
    ST_PERLISTRECORD missingCover = FixtureRecord("B");
    missingCover.coverUrl = "http://img.fixture.test/none.gif";
    g_fixtureSite().albums = {{withCover, {}}, {missingCover, {}}};
    RunCommand();

    ASSERT_EQ(frontend.thumbnails.size(), 1u);
    EXPECT_EQ(frontend.thumbnails[0].first, 0);
    EXPECT_EQ(Read(frontend.thumbnails[0].second), "GIF89a-cover");
    EXPECT_FALSE(QFileInfo::exists(ThumbnailPath(dataDir(), 1)));
    ASSERT_EQ(server.requests().size(), 2u);
    for (const RecordedRequest& request : server.requests()) {
        EXPECT_EQ(request.header("Referer"), "http://img.fixture.test" + request.path.toUtf8());
    }
    EXPECT_EQ(frontend.addedAlbums, (std::vector<int>{0, 1}));
}

TEST_F(ListJobTest, CoversComeSeveralAtATimeInTableOrderAndEveryRowGetsItsOwn) {
    state.m_thumbMode = 1;
    constexpr int kAlbums = 13;
    CoverGate gate;
    gate.holdUntil = CoverPool::kConnections;
    AddCoveredAlbums("c", kAlbums);
    for (int i = 0; i < kAlbums; ++i) {
        server.Route(kPictureHost, QStringLiteral("/c/%1.gif").arg(i), gate.Cover("c", i));
    }
    RunCommand();

    // The pool filled up, and never beyond its handful.
    EXPECT_EQ(gate.most, CoverPool::kConnections);
    ASSERT_EQ(gate.order.size(), size_t(kAlbums));
    EXPECT_EQ(std::set<int>(gate.order.begin(), gate.order.begin() + CoverPool::kConnections),
              (std::set<int>{0, 1, 2, 3}));
    // The job ended with its preview complete: every row has its own cover.
    QMap<int, QByteArray> expected;
    for (int i = 0; i < kAlbums; ++i) {
        expected.insert(i, "c" + QByteArray::number(i));
    }
    EXPECT_EQ(ThumbnailsShown(), expected);
    EXPECT_EQ(frontend.thumbnails.size(), size_t(kAlbums));
    EXPECT_EQ(frontend.mainStatus.last(), "获取相册列表完成，共13个");
}

TEST_F(ListJobTest, StopAndANewListingLeaveNoOldCoverOnTheNewRows) {
    state.m_thumbMode = 1;
    CoverGate gate;  // holds the old covers until the new listing has begun
    AddCoveredAlbums("old", 6);
    for (int i = 0; i < 6; ++i) {
        server.Route(kPictureHost, QStringLiteral("/old/%1.gif").arg(i), gate.Cover("old", i));
    }
    g_fixtureSite().afterAlbum = [](JobState& s, int album) {
        if (album == 5) {
            GetListCommand(s, FixtureDispatch());  // "终止获取" with covers still coming
        }
    };
    RunCommand();
    EXPECT_EQ(state.m_records.Size(), 6);
    // Four covers were in flight; the two still queued were never asked for.
    EXPECT_EQ(server.Count(kPictureHost, "/old/4.gif"), 0);
    EXPECT_EQ(server.Count(kPictureHost, "/old/5.gif"), 0);
    EXPECT_TRUE(frontend.thumbnails.empty());

    g_fixtureSite() = FixtureSite{};
    AddCoveredAlbums("new", 2);
    for (int i = 0; i < 2; ++i) {
        Reply cover;
        cover.body = "new" + QByteArray::number(i);
        server.Route(kPictureHost, QStringLiteral("/new/%1.gif").arg(i), cover);
    }
    JobThread job = GetListCommand(state, FixtureDispatch());
    ASSERT_TRUE(job.Started());
    gate.Open();  // the old covers arrive while the new listing runs
    job.Wait();

    EXPECT_EQ(ThumbnailsShown(), (QMap<int, QByteArray>{{0, "new0"}, {1, "new1"}}));
    EXPECT_EQ(frontend.thumbnails.size(), 2u);
    EXPECT_EQ(Read(ThumbnailPath(dataDir(), 0)), "new0");
    EXPECT_EQ(Read(ThumbnailPath(dataDir(), 1)), "new1");
}

}  // namespace
}  // namespace mosaiq::test
