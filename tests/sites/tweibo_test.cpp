#include "qq_site_fixture.h"

#include "sites/tweibo.h"

namespace mosaiq::test {
namespace {

const QString kSite = QStringLiteral("t.qq.com");
const QString kApi = QStringLiteral("api.t.qq.com");
const QString kAppPath = QStringLiteral("/app/qzphoto/tester");
const QString kApiPath = QStringLiteral("/asyn/gettopicalbum.php");
const QByteArray kReferer = "http://api.t.qq.com/proxy.html";

QString Tw(const char* name) {
    return QStringLiteral("tweibo/") + QLatin1String(name);
}

class TweiboTest : public QqSiteTest {
  protected:
    void ServeApi(const char* firstPage, const char* secondPage, const char* end) {
        server.Route(kApi, kApiPath, [=](const RecordedRequest& r) {
            const QString page = QueryItem(r, "page");
            return Page(Tw(page == "1" ? firstPage : page == "2" ? secondPage : end));
        });
    }
};

TEST_F(TweiboTest, AlbumListTakesTheGuestIdAndTypedAlbums) {
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

    const auto pages = RequestsTo(kApi, kApiPath);
    ASSERT_EQ(pages.size(), 2u);
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(QueryItem(pages[i], "op"), QStringLiteral("1"));
        EXPECT_EQ(QueryItem(pages[i], "page"), QString::number(i + 1));
        EXPECT_EQ(QueryItem(pages[i], "uin"), QStringLiteral("7788990"));
        EXPECT_EQ(QueryItem(pages[i], "n"), QStringLiteral("12"));
        EXPECT_EQ(QueryItem(pages[i], "apiHost"), QStringLiteral("http://api.t.qq.com"));
        EXPECT_EQ(pages[i].header("Referer"), kReferer);
    }
    EXPECT_EQ(RequestsTo(kSite, kAppPath).at(0).header("Referer"), kReferer);
}

TEST_F(TweiboTest, PageWithoutGuestIsSearchedWhole) {
    server.Route(kSite, kAppPath, Page(Tw("qzphoto_app_no_guest.html")));
    ServeApi("albums_end.json", "albums_end.json", "albums_end.json");
    FetchTweiboAlbums(state, QStringLiteral("tester"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("5566"));
    EXPECT_EQ(state.m_records.Size(), 0);
}

TEST_F(TweiboTest, PictureListDescribesPostsAndCarriesTheContinuation) {
    state.m_jobText1 = QStringLiteral("7788990");
    state.m_jobText2 = QStringLiteral("tester");
    ST_PERLISTRECORD album;
    album.title = QStringLiteral("旅行");
    album.albumRef = QStringLiteral("T100");
    ServeApi("photos_page1.json", "photos_page2.json", "photos_end.json");

    FetchTweiboPhotos(state, AddRecord(album));

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

    const auto pages = RequestsTo(kApi, kApiPath);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(QueryItem(pages[0], "topicid"), QStringLiteral("T100"));
    EXPECT_EQ(QueryItem(pages[0], "n"), QStringLiteral("24"));
    EXPECT_FALSE(pages[0].target.contains(QLatin1String("&time=")));
    EXPECT_EQ(QueryItem(pages[1], "time"), QStringLiteral("1382323000"));
    EXPECT_EQ(QueryItem(pages[1], "u"), QStringLiteral("tester"));
    EXPECT_EQ(QueryItem(pages[2], "time"), QStringLiteral("1382322000"));
    EXPECT_EQ(pages[1].header("Referer"), kReferer);
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
    ServeApi(c.page, c.page, c.albums ? "albums_end.json" : "photos_end.json");
    if (c.albums) {
        server.Route(kSite, kAppPath, Page(Tw("qzphoto_app.html")));
        state.m_listState = c.stop ? ListState::StopRequested : ListState::Running;
        FetchTweiboAlbums(state, QStringLiteral("tester"));
    } else {
        ST_PERLISTRECORD album;
        album.title = QStringLiteral("旅行");
        album.albumRef = QStringLiteral("T100");
        state.m_downState = c.stop ? DownState::Stopped : DownState::Running;
        FetchTweiboPhotos(state, AddRecord(album));
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
