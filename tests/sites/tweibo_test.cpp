#include "qq_site_fixture.h"

#include "sites/tweibo.h"

namespace mosaiq::test {
namespace {

const QString kSite = QStringLiteral("t.qq.com");
const QString kApi = QStringLiteral("api.t.qq.com");
const QString kAppPath = QStringLiteral("/app/qzphoto/tester");
const QString kApiPath = QStringLiteral("/asyn/gettopicalbum.php");

// Whole requests as the Part gives them.
#define REFERER "  Referer: http://api.t.qq.com/proxy.html"
#define APP "GET http://t.qq.com/app/qzphoto/tester?preview"
#define ALBUMS(page)                                                             \
    "GET http://api.t.qq.com/asyn/gettopicalbum.php?op=1&uin=7788990&page=" page \
    "&n=12&"                                                                     \
    "apiType=14&apiHost=http%3A%2F%2Fapi.t.qq.com&_r=1382084292800&g_tk=*"
#define PHOTOS(page, continuation)                                                \
    "GET http://api.t.qq.com/asyn/gettopicalbum.php?op=2&uin=7788990&page=" page  \
    "&n=24&"                                                                      \
    "topicid=T100&apiType=14&apiHost=http%3A%2F%2Fapi.t.qq.com&_r=1382325110273&" \
    "g_tk=6180339" continuation

QString Tw(const char* name) {
    return QStringLiteral("tweibo/") + QLatin1String(name);
}

class TweiboTest : public QqSiteTest {
  protected:
    void SetUp() override {
        QqSiteTest::SetUp();
        // The picture list's r is the process clock (the album list's g_tk too).
        masked = {QStringLiteral("r")};
    }
    int AddTopic() {
        state.m_jobText1 = QStringLiteral("7788990");
        state.m_jobText2 = QStringLiteral("tester");
        ST_PERLISTRECORD album;
        album.title = QStringLiteral("旅行");
        album.albumRef = QStringLiteral("T100");
        return AddRecord(album);
    }
    void ServeApi(const char* firstPage, const char* secondPage, const char* end) {
        server.Route(kApi, kApiPath, [=](const RecordedRequest& r) {
            const QString page = QueryItem(r, "page");
            return Page(Tw(page == "1" ? firstPage : page == "2" ? secondPage : end));
        });
    }
};

TEST_F(TweiboTest, AlbumListTakesTheGuestIdAndTypedAlbums) {
    masked << QStringLiteral("g_tk");
    server.Route(kSite, kAppPath, Page(Tw("qzphoto_app.html")));
    ServeApi("albums_page1.json", "albums_end.json", "albums_end.json");

    FetchTweiboAlbums(state, QStringLiteral("tester"));

    EXPECT_EQ(state.m_jobText1, QStringLiteral("7788990"));
    ASSERT_EQ(state.m_records.Size(), 2);
    const ST_PERLISTRECORD& topic = *state.m_records.At(0);
    EXPECT_EQ(topic.title, QStringLiteral("旅行"));
    EXPECT_EQ(topic.albumRef, QStringLiteral("T100"));
    EXPECT_EQ(topic.pictureCount, 24);
    EXPECT_EQ(topic.coverUrl, QStringLiteral("http://t1.qpic.cn/mblogpic/cover1/240"));
    const ST_PERLISTRECORD& typed = *state.m_records.At(1);
    EXPECT_EQ(typed.title, QStringLiteral("我的微博"));
    EXPECT_EQ(typed.albumRef, QStringLiteral("all"));
    EXPECT_EQ(typed.pictureCount, -1);

    ExpectRequests({APP, REFERER, ALBUMS("1"), REFERER, ALBUMS("2"), REFERER});
}

TEST_F(TweiboTest, PageWithoutGuestIsSearchedWhole) {
    server.Route(kSite, kAppPath, Page(Tw("qzphoto_app_no_guest.html")));
    ServeApi("albums_end.json", "albums_end.json", "albums_end.json");
    FetchTweiboAlbums(state, QStringLiteral("tester"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("5566"));
    EXPECT_EQ(state.m_records.Size(), 0);
}

TEST_F(TweiboTest, PictureListDescribesPostsAndCarriesTheContinuation) {
    ServeApi("photos_page1.json", "photos_page2.json", "photos_end.json");

    FetchTweiboPhotos(state, AddTopic());

    EXPECT_EQ(
        Addresses(),
        (QStringList{"http://t1.qpic.cn/mblogpic/a1/2000", "http://t1.qpic.cn/mblogpic/a2/2000",
                     "http://t1.qpic.cn/mblogpic/a3/2000", "http://t1.qpic.cn/mblogpic/b1/2000",
                     "http://t1.qpic.cn/mblogpic/c1/2000", "http://t1.qpic.cn/mblogpic/d1/2000"}));
    QStringList names;
    for (const PictureEntry& entry : g_pictureQueue().entries) {
        names << entry.fileName;
    }
    // Post text without tags; the quoted post's text; the album title.
    EXPECT_EQ(names, (QStringList{"三张图.jpg", "三张图(1).jpg", "三张图(2).jpg", "转发的原文.jpg",
                                  "旅行.jpg", "第二页.jpg"}));

    // Each page after the first carries the continuation of the previous page's last post.
    ExpectRequests({PHOTOS("1", ""), REFERER, PHOTOS("2", "&time=1382323000&r=*&u=tester"), REFERER,
                    PHOTOS("3", "&time=1382322000&r=*&u=tester"), REFERER});
}

// A stop is seen after every album and every picture, not only between pages.
TEST_F(TweiboTest, StopDuringAPageEndsAfterTheCurrentItem) {
    server.Route(kSite, kAppPath, Page(Tw("qzphoto_app.html")));
    server.Route(kApi, kApiPath, [this](const RecordedRequest& r) {
        const bool albums = QueryItem(r, "op") == "1";
        if (albums) {
            state.m_listState = ListState::StopRequested;
        } else {
            state.m_downState = DownState::Stopped;
        }
        return Page(Tw(albums ? "albums_page1.json" : "photos_page1.json"));
    });
    FetchTweiboAlbums(state, QStringLiteral("tester"));
    EXPECT_EQ(state.m_records.Size(), 1);
    FetchTweiboPhotos(state, AddTopic());
    EXPECT_EQ(g_pictureQueue().Count(), 1);
    EXPECT_EQ(RequestsTo(kApi, kApiPath).size(), 2u);
}

// A server that answers every page with the same entries, none of them usable, or a stop
// requested while the pages bring nothing: the paging still ends.
struct EndlessCase {
    const char* name;
    bool albums;
    const char* page;
    bool stop;
    size_t requests;
};

class TweiboEndlessTest : public TweiboTest, public ::testing::WithParamInterface<EndlessCase> {};

TEST_P(TweiboEndlessTest, PagingEnds) {
    const EndlessCase& c = GetParam();
    if (c.albums) {
        server.Route(kSite, kAppPath, Page(Tw("qzphoto_app.html")));
        server.Route(kApi, kApiPath, [this, c](const RecordedRequest&) {
            if (c.stop) {
                state.m_listState = ListState::StopRequested;
            }
            return Page(Tw(c.page));
        });
        FetchTweiboAlbums(state, QStringLiteral("tester"));
    } else {
        server.Route(kApi, kApiPath, [this, c](const RecordedRequest&) {
            if (c.stop) {
                state.m_downState = DownState::Stopped;
            }
            return Page(Tw(c.page));
        });
        FetchTweiboPhotos(state, AddTopic());
    }
    EXPECT_EQ(RequestsTo(kApi, kApiPath).size(), c.requests);
    EXPECT_EQ(state.m_records.Size(), c.albums ? 0 : 1);
    EXPECT_EQ(g_pictureQueue().Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, TweiboEndlessTest,
    ::testing::Values(
        EndlessCase{"RepeatedUntitledAlbums", true, "albums_untitled.json", false, 2},
        EndlessCase{"StopBetweenAlbumPages", true, "albums_untitled.json", true, 1},
        EndlessCase{"RepeatedPostsWithoutPictures", false, "photos_no_pictures.json", false, 2},
        EndlessCase{"StopBetweenPicturePages", false, "photos_no_pictures.json", true, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TweiboTest, FailedAppPageListsNothing) {
    server.Route(kSite, kAppPath, Broken());
    FetchTweiboAlbums(state, QStringLiteral("tester"));
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_TRUE(RequestsTo(kApi, kApiPath).empty());
    EXPECT_TRUE(frontend.messages.isEmpty());
}

}  // namespace
}  // namespace mosaiq::test
