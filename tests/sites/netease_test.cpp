#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/netease.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

// The album data call of user "walker": the album id follows "number%3A" (or "string%3A" in
// the fallback), then one of the two tails.
#define DATA_CALL                                                                      \
    "http://photo.163.com/photo/walker/dwr/call/plaincall/AlbumBean.getAlbumData.dwr?" \
    "callCount=1&scriptSessionId=%24%7BscriptSessionId%7D187&c0-scriptName=AlbumBean&" \
    "c0-methodName=getAlbumData&c0-id=0&c0-param0="
#define DATA_TAIL                                                           \
    "&c0-param1=string%3A&c0-param2=string%3A&c0-param3=number%3A24881696&" \
    "c0-param4=boolean%3Afalse&batchId=530377"
#define VERIFIED_TAIL                                                               \
    "&c0-param1=string%3A&c0-param2=string%3Afromblog&c0-param3=string%3A24881696&" \
    "c0-param4=boolean%3Afalse&batchId=530377"

QString Ne(const char* name) {
    return QStringLiteral("netease/") + QLatin1String(name);
}

class NeteaseTest : public SiteTest {
  protected:
    int AddAlbum(const QString& title, const QString& albumRef, const QString& id) {
        ST_PERLISTRECORD album;
        album.title = title;
        album.albumRef = albumRef;
        album.createdText = id;
        return AddRecord(album);
    }
};

TEST_F(NeteaseTest, AlbumListReadsTheScriptAndAsksForAlbumsItDoesNotAddress) {
    Serve("http://photo.163.com/walker/", Page(Ne("home.html")));
    Serve("http://s1.ph.126.net/ab12/albums.js", Page(Ne("albums.js")));
    Serve(DATA_CALL "number%3A102" DATA_TAIL, Page(Ne("data_102.js")));
    Serve(DATA_CALL "number%3A103" DATA_TAIL, Broken());
    Serve(DATA_CALL "number%3A105" DATA_TAIL, Page(Ne("data_105.js")));

    FetchNeteaseAlbums(state, QStringLiteral("http://photo.163.com/walker/"));

    ExpectRequests({"GET http://photo.163.com/walker/", "GET http://s1.ph.126.net/ab12/albums.js",
                    "GET " DATA_CALL "number%3A102" DATA_TAIL,
                    "GET " DATA_CALL "number%3A103" DATA_TAIL,
                    "GET " DATA_CALL "number%3A105" DATA_TAIL});
    EXPECT_EQ(state.m_account, QStringLiteral("walker"));
    EXPECT_EQ(state.m_jobText3, QStringLiteral("walker"));

    struct Expected {
        const char* title;
        const char* albumRef;
        const char* cover;
        const char* id;
        int count;
        int flags;
    };
    // 103 is missing: its data call failed.
    const Expected expected[] = {
        {"春游", "s1.ph.126.net/ab12/101.js", "http://img12.photo.163.com/photo/cover1.jpg", "101",
         3, 0},
        {"私密", "s1.ph.126.net/ab12/102.js", "http://imgab.ph.126.net/c2.jpg", "102", 5,
         kAccessPrivate},
        {"问答", "104", "http://b.bst.126.net/image/default/fwxqa.gif", "104", 2, kAccessEncrypted},
        {"密码", "105", "http://b.bst.126.net/photo/image/default/fwxmm.gif", "105", 7,
         kAccessEncrypted},
        // A cover server that is no host name gives no cover.
        {"坏封面", "s1.ph.126.net/ab12/106.js", "", "106", 1, 0},
    };
    ASSERT_EQ(state.m_records.Size(), int(std::size(expected)));
    for (int i = 0; i < state.m_records.Size(); ++i) {
        const ST_PERLISTRECORD& r = *state.m_records.At(i);
        EXPECT_EQ(r.title, QString::fromUtf8(expected[i].title));
        EXPECT_EQ(r.albumRef, QLatin1String(expected[i].albumRef));
        EXPECT_EQ(r.coverUrl, QLatin1String(expected[i].cover));
        EXPECT_EQ(r.createdText, QLatin1String(expected[i].id));
        EXPECT_EQ(r.pictureCount, expected[i].count);
        EXPECT_EQ(r.accessFlags, expected[i].flags) << i;
    }
    EXPECT_EQ(state.m_records.At(0)->extraRef, QStringLiteral("第一行\r\n第二行"));
}

TEST_F(NeteaseTest, EmptyAlbumShowsTheDefaultCoverWhateverItsPath) {
    Serve("http://photo.163.com/walker/", Page(Ne("home.html")));
    Serve("http://s1.ph.126.net/ab12/albums.js",
          Text("[{id:7,name:'x',au:4,count:0,curl:'ab/c.jpg',purl:''}]"));
    Serve(DATA_CALL "number%3A7" DATA_TAIL, Page(Ne("data_105.js")));
    FetchNeteaseAlbums(state, QStringLiteral("http://photo.163.com/walker/"));
    ASSERT_EQ(state.m_records.Size(), 1);
    EXPECT_EQ(state.m_records.At(0)->coverUrl,
              QStringLiteral("http://b.bst.126.net/image/default/none160.gif"));
    EXPECT_EQ(state.m_records.At(0)->accessFlags, kAccessFriends);
}

TEST_F(NeteaseTest, PageWithoutListAddressReadsTheUsersHomePage) {
    Serve("http://photo.163.com/walker/album/1", Page(Ne("album_page.html")));
    Serve("http://photo.163.com/walker", Page(Ne("home.html")));
    Serve("http://s1.ph.126.net/ab12/albums.js", Text("[{id:9,name:'one',au:0,count:1,curl:'',"
                                                      "purl:'s1.ph.126.net/9.js'}]"));
    FetchNeteaseAlbums(state, QStringLiteral("http://photo.163.com/walker/album/1"));
    ExpectRequests({"GET http://photo.163.com/walker/album/1", "GET http://photo.163.com/walker",
                    "GET http://s1.ph.126.net/ab12/albums.js"});
    EXPECT_EQ(Titles(), QStringList{"one"});
}

TEST_F(NeteaseTest, PageWithoutHostNameIsAWrongAddress) {
    Serve("http://photo.163.com/x", Page(Ne("no_host.html")));
    FetchNeteaseAlbums(state, QStringLiteral("http://photo.163.com/x"));
    ExpectRequests({"GET http://photo.163.com/x"});
    EXPECT_EQ(frontend.messages, QStringList{"输入网址有误，应该输入相册网址或首页网址"});
    EXPECT_EQ(state.m_records.Size(), 0);
}

TEST_F(NeteaseTest, UnreachableFirstPageIsSaid) {
    Serve("http://photo.163.com/walker/", Broken());
    Serve("http://walker.pp.163.com/", Broken());
    FetchNeteaseAlbums(state, QStringLiteral("http://photo.163.com/walker/"));
    FetchNeteasePpAlbums(state, QStringLiteral("http://walker.pp.163.com/"));
    EXPECT_EQ(frontend.messages,
              (QStringList{"无法读取网页：http://photo.163.com/walker/\n请检查网址和网络连接后重试",
                           "无法读取网页：http://walker.pp.163.com/\n请检查网址和网络连接后重试"}));
    EXPECT_EQ(state.m_records.Size(), 0);
}

TEST_F(NeteaseTest, PictureListBuildsEveryAddressFromItsServer) {
    const int index = AddAlbum("春游", "s1.ph.126.net/ab12/101.js", "101");
    Serve("http://s1.ph.126.net/ab12/101.js", Page(Ne("photos.js")));

    FetchNeteasePhotos(state, index);

    ExpectRequests({"GET http://s1.ph.126.net/ab12/101.js"});
    EXPECT_EQ(Queued(), (QStringList{"http://img12.photo.163.com/photo/a.jpg <- 海边.jpg",
                                     "http://imgab.ph.126.net/b.jpg <- 春游.jpg",
                                     "http://img.photo.163.com/photo/c.jpg <- 日落.jpg"}));
}

TEST_F(NeteaseTest, ShortScriptFallsBackToTheDataCallWithTheIdAsText) {
    const int index = AddAlbum("一张", "s1.ph.126.net/ab12/old.js", "104");
    state.m_jobText3 = QStringLiteral("walker");
    Serve("http://s1.ph.126.net/ab12/old.js", Text("var x;"));
    Serve(DATA_CALL "string%3A104" DATA_TAIL, Page(Ne("verified.js")));
    Serve("http://s1.ph.126.net/ab12/104.js", Page(Ne("one_photo.js")));

    FetchNeteasePhotos(state, index);

    ExpectRequests({"GET http://s1.ph.126.net/ab12/old.js",
                    "GET " DATA_CALL "string%3A104" DATA_TAIL,
                    "GET http://s1.ph.126.net/ab12/104.js"});
    EXPECT_EQ(Queued(), QStringList{"http://img7.photo.163.com/photo/z.jpg <- 一张.jpg"});
}

TEST_F(NeteaseTest, AlbumKnownByItsIdIsReadAfterTheVerificationWindow) {
    const int index = AddAlbum("问答", "104", "104");
    state.m_jobText3 = QStringLiteral("walker");
    Serve(DATA_CALL "number%3A104" VERIFIED_TAIL, Page(Ne("verified.js")));
    Serve("http://s1.ph.126.net/ab12/104.js", Page(Ne("one_photo.js")));

    frontend.answers = {false};
    FetchNeteasePhotos(state, index);
    EXPECT_EQ(frontend.questions,
              QStringList{"为非公开相册,是否进行验证？\n\n验证成功后请手动关闭验证框"});
    EXPECT_TRUE(frontend.logins.isEmpty());
    ExpectRequests({});

    frontend.answers = {true};
    FetchNeteasePhotos(state, index);
    EXPECT_EQ(frontend.logins, QStringList{"http://photo.163.com/walker/list/#aid=104&m=1&p=1"});
    ExpectRequests(
        {"GET " DATA_CALL "number%3A104" VERIFIED_TAIL, "GET http://s1.ph.126.net/ab12/104.js"});
    EXPECT_EQ(Queued(), QStringList{"http://img7.photo.163.com/photo/z.jpg <- 一张.jpg"});
}

TEST_F(NeteaseTest, VerificationAnswerWithoutScriptEndsTheAlbum) {
    const int index = AddAlbum("问答", "104", "104");
    state.m_jobText3 = QStringLiteral("walker");
    frontend.defaultAnswer = true;
    Serve(DATA_CALL "number%3A104" VERIFIED_TAIL, Page(Ne("no_script.js")));
    FetchNeteasePhotos(state, index);
    ExpectRequests({"GET " DATA_CALL "number%3A104" VERIFIED_TAIL});
    EXPECT_EQ(g_pictureQueue().Count(), 0);
}

TEST_F(NeteaseTest, AlbumWithoutAddressTellsTheUserToLogIn) {
    const int index = AddAlbum("私密", "", "102");
    FetchNeteasePhotos(state, index);
    ExpectRequests({});
    EXPECT_EQ(frontend.messages,
              QStringList{"该相册为非公开,如果该相册为私密相册,登录帐号后重新获取相册列表可下载"});
}

TEST_F(NeteaseTest, PpUserListsItsSets) {
    Serve("http://walker.pp.163.com/", Page(Ne("pp_home.html")));
    state.m_listType = SiteTypeValue(SiteType::Netease);
    bool single = false;
    DispatchAlbumList(state, QStringLiteral("http://walker.pp.163.com/"), single);

    ExpectRequests({"GET http://walker.pp.163.com/"});
    EXPECT_EQ(state.m_subType, SubTypeValue(NeteaseSubType::PhotoSite));
    EXPECT_EQ(state.m_account, QStringLiteral("摄影师"));
    ASSERT_EQ(state.m_records.Size(), 2);
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.title, QStringLiteral("山水"));
    EXPECT_EQ(first.albumRef, QStringLiteral("http://walker.pp.163.com/pp/1.html"));
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://img1.ph.126.net/s1.jpg"));
    EXPECT_EQ(first.pictureCount, 12);
    EXPECT_EQ(state.m_records.At(1)->pictureCount, 3);
}

TEST_F(NeteaseTest, PpSetIsReadBetweenItsMarkersOnly) {
    ST_PERLISTRECORD set;
    set.title = QStringLiteral("山水");
    set.albumRef = QStringLiteral("http://walker.pp.163.com/pp/1.html");
    const int index = AddRecord(set);
    Serve("http://walker.pp.163.com/pp/1.html", Page(Ne("pp_set.html")));
    state.m_listType = SiteTypeValue(SiteType::Netease);
    state.m_subType = SubTypeValue(NeteaseSubType::PhotoSite);

    DispatchPictureList(state, index);

    ExpectRequests({"GET http://walker.pp.163.com/pp/1.html"});
    EXPECT_EQ(Queued(), (QStringList{"http://img2.ph.126.net/p1.jpg <- 晨光.jpg",
                                     "http://img2.ph.126.net/p2.jpg <- 山水.jpg"}));
}

TEST_F(NeteaseTest, PhotoDispatchListsAUserWithoutMessages) {
    Serve("http://photo.163.com/walker/", Page(Ne("home.html")));
    Serve("http://s1.ph.126.net/ab12/albums.js", Text("[{id:9,name:'one',au:0,count:1,curl:'',"
                                                      "purl:'s1.ph.126.net/9.js'}]"));
    state.m_listType = SiteTypeValue(SiteType::Netease);
    bool single = false;
    DispatchAlbumList(state, QStringLiteral("http://photo.163.com/walker/"), single);
    EXPECT_EQ(Titles(), QStringList{"one"});
    EXPECT_EQ(state.m_subType, kNoSubType);  // the photo albums' pictures: any sub-type but 1
    EXPECT_TRUE(frontend.messages.isEmpty());
    EXPECT_FALSE(single);
}

}  // namespace
}  // namespace mosaiq::test
