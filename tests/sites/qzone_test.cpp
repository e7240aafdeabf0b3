#include "qq_site_fixture.h"

#include "core/album_record.h"
#include "sites/album_list_dispatch.h"
#include "sites/input_normalization.h"
#include "sites/picture_list_dispatch.h"
#include "sites/qzone.h"
#include "sites/site_types.h"
#include "web/response_decoding.h"

#include <QFile>

#include <atomic>

namespace mosaiq::test {
namespace {

const QString kUser = QStringLiteral("user.qzone.qq.com");
const QString kH5 = QStringLiteral("h5.qzone.qq.com");
const QString kRoutePath = QStringLiteral("/proxy/domain/r.qzone.qq.com/GetRoute");
const QString kAlbumsV3Path =
    QStringLiteral("/proxy/domain/alist.photo.qq.com/fcgi-bin/fcg_list_album_v3");
const QString kPhotosV3Path =
    QStringLiteral("/proxy/domain/szs.photo.qzone.qq.com/fcgi-bin/cgi_list_photo");
const QString kMoodPath =
    QStringLiteral("/proxy/domain/taotao.qq.com/cgi-bin/emotion_cgi_msglist_v6");
const QString kAccountPage = QStringLiteral("http://user.qzone.qq.com/12345");

// Whole requests as the QQ Zone Parts give them; g_tk of the test login ("pskey1" and
// "@skey1"), the account 12345.
#define REFERER "  Referer: http://user.qzone.qq.com/12345"
#define GZIP "  Accept-Encoding: gzip, deflate"
#define ROUTE \
    "GET "    \
    "https://user.qzone.qq.com/proxy/domain/r.qzone.qq.com/GetRoute?UIN=12345&type=json&version=2"
#define ALBUMS_V3(start)                                                                           \
    "GET https://h5.qzone.qq.com/proxy/domain/alist.photo.qq.com/fcgi-bin/"                        \
    "fcg_list_album_v3?g_tk=360593186&callback=shine5_Callback&hostUin=12345&uin=12345&appid=4&"   \
    "inCharset=utf-8&outCharset=utf-8&source=qzone&plat=qzone&format=jsonp&notice=0&filter=1&"     \
    "handset=4&pageNumModeSort=40&pageNumModeClass=15&needUserInfo=1&idcNum=3&mode=2&sortOrder=0&" \
    "pageStart=" start "&pageNum=48&callbackFun=shine5&_=*"
#define PHOTOS_V3(topic, start)                                                            \
    "GET https://h5.qzone.qq.com/proxy/domain/szs.photo.qzone.qq.com/fcgi-bin/"            \
    "cgi_list_photo?t=*&mode=0&idcNum=3&hostUin=12345&topicId=" topic                      \
    "&noTopic=0&uin=12345&"                                                                \
    "pageStart=" start                                                                     \
    "&pageNum=400&skipCmtCount=0&singleurl=1&batchId=&notice=0&appid=4&"                   \
    "inCharset=utf-8&outCharset=utf-8&source=qzone&plat=qzone&outstyle=json&format=jsonp&" \
    "json_esc=1&question=&answer=&callbackFun=shine0&g_tk=360593186"
#define PHOTOS_OLD(topic, start)                                                    \
    "GET http://szplist.photo.qq.com/fcgi-bin/cgi_list_photo?g_tk=629577970&"       \
    "callback=shine0_Callback&mode=0&idcNum=3&hostUin=12345&topicId=" topic         \
    "&noTopic=0&"                                                                   \
    "uin=0012345&pageStart=" start                                                  \
    "&pageNum=500&singleurl=1&notice=0&appid=4&inCharset=gbk&"                      \
    "outCharset=gbk&source=qzone&plat=qzone&outstyle=json&format=jsonp&json_esc=1&" \
    "callbackFun=shine0&_=*"
#define ALBUM_VIEW(album)                                                                       \
    "GET http://sznu.photo.qzone.qq.com/cgi-bin/common/cgi_view_album_v2?inCharset=gbk&"        \
    "outCharset=gbk&format=jsonp&plat=qzone&source=qzone&idcNum=3&hostUin=12345&albumId=" album \
    "&t=*&g_tk=629577970&uin=0012345"

QString Qz(const char* name) {
    return QStringLiteral("qzone/") + QLatin1String(name);
}

class QzoneTest : public QqSiteTest {
  protected:
    void SetUp() override {
        QqSiteTest::SetUp();
        loggedHeaders = {QStringLiteral("Accept-Encoding"), QStringLiteral("Referer")};
        LogIn({{"uin", "o0012345"}, {"skey", "@skey1"}, {"p_skey", "pskey1"}});
        server.Route(kUser, kRoutePath, Page(Qz("route.json")));
    }

    // Album pages by their page start; anything further is the empty page.
    void ServeAlbumPages(const std::map<QString, const char*>& pages) {
        server.Route(kH5, kAlbumsV3Path, [pages](const RecordedRequest& r) {
            const auto it = pages.find(QueryItem(r, QStringLiteral("pageStart")));
            return Page(Qz(it == pages.end() ? "albums_v3_empty.jsonp" : it->second));
        });
    }

    // The route's hosts, as the album list leaves them.
    void UseRoute() {
        state.m_jobText1 = QStringLiteral("szplist.photo.qq.com");
        state.m_jobText2 = QStringLiteral("sznu.photo.qzone.qq.com");
        state.m_jobText3 = QStringLiteral("szs.photo.qzone.qq.com");
    }

    int AddAlbum(const QString& id, int32_t accessFlags, int32_t count = 100) {
        ST_PERLISTRECORD record;
        record.title = id;
        record.albumRef = QStringLiteral("idcNum=3&hostUin=12345&albumid=") + id;
        record.accessFlags = accessFlags;
        record.pictureCount = count;
        return AddRecord(record);
    }

    QStringList Titles() const {
        QStringList titles;
        for (int i = 0; i < state.m_records.Size(); ++i) {
            titles << state.m_records.At(i)->title;
        }
        return titles;
    }
};

TEST_F(QzoneTest, NewerAlbumListPagesBy48AndFillsTheRecords) {
    ServeAlbumPages({{"0", "albums_v3_page1.jsonp"}, {"48", "albums_v3_page2.jsonp"}});

    FetchQzoneAlbums(state, QStringLiteral("12345"));

    // The nameless album is skipped; the page without separator ends the list.
    EXPECT_EQ(Titles(),
              (QStringList{"春游", "私密", "好友可见", "密码相册", "三和五", "回答问题"}));
    std::vector<int32_t> flags, counts;
    for (int i = 0; i < state.m_records.Size(); ++i) {
        flags.push_back(state.m_records.At(i)->accessFlags);
        counts.push_back(state.m_records.At(i)->pictureCount);
    }
    EXPECT_EQ(flags, (std::vector<int32_t>{0, 2, 4, 1, 2, 4}));
    EXPECT_EQ(counts, (std::vector<int32_t>{12, 3, 7, 0, 1, 2}));
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, QStringLiteral("idcNum=3&hostUin=12345&albumid=V11pub"));
    EXPECT_EQ(first.coverUrl,
              QStringLiteral("http://b123.photo.store.qq.com/psb?/V11pub/cover/a/c1.jpg"));
    EXPECT_TRUE(first.createdText.isEmpty());

    EXPECT_EQ(state.m_jobText1, QStringLiteral("alist.photo.qq.com"));
    EXPECT_EQ(state.m_jobText2, QStringLiteral("sznu.photo.qzone.qq.com"));
    EXPECT_EQ(state.m_jobText3, QStringLiteral("szs.photo.qzone.qq.com"));

    // The newer interface asks for plain bodies.
    ExpectRequests({ROUTE, REFERER, ALBUMS_V3("0"), REFERER, ALBUMS_V3("48"), REFERER,
                    ALBUMS_V3("96"), REFERER});
    EXPECT_TRUE(frontend.messages.isEmpty());
    EXPECT_TRUE(Pauses().empty());
}

TEST_F(QzoneTest, StopRequestEndsTheListAfterTheCurrentAlbum) {
    server.Route(kH5, kAlbumsV3Path, [this](const RecordedRequest&) {
        state.m_listState = ListState::StopRequested;
        return Page(Qz("albums_v3_page1.jsonp"));
    });
    FetchQzoneAlbums(state, QStringLiteral("12345"));
    EXPECT_EQ(state.m_records.Size(), 1);
    ExpectRequests({ROUTE, REFERER, ALBUMS_V3("0"), REFERER});
}

TEST_F(QzoneTest, StopRequestIsSeenAfterAPageOfNamelessAlbums) {
    server.Route(kH5, kAlbumsV3Path, [this](const RecordedRequest&) {
        state.m_listState = ListState::StopRequested;
        return Page(Qz("albums_v3_nameless.jsonp"));
    });
    FetchQzoneAlbums(state, QStringLiteral("12345"));
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(RequestsTo(kH5, kAlbumsV3Path).size(), 1u);
}

TEST_F(QzoneTest, ServerRepeatingTheSamePageDoesNotListForever) {
    server.Route(kH5, kAlbumsV3Path, Page(Qz("albums_v3_page2.jsonp")));
    FetchQzoneAlbums(state, QStringLiteral("12345"));
    EXPECT_EQ(state.m_records.Size(), 2);
    EXPECT_EQ(RequestsTo(kH5, kAlbumsV3Path).size(), 2u);
}

TEST_F(QzoneTest, OlderAlbumListAsksOnceAndTakesTheSecondStaticHost) {
    server.Route(kUser, kRoutePath, Page(Qz("route_without_idcno.json")));
    const QString oldPath = QStringLiteral("/fcgi-bin/fcg_list_album_v2");
    server.Route(QStringLiteral("xalist.photo.qq.com"), oldPath, Page(Qz("albums_v2.jsonp"), true));

    FetchQzoneAlbumsOld(state, QStringLiteral("12345"));

    ASSERT_EQ(state.m_records.Size(), 1);
    EXPECT_EQ(state.m_records.At(0)->title, QStringLiteral("旧版相册"));
    // No idcno in the route: the reference carries 0.
    EXPECT_EQ(state.m_records.At(0)->albumRef,
              QStringLiteral("idcNum=0&hostUin=12345&albumid=V10old"));
    EXPECT_EQ(state.m_records.At(0)->pictureCount, 2);
    EXPECT_EQ(state.m_jobText1, QStringLiteral("szplist.photo.qq.com"));
    EXPECT_EQ(state.m_jobText3, QStringLiteral("xas.photo.qzone.qq.com"));
    ExpectRequests({ROUTE, GZIP, REFERER,
                    "GET http://xalist.photo.qq.com/fcgi-bin/fcg_list_album_v2?hostUin=12345&"
                    "format=jsonp&plat=qzone&source=qzone&t=*&g_tk=629577970",
                    GZIP, REFERER});
}

// "V3编码" decodes the newer route, "V2编码" the older album list: a route whose Chinese key
// stands right before "idcno" reads as UTF-8 only, an album title as its page's code page.
TEST_F(QzoneTest, EncodingSettingsDecodeTheRouteAndTheOlderList) {
    const QString oldPath = QStringLiteral("/fcgi-bin/fcg_list_album_v2");
    struct Case {
        const char* route;
        const char* albums;
        uint8_t v3, v2;
        const char* albumRef;
        const char* title;
    };
    const Case cases[] = {
        {"route_chinese_key.json", "albums_v2.jsonp", Utf8, 0,
         "idcNum=7&hostUin=12345&albumid=V10old", "旧版相册"},
        {"route_chinese_key.json", "albums_v2_utf8.jsonp", 0, Utf8,
         "idcNum=0&hostUin=12345&albumid=V10old", "旧版相册"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.albums);
        state.m_records.Clear();
        state.m_qzoneV3Encoding = c.v3;
        state.m_qzoneV2Encoding = c.v2;
        server.Route(kUser, kRoutePath, Page(Qz(c.route)));
        ServeAlbumPages({{"0", "albums_v2.jsonp"}});
        FetchQzoneAlbums(state, QStringLiteral("12345"));
        ASSERT_EQ(state.m_records.Size(), 1);
        EXPECT_EQ(state.m_records.At(0)->albumRef, QLatin1String(c.albumRef));

        state.m_records.Clear();
        server.Route(QStringLiteral("alist.photo.qq.com"), oldPath, Page(Qz(c.albums)));
        FetchQzoneAlbumsOld(state, QStringLiteral("12345"));
        ASSERT_EQ(state.m_records.Size(), 1);
        EXPECT_EQ(state.m_records.At(0)->title, QString::fromUtf8(c.title));
    }
}

TEST_F(QzoneTest, DispatchFallsBackToTheOlderListAndAddsTheMoodAlbum) {
    ServeAlbumPages({});
    server.Route(QStringLiteral("alist.photo.qq.com"),
                 QStringLiteral("/fcgi-bin/fcg_list_album_v2"), Page(Qz("albums_v2.jsonp")));
    state.m_listType = SiteTypeValue(SiteType::QqFamily);
    state.m_subType = SubTypeValue(QqSubType::Zone);
    bool single = true;
    DispatchAlbumList(state, QStringLiteral("https://user.qzone.qq.com/12345/main"), single);

    EXPECT_EQ(Titles(), (QStringList{"旧版相册", "说说里的图片"}));
    EXPECT_EQ(state.m_records.At(1)->coverUrl, QStringLiteral("123"));
    EXPECT_EQ(state.m_account, QStringLiteral("12345"));
    ExpectRequests({ROUTE, REFERER, ALBUMS_V3("0"), REFERER, ROUTE, GZIP, REFERER,
                    "GET http://alist.photo.qq.com/fcgi-bin/fcg_list_album_v2?hostUin=12345&"
                    "format=jsonp&plat=qzone&source=qzone&t=*&g_tk=629577970",
                    GZIP, REFERER});
    EXPECT_FALSE(single);
}

TEST_F(QzoneTest, DispatchRunsTheOlderListOnlyWhenTheNewerListedNothing) {
    ServeAlbumPages({{"0", "albums_v3_page2.jsonp"}});
    state.m_listType = SiteTypeValue(SiteType::QqFamily);
    state.m_subType = SubTypeValue(QqSubType::Zone);
    bool single = true;
    DispatchAlbumList(state, QStringLiteral("12345"), single);
    EXPECT_EQ(Titles(), (QStringList{"三和五", "回答问题", "说说里的图片"}));
    ExpectRequests({ROUTE, REFERER, ALBUMS_V3("0"), REFERER, ALBUMS_V3("48"), REFERER});
}

TEST_F(QzoneTest, EmptyAccountGetsTheMoodAlbumOnlyWithCtrlHeld) {
    ServeAlbumPages({});
    for (const bool ctrl : {false, true}) {
        state.m_records.Clear();
        frontend.messages.clear();
        frontend.ctrlDown = ctrl;
        state.m_listType = SiteTypeValue(SiteType::QqFamily);
        state.m_subType = SubTypeValue(QqSubType::Zone);
        bool single = false;
        DispatchAlbumList(state, QStringLiteral("12345"), single);
        EXPECT_EQ(Titles(), ctrl ? QStringList{"说说里的图片"} : QStringList{}) << ctrl;
        ASSERT_EQ(frontend.messages.size(), 1);
        EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("没有获取到相册，原因如下")));
    }
}

TEST_F(QzoneTest, MessageAnswersAskOrShowAndListNothing) {
    struct Case {
        const char* page;
        bool answer;
        int questions;
        QStringList logins;
        QStringList messages;
    };
    const Case cases[] = {
        {"albums_msg_verify.jsonp", true, 1, {kAccountPage}, {}},
        {"albums_msg_verify.jsonp", false, 1, {}, {}},
        {"albums_msg_too_often.jsonp", true, 0, {}, {"您的操作过于频繁，请稍后再试"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.page) + (c.answer ? " yes" : " no"));
        frontend.questions.clear();
        frontend.logins.clear();
        frontend.loginAutoCloseSeconds.clear();
        frontend.messages.clear();
        frontend.defaultAnswer = c.answer;
        server.ClearRequests();
        server.Route(kH5, kAlbumsV3Path, Page(Qz(c.page)));
        FetchQzoneAlbums(state, QStringLiteral("12345"));
        EXPECT_EQ(state.m_records.Size(), 0);
        EXPECT_EQ(frontend.questions.size(), c.questions);
        if (c.questions > 0) {
            EXPECT_TRUE(frontend.questions[0].startsWith(
                QStringLiteral("加密或非公开空间，是否进行身份验证?")));
        }
        EXPECT_EQ(frontend.logins, c.logins);
        // The verification login waits for the user; it never closes by itself.
        EXPECT_EQ(frontend.loginAutoCloseSeconds, std::vector<int>(size_t(c.logins.size()), 0));
        EXPECT_EQ(frontend.messages, c.messages);
        EXPECT_EQ(RequestsTo(kH5, kAlbumsV3Path).size(), 1u);
    }
}

TEST_F(QzoneTest, BadRoutesEndWithTheRouteError) {
    server.Route(kH5, kAlbumsV3Path, Page(Qz("albums_v3_page1.jsonp")));
    for (const Reply& route : {Broken(), Page(Qz("route_hostile.json"))}) {
        frontend.messages.clear();
        server.ClearRequests();
        server.Route(kUser, kRoutePath, route);
        FetchQzoneAlbums(state, QStringLiteral("12345"));
        EXPECT_EQ(frontend.messages, QStringList{"QQ空间相册错误1"});
        EXPECT_EQ(state.m_records.Size(), 0);
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

// Newer photo list.

TEST_F(QzoneTest, NewerPhotoListAddressesCaptionsAndPaging) {
    UseRoute();
    server.Route(kH5, kPhotosV3Path, [](const RecordedRequest& r) {
        return Page(
            Qz(QueryItem(r, "pageStart") == "0" ? "photos_v3_page1.jsonp" : "photos_v3_end.jsonp"));
    });
    const int album = AddAlbum(QStringLiteral("V11pub"), 0);
    FetchQzonePhotos(state, album);

    EXPECT_EQ(Addresses(), (QStringList{"http://r.photo.store.qq.com/psb?/V11pub/raw1/r/dA.jpg\r\n"
                                        "http://b1.photo.store.qq.com/psb?/V11pub/pre1/b/dA.jpg",
                                        // Uploaded raw: rebased on the photo store, /b/ as /r/.
                                        "http://r.photo.store.qq.com/psb?/V11pub/big2/r/dB.jpg\r\n"
                                        "http://b2.photo.store.qq.com/psb?/V11pub/pre2/b/dB.jpg",
                                        "http://b3.photo.store.qq.com/psb?/V11pub/pre3/b/dC.jpg"}));
    ASSERT_EQ(g_pictureQueue().Count(), 3);
    EXPECT_EQ(g_pictureQueue().Row(0).fileName, QStringLiteral("IMG_0001.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(2).fileName, QStringLiteral("只有小图.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(0).headerText, QStringLiteral("Referer: ") + kAccountPage);

    ExpectRequests(
        {PHOTOS_V3("V11pub", "0"), GZIP, REFERER, PHOTOS_V3("V11pub", "400"), GZIP, REFERER});
    const auto pages = RequestsTo(kH5, kPhotosV3Path);
    ASSERT_EQ(pages.size(), 2u);
    // t grows by a million per request.
    EXPECT_GE(QueryItem(pages[1], "t").toLongLong() - QueryItem(pages[0], "t").toLongLong(),
              1000000);
    EXPECT_EQ(Pauses(), std::vector<long long>{4200});
}

TEST_F(QzoneTest, NewerPhotoListSettingsChooseBigPictureAndCaption) {
    UseRoute();
    server.Route(kH5, kPhotosV3Path, Page(Qz("photos_v3_page1.jsonp")));
    state.m_qzoneBigPicture = 1;
    state.m_qzoneOrigName = 0;
    // The album's count is reached after the first page: no second request.
    FetchQzonePhotos(state, AddAlbum(QStringLiteral("V11pub"), 0, 3));
    ASSERT_EQ(g_pictureQueue().Count(), 3);
    EXPECT_TRUE(g_pictureQueue().Row(0).address.startsWith(
        QStringLiteral("http://b1.photo.store.qq.com/psb?/V11pub/big1/b/dA.jpg\r\n")));
    EXPECT_EQ(g_pictureQueue().Row(0).fileName, QStringLiteral("海边.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(1).fileName, QStringLiteral("IMG_0002.jpg"));
    EXPECT_EQ(RequestsTo(kH5, kPhotosV3Path).size(), 1u);
}

TEST_F(QzoneTest, PhotosWithoutAddressOrPreviewAndTheStopRequest) {
    UseRoute();
    server.Route(kH5, kPhotosV3Path, Page(Qz("photos_odd.jsonp")));
    const int album = AddAlbum(QStringLiteral("V11odd"), 0);
    FetchQzonePhotos(state, album);
    // Nothing to fetch is not queued; a lone address carries no empty fallback.
    EXPECT_EQ(Addresses(), (QStringList{"http://r.photo.store.qq.com/psb?/V11odd/raw/r/gA.jpg",
                                        "http://r.photo.store.qq.com/psb?/V11odd/raw/r/gB.jpg"}));
    // The same page again brings nothing new: the listing ends there.
    EXPECT_EQ(RequestsTo(kH5, kPhotosV3Path).size(), 2u);

    g_pictureQueue().Clear();
    server.ClearRequests();
    server.Route(kH5, kPhotosV3Path, [this](const RecordedRequest&) {
        state.m_downState = DownState::Stopped;
        return Page(Qz("photos_odd.jsonp"));
    });
    FetchQzonePhotos(state, album);
    EXPECT_EQ(g_pictureQueue().Count(), 1);
    EXPECT_EQ(RequestsTo(kH5, kPhotosV3Path).size(), 1u);
}

// Pauses come before pages that are requested, never after the page that ends the album:
// its count reached, its last page, or a stop.
TEST_F(QzoneTest, NoPauseFollowsThePageThatEndsTheAlbum) {
    UseRoute();
    struct Case {
        const char* name;
        int32_t count;
        const char* secondPage;
        bool stopDuringFirstPage;
        size_t requests;
        std::vector<long long> pauses;
    };
    const Case cases[] = {
        {"count reached", 3, "photos_v3_page1.jsonp", false, 1, {}},
        {"unknown count, last page", -1, "photos_v3_end.jsonp", false, 2, {4200}},
        {"stopped", 100, "photos_v3_page1.jsonp", true, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_pictureQueue().Clear();
        server.ClearRequests();
        ClearPauses();
        state.m_downState = DownState::Running;
        server.Route(kH5, kPhotosV3Path, [this, c](const RecordedRequest& r) {
            if (c.stopDuringFirstPage) {
                state.m_downState = DownState::Stopped;
            }
            return Page(
                Qz(QueryItem(r, "pageStart") == "0" ? "photos_v3_page1.jsonp" : c.secondPage));
        });
        FetchQzonePhotos(state, AddAlbum(QStringLiteral("V11pub"), 0, c.count));
        EXPECT_EQ(RequestsTo(kH5, kPhotosV3Path).size(), c.requests);
        EXPECT_EQ(Pauses(), c.pauses);
    }
}

// The older photo list runs only when the newer one queued nothing.
TEST_F(QzoneTest, DispatchRunsTheOlderPhotoListOnlyWhenTheNewerQueuedNothing) {
    UseRoute();
    state.m_listType = SiteTypeValue(SiteType::QqFamily);
    state.m_subType = SubTypeValue(QqSubType::Zone);
    server.Route(QStringLiteral("szplist.photo.qq.com"), QStringLiteral("/fcgi-bin/cgi_list_photo"),
                 Page(Qz("photos_v3_end.jsonp")));
    server.Route(QStringLiteral("sznu.photo.qzone.qq.com"),
                 QStringLiteral("/cgi-bin/common/cgi_view_album_v2"), Page(Qz("album_view.jsonp")));

    server.Route(kH5, kPhotosV3Path, Page(Qz("photos_v3_page1.jsonp")));
    DispatchPictureList(state, AddAlbum(QStringLiteral("V11pub"), 0, 3));
    EXPECT_EQ(g_pictureQueue().Count(), 3);
    ExpectRequests({PHOTOS_V3("V11pub", "0"), GZIP, REFERER});

    g_pictureQueue().Clear();
    server.ClearRequests();
    server.Route(kH5, kPhotosV3Path, Page(Qz("photos_v3_end.jsonp")));
    DispatchPictureList(state, AddAlbum(QStringLiteral("V11pub"), 0, 3));
    EXPECT_EQ(g_pictureQueue().Count(), 1);
    ExpectRequests({PHOTOS_V3("V11pub", "0"), GZIP, REFERER, PHOTOS_OLD("V11pub", "0"), GZIP,
                    REFERER, ALBUM_VIEW("V11pub"), GZIP, REFERER});
}

// A server that answers every page with photos that have no address: the album still ends,
// and a stop stored meanwhile is seen although no picture was queued.
TEST_F(QzoneTest, PagesThatQueueNothingStillEnd) {
    UseRoute();
    struct Case {
        const char* name;
        QString host, path;
        void (*fetch)(JobState&, int);
        bool stopDuringPage;
        size_t requests;
    };
    const QString oldHost = QStringLiteral("szplist.photo.qq.com");
    const QString oldPath = QStringLiteral("/fcgi-bin/cgi_list_photo");
    const Case cases[] = {
        {"newer repeated", kH5, kPhotosV3Path, FetchQzonePhotos, false, 2},
        {"newer stopped", kH5, kPhotosV3Path, FetchQzonePhotos, true, 1},
        {"older repeated", oldHost, oldPath, FetchQzonePhotosOld, false, 2},
        {"older stopped", oldHost, oldPath, FetchQzonePhotosOld, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.ClearRequests();
        state.m_downState = DownState::Running;
        std::atomic<int> served = 0;
        // Past a few pages the list ends, so a fault shows as a count instead of a hang.
        server.Route(c.host, c.path, [&, stop = c.stopDuringPage](const RecordedRequest&) {
            if (stop) {
                state.m_downState = DownState::Stopped;
            }
            return Page(Qz(++served > 5 ? "photos_v3_end.jsonp" : "photos_unusable.jsonp"));
        });
        c.fetch(state, AddAlbum(QStringLiteral("V11none"), 0));
        EXPECT_EQ(RequestsTo(c.host, c.path).size(), c.requests);
        EXPECT_EQ(g_pictureQueue().Count(), 0);
    }
}

TEST_F(QzoneTest, PasswordAlbumAsksOncePerVisit) {
    UseRoute();
    state.m_listType = SiteTypeValue(SiteType::QqFamily);
    state.m_subType = SubTypeValue(QqSubType::Zone);
    const QString viewPath = QStringLiteral("/cgi-bin/common/cgi_view_album_v2");
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "yes" : "no");
        g_pictureQueue().Clear();
        frontend.questions.clear();
        frontend.logins.clear();
        ClearPauses();
        server.ClearRequests();
        frontend.defaultAnswer = yes;
        // The password page until the login window was opened.
        server.Route(kH5, kPhotosV3Path, [this](const RecordedRequest& r) {
            if (frontend.logins.isEmpty()) {
                return Page(Qz("photos_password.jsonp"));
            }
            return Page(Qz(QueryItem(r, "pageStart") == "0" ? "photos_v3_page1.jsonp"
                                                            : "photos_v3_end.jsonp"));
        });
        server.Route(QStringLiteral("sznu.photo.qzone.qq.com"), viewPath,
                     Page(Qz("photos_password.jsonp")));
        const int album = AddAlbum(QStringLiteral("V11pw"), kAccessEncrypted);

        DispatchPictureList(state, album);

        EXPECT_EQ(frontend.questions, QStringList{"加密相册，是否输入密码？"});
        if (yes) {
            EXPECT_EQ(frontend.logins, QStringList{"http://user.qzone.qq.com/12345/photo/V11pw"});
            EXPECT_EQ(g_pictureQueue().Count(), 3);
            const auto pages = RequestsTo(kH5, kPhotosV3Path);
            ASSERT_GE(pages.size(), 2u);
            EXPECT_EQ(QueryItem(pages[1], "pageStart"), QStringLiteral("0"));
            ASSERT_FALSE(Pauses().empty());
            EXPECT_EQ(Pauses().front(), 3000);
        } else {
            EXPECT_TRUE(frontend.logins.isEmpty());
            EXPECT_EQ(g_pictureQueue().Count(), 0);
            // The older interface tried the album view without asking again.
            EXPECT_EQ(RequestsTo(QStringLiteral("sznu.photo.qzone.qq.com"), viewPath).size(), 1u);
        }
    }
}

// Older photo list.

TEST_F(QzoneTest, OlderPhotoListChoosesItsInterface) {
    UseRoute();
    const QString listHost = QStringLiteral("szplist.photo.qq.com");
    const QString listPath = QStringLiteral("/fcgi-bin/cgi_list_photo");
    const QString viewHost = QStringLiteral("sznu.photo.qzone.qq.com");
    const QString viewPath = QStringLiteral("/cgi-bin/common/cgi_view_album_v2");
    server.Route(listHost, listPath, [](const RecordedRequest& r) {
        return Page(
            Qz(QueryItem(r, "pageStart") == "0" ? "photos_old.jsonp" : "photos_v3_end.jsonp"),
            true);
    });
    server.Route(viewHost, viewPath, Page(Qz("album_view.jsonp")));
    struct Case {
        int32_t accessFlags;
        bool q2;
        size_t listRequests, viewRequests;
        int pictures;
    };
    const Case cases[] = {
        {0, false, 2, 0, 3},
        {kAccessFriends, false, 0, 1, 1},
        {kAccessFriends, true, 2, 0, 3},  // "Q2.txt" lists non-public albums as photo lists
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.accessFlags << " q2=" << c.q2);
        g_pictureQueue().Clear();
        server.ClearRequests();
        QFile q2(dataDir() + QStringLiteral("Q2.txt"));
        if (c.q2) {
            ASSERT_TRUE(q2.open(QIODevice::WriteOnly));
            q2.close();
        } else {
            q2.remove();
        }
        FetchQzonePhotosOld(state, AddAlbum(QStringLiteral("V10old"), c.accessFlags));
        EXPECT_EQ(RequestsTo(listHost, listPath).size(), c.listRequests);
        EXPECT_EQ(RequestsTo(viewHost, viewPath).size(), c.viewRequests);
        EXPECT_EQ(g_pictureQueue().Count(), c.pictures);
    }
}

TEST_F(QzoneTest, OlderPhotoListAddressesAndLogin) {
    UseRoute();
    server.Route(QStringLiteral("szplist.photo.qq.com"), QStringLiteral("/fcgi-bin/cgi_list_photo"),
                 [](const RecordedRequest& r) {
                     return Page(Qz(QueryItem(r, "pageStart") == "0" ? "photos_old.jsonp"
                                                                     : "photos_v3_end.jsonp"));
                 });
    FetchQzonePhotosOld(state, AddAlbum(QStringLiteral("V10old"), 0));
    EXPECT_EQ(Addresses(), (QStringList{"http://r.photo.store.qq.com/psb?/V10old/raw1/r/eA.jpg\r\n"
                                        "http://b1.photo.store.qq.com/psb?/V10old/pre1/b/eA.jpg",
                                        "http://b2.photo.store.qq.com/psb?/V10old/o2/r/eB.jpg\r\n"
                                        "http://b2.photo.store.qq.com/psb?/V10old/pre2/b/eB.jpg",
                                        "http://b3.photo.store.qq.com/psb?/V10old/pre3/b/eC.jpg"}));
    // The uin of the cookie loses its "o" and keeps its zeros.
    ExpectRequests(
        {PHOTOS_OLD("V10old", "0"), GZIP, REFERER, PHOTOS_OLD("V10old", "500"), GZIP, REFERER});
}

TEST_F(QzoneTest, OlderPhotoListRetriesAnEmptyListThroughTheAlbumView) {
    UseRoute();
    server.Route(QStringLiteral("szplist.photo.qq.com"), QStringLiteral("/fcgi-bin/cgi_list_photo"),
                 Page(Qz("photos_v3_end.jsonp")));
    server.Route(QStringLiteral("sznu.photo.qzone.qq.com"),
                 QStringLiteral("/cgi-bin/common/cgi_view_album_v2"), Page(Qz("album_view.jsonp")));
    FetchQzonePhotosOld(state, AddAlbum(QStringLiteral("V11friends"), 0));
    EXPECT_EQ(Addresses(),
              (QStringList{"http://r.photo.store.qq.com/psb?/V11friends/raw1/r/fA.jpg\r\n"
                           "http://b1.photo.store.qq.com/psb?/V11friends/pre1/b/fA.jpg"}));
    ExpectRequests(
        {PHOTOS_OLD("V11friends", "0"), GZIP, REFERER, ALBUM_VIEW("V11friends"), GZIP, REFERER});
}

// Mood pictures.

TEST_F(QzoneTest, MoodPicturesPageBy20PostsWithGrowingPauses) {
    server.Route(kUser, kMoodPath, [](const RecordedRequest& r) {
        const QString pos = QueryItem(r, "pos");
        return Page(Qz(pos == "0"    ? "mood_page1.jsonp"
                       : pos == "20" ? "mood_page2.jsonp"
                                     : "mood_page3.jsonp"));
    });
    const int album = AddRecord(MoodAlbumRecord(QStringLiteral("12345")));

    FetchQzonePhotosOld(state, album);
    EXPECT_TRUE(server.requests().empty());

    FetchQzonePhotos(state, album);
#define MOOD(pos)                                                                               \
    "GET https://user.qzone.qq.com/proxy/domain/taotao.qq.com/cgi-bin/"                         \
    "emotion_cgi_msglist_v6?uin=12345&inCharset=utf-8&outCharset=utf-8&hostUin=12345&notice=0&" \
    "sort=0&pos=" pos                                                                           \
    "&num=20&cgi_host=http%3A%2F%2Ftaotao.qq.com%2Fcgi-bin%2F"                                  \
    "emotion_cgi_msglist_v6&code_version=1&format=jsonp&need_private_comment=1&g_tk=360593186", \
        GZIP, "  Referer: https://qzonestyle.gtimg.cn/qzone/app/mood_v6/html/index.html"
    ExpectRequests({MOOD("0"), MOOD("20"), MOOD("40")});
#undef MOOD
    // No pause after the last page.
    EXPECT_EQ(Pauses(), (std::vector<long long>{4200, 4400}));
    ASSERT_EQ(g_pictureQueue().Count(), 10 + 20 + 2);
    EXPECT_EQ(g_pictureQueue().Row(0).address,
              QStringLiteral("http://a1.qpic.cn/psb?/mood/b/m1_0.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(0).fileName, QStringLiteral("说说1.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(0).headerText, QStringLiteral("Referer: ") + kAccountPage);
}

TEST_F(QzoneTest, MoodRefusalIsShown) {
    server.Route(kUser, kMoodPath, Page(Qz("mood_refused.jsonp")));
    FetchQzonePhotos(state, AddRecord(MoodAlbumRecord(QStringLiteral("12345"))));
    EXPECT_EQ(frontend.messages.size(), 1);
    EXPECT_EQ(g_pictureQueue().Count(), 0);
    EXPECT_EQ(server.requests().size(), 1u);
}

}  // namespace
}  // namespace mosaiq::test
