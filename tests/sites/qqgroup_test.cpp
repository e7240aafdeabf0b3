#include "qq_site_fixture.h"

#include "sites/album_list_dispatch.h"
#include "sites/qqgroup.h"
#include "sites/site_types.h"
#include "web/site_tokens.h"

namespace mosaiq::test {
namespace {

const QString kH5 = QStringLiteral("h5.qzone.qq.com");
const QString kAlbumsPath =
    QStringLiteral("/proxy/domain/u.photo.qzone.qq.com/cgi-bin/upp/qun_list_album_v2");
const QString kPhotosPath =
    QStringLiteral("/proxy/domain/u.photo.qzone.qq.com/cgi-bin/upp/qun_list_photo_v2");
const QString kToken = QStringLiteral("0123456789abcdef0123456789abcdef");

// Whole requests as the Part gives them: the album list for the login of the first test
// (g_tk of "gkey", number 123456), the photo list of the album "G1first".
#define ALBUMS(start)                                                                            \
    "GET https://h5.qzone.qq.com/proxy/domain/u.photo.qzone.qq.com/cgi-bin/upp/"                 \
    "qun_list_album_v2?g_tk=2090295093&qzonetoken=0123456789abcdef0123456789abcdef&"             \
    "callback=shine7_Callback&t=947098911&qunId=778899&uin=123456&start=" start                  \
    "&num=36&"                                                                                   \
    "getMemberRole=1&format=jsonp&platform=qzone&inCharset=utf-8&outCharset=utf-8&source=qzone&" \
    "callbackFun=shine7&_=*",                                                                    \
        "  Referer: https://h5.qzone.qq.com/groupphoto/index?inqq=3&groupId=778899"
#define PHOTOS(start)                                                                            \
    "GET https://h5.qzone.qq.com/proxy/domain/u.photo.qzone.qq.com/cgi-bin/upp/"                 \
    "qun_list_photo_v2?callback=shine4_Callback&t=507118553&getCommentCnt=0&getMemberRole=1&"    \
    "getalbum=1&format=jsonp&platform=qzone&inCharset=utf-8&outCharset=utf-8&source=qzone&"      \
    "callbackFun=shine4&qzonetoken=tok&qunId=778899&albumId=G1first&uin=1&hostUin=1&g_tk=5&_=*&" \
    "start=" start "&num=500",                                                                   \
        "  Referer: http://qun.qq.com/group"

QString Qg(const char* name) {
    return QStringLiteral("qqgroup/") + QLatin1String(name);
}

class QqGroupTest : public QqSiteTest {
  protected:
    void SetUp() override {
        QqSiteTest::SetUp();
        masked = {QStringLiteral("_")};  // t is a fixed value here
        CapturePageToken(
            QStringLiteral("https://user.qzone.qq.com/12345"),
            QStringLiteral("<script>window.g_qzonetoken = (function(){ try{return \"") + kToken +
                QStringLiteral("\";} catch(e){}})();</script>"));
    }
    int AddFirstAlbum() {
        ST_PERLISTRECORD album;
        album.title = QStringLiteral("班级合影");
        album.albumRef =
            QStringLiteral("qzonetoken=tok&qunId=778899&albumId=G1first&uin=1&hostUin=1&g_tk=5");
        return AddRecord(album);
    }
    void ServeAlbums() {
        server.Route(kH5, kAlbumsPath, [](const RecordedRequest& r) {
            const QString start = QueryItem(r, "start");
            return Page(Qg(start == "0"    ? "albums_page1.jsonp"
                           : start == "36" ? "albums_page2.jsonp"
                                           : "albums_end.jsonp"));
        });
    }
};

TEST_F(QqGroupTest, AlbumListPagesBy36WithTheLoginValues) {
    LogIn({{"p_uin", "o0099"}, {"guin", "o0123456"}, {"p_skey", "gkey"}, {"skey", "other"}});
    ServeAlbums();

    FetchQqGroupAlbums(state, QStringLiteral("778899"));

    ASSERT_EQ(state.m_records.Size(), 3);  // the untitled album is skipped
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.title, QStringLiteral("班级合影"));
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://qungz.photo.store.qq.com/qun/cover1/200"));
    EXPECT_EQ(first.createdText, QStringLiteral("2015-01-02 10：20：30"));
    EXPECT_EQ(first.pictureCount, 25);
    EXPECT_EQ(first.accessFlags, 0);
    const QString gtk = QString::number(ComputeGtk("gkey"));
    EXPECT_EQ(first.albumRef, QStringLiteral("qzonetoken=") + kToken +
                                  QStringLiteral("&qunId=778899&albumId=G1first&uin=123456"
                                                 "&hostUin=123456&g_tk=") +
                                  gtk);
    EXPECT_EQ(state.m_records.At(1)->title, QStringLiteral("毕业旅行"));
    EXPECT_EQ(state.m_records.At(2)->title, QStringLiteral("聚餐"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("123456"));

    ExpectRequests({ALBUMS("0"), ALBUMS("36"), ALBUMS("72")});
}

// The stop is seen after every album and every photo, not only between pages.
TEST_F(QqGroupTest, StopDuringAPageEndsAfterTheCurrentItem) {
    LogIn({{"guin", "o0123456"}, {"p_skey", "gkey"}});
    server.Route(kH5, kAlbumsPath, [this](const RecordedRequest&) {
        state.m_listState = ListState::StopRequested;
        return Page(Qg("albums_page1.jsonp"));
    });
    server.Route(kH5, kPhotosPath, [this](const RecordedRequest&) {
        state.m_downState = DownState::Stopped;
        return Page(Qg("photos_page1.jsonp"));
    });
    FetchQqGroupAlbums(state, QStringLiteral("778899"));
    EXPECT_EQ(Titles(), QStringList{"班级合影"});
    FetchQqGroupPhotos(state, AddFirstAlbum());
    EXPECT_EQ(g_pictureQueue().Count(), 1);
    ExpectRequests({ALBUMS("0"), PHOTOS("0")});
}

struct LoginCase {
    const char* name;
    QList<QPair<QByteArray, QByteArray>> cookies;
    const char* number;
    const char* gtkKey;
};

class QqGroupLoginTest : public QqGroupTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(QqGroupLoginTest, LoggedInNumberAndGtkComeFromTheCookies) {
    LogIn(GetParam().cookies);
    ServeAlbums();
    FetchQqGroupAlbums(state, QStringLiteral("778899"));
    EXPECT_EQ(state.m_jobText1, QLatin1String(GetParam().number));
    const RecordedRequest first = RequestsTo(kH5, kAlbumsPath).at(0);
    EXPECT_EQ(QueryItem(first, "uin"), QLatin1String(GetParam().number));
    EXPECT_EQ(QueryItem(first, "g_tk"), QString::number(ComputeGtk(GetParam().gtkKey)));
}

INSTANTIATE_TEST_SUITE_P(
    Cookies, QqGroupLoginTest,
    ::testing::Values(LoginCase{"PUinWithoutGuin", {{"p_uin", "o0099"}, {"skey", "k"}}, "099", "k"},
                      LoginCase{"QqLoginGuinCookie",
                                {{"p_uin", "o0099"}, {"pt2gguin", "o0123456"}, {"p_skey", "pk"}},
                                "123456",
                                "pk"},
                      LoginCase{"GuinOfOnlyZero",
                                {{"guin", "o0"}, {"p_uin", "o0777"}, {"skey", "k"}},
                                "777",
                                "k"}),
    [](const auto& info) { return std::string(info.param.name); });

// The not-logged-in answer may still carry albums (the group's public ones): none is listed.
TEST_F(QqGroupTest, LoggedOutUserGetsTheDispatchHintOnly) {
    server.Route(kH5, kAlbumsPath, Page(Qg("not_logged_in.jsonp")));
    state.m_listType = SiteTypeValue(SiteType::QqFamily);
    state.m_subType = SubTypeValue(QqSubType::Group);
    bool single = false;
    DispatchAlbumList(state, QStringLiteral("https://qun.qzone.qq.com/group#!/778899/photo"),
                      single);
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(RequestsTo(kH5, kAlbumsPath).size(), 1u);
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(
        frontend.messages[0].startsWith(QStringLiteral("没有获取到相册，可按以下步骤操作")));
    EXPECT_TRUE(frontend.questions.isEmpty());
}

TEST_F(QqGroupTest, LineBreakInTheGroupNumberAddsNoHeader) {
    ServeAlbums();
    FetchQqGroupAlbums(state, QStringLiteral("778899\r\nX-Injected: 1"));
    const RecordedRequest first = RequestsTo(kH5, kAlbumsPath).at(0);
    EXPECT_FALSE(first.hasHeader("X-Injected"));
    EXPECT_EQ(QueryItem(first, "qunId"), QStringLiteral("778899\r\nX-Injected: 1"));
}

TEST_F(QqGroupTest, FailingAnswersAreTriedThreeTimes) {
    server.Route(kH5, kAlbumsPath, Broken());
    FetchQqGroupAlbums(state, QStringLiteral("778899"));
    EXPECT_EQ(RequestsTo(kH5, kAlbumsPath).size(), 3u);
    EXPECT_EQ(state.m_records.Size(), 0);
}

TEST_F(QqGroupTest, PhotoListRewritesAddressesAndPagesBy500) {
    const int index = AddFirstAlbum();
    server.Route(kH5, kPhotosPath, [](const RecordedRequest& r) {
        return Page(Qg(QueryItem(r, "start") == "0" ? "photos_page1.jsonp" : "photos_end.jsonp"),
                    true);
    });

    FetchQqGroupPhotos(state, index);

    EXPECT_EQ(Addresses(), (QStringList{"http://qungz.photo.store.qq.com/qun/raw/p1/0",
                                        "http://qungz.photo.store.qq.com/qun/hd/p2",
                                        "http://qungz.photo.store.qq.com/qun/p3/800?x=1/800"}));
    ASSERT_EQ(g_pictureQueue().Count(), 3);
    // Name first, trimmed; nothing at all names the picture after the album.
    EXPECT_EQ(g_pictureQueue().Row(0).fileName, QStringLiteral("p1.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(1).fileName, QStringLiteral("p2.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(2).fileName, QStringLiteral("班级合影.jpg"));
    EXPECT_TRUE(g_pictureQueue().Row(0).headerText.isEmpty());

    ExpectRequests({PHOTOS("0"), PHOTOS("500")});
}

TEST_F(QqGroupTest, PagesOfPhotosWithoutAddressesEnd) {
    ST_PERLISTRECORD album;
    album.title = QStringLiteral("相册");
    album.albumRef = QStringLiteral("qunId=1&albumId=A");
    const int index = AddRecord(album);
    // The same page for the first two starts, as a server that ignores the start would.
    server.Route(kH5, kPhotosPath, [](const RecordedRequest& r) {
        const QString start = QueryItem(r, "start");
        return Page(
            Qg(start == "0" || start == "500" ? "photos_no_address.jsonp" : "photos_end.jsonp"));
    });

    FetchQqGroupPhotos(state, index);
    EXPECT_EQ(RequestsTo(kH5, kPhotosPath).size(), 2u);

    state.m_downState = DownState::Stopped;  // a stopped download fetches no page
    FetchQqGroupPhotos(state, index);
    EXPECT_EQ(RequestsTo(kH5, kPhotosPath).size(), 2u);
    EXPECT_EQ(g_pictureQueue().Count(), 0);
}

TEST_F(QqGroupTest, DescriptionFirstWhenTheSettingSaysSo) {
    ST_PERLISTRECORD album;
    album.title = QStringLiteral("相册");
    album.albumRef = QStringLiteral("qunId=1&albumId=A");
    server.Route(kH5, kPhotosPath, [](const RecordedRequest& r) {
        return Page(Qg(QueryItem(r, "start") == "0" ? "photos_page1.jsonp" : "photos_end.jsonp"));
    });
    state.m_qzoneOrigName = 0;
    FetchQqGroupPhotos(state, AddRecord(album));
    ASSERT_EQ(g_pictureQueue().Count(), 3);
    EXPECT_EQ(g_pictureQueue().Row(0).fileName, QStringLiteral("操场.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(1).fileName, QStringLiteral("p2.jpg"));
}

}  // namespace
}  // namespace mosaiq::test
