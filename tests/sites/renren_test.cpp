#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/picture_list_dispatch.h"
#include "sites/renren.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const QString kNoAlbums = QStringLiteral(
    "错误原因：\n1.你没有登录你的人人帐号(在登录菜单里登录,登录时需要勾上下次自动登录)\n2."
    "你没有该相册的访问权限.");

QString Rr(const char* name) {
    return QStringLiteral("renren/") + QLatin1String(name);
}

class RenrenTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        state.m_listType = SiteTypeValue(SiteType::Renren);
    }
    void List(const char* input) {
        bool single = false;
        DispatchAlbumList(state, QString::fromUtf8(input), single);
        EXPECT_FALSE(single);
    }
    int AddAlbum(const char* title, const char* albumRef, int flags = 0) {
        ST_PERLISTRECORD album;
        album.title = QString::fromUtf8(title);
        album.albumRef = QString::fromUtf8(albumRef);
        album.accessFlags = flags;
        return AddRecord(album);
    }
    void ServeClassicUser() {
        Serve("http://photo.renren.com/photo/333/album/relatives?curpage=1",
              Page(Rr("classic_page1.html")));
        Serve("http://photo.renren.com/photo/333/album/relatives/ajax?offset=40&limit=40",
              Page(Rr("classic_next.html")));
        Serve("http://photo.renren.com/photo/333/album/relatives/ajax?offset=80&limit=40",
              Page(Rr("classic_end.html")));
    }
    void ExpectRow(int i, const char* title, const char* albumRef, const char* cover, int count,
                   int flags) const {
        ASSERT_LT(i, state.m_records.Size());
        const ST_PERLISTRECORD& r = *state.m_records.At(i);
        EXPECT_EQ(r.title, QString::fromUtf8(title)) << i;
        EXPECT_EQ(r.albumRef, QString::fromUtf8(albumRef)) << i;
        EXPECT_EQ(r.coverUrl, QString::fromUtf8(cover)) << i;
        EXPECT_EQ(r.pictureCount, count) << i;
        EXPECT_EQ(r.accessFlags, flags) << i;
    }
};

TEST_F(RenrenTest, UserNameIsLookedUpByPidThenNewLayoutAlbumsAreListed) {
    Serve("https://www.renren.com/zhangsan", Page(Rr("person_pid.html")));
    Serve("http://photo.renren.com/photo/222/albumlist/v7?showAll=1",
          Page(Rr("albumlist_v7.html")));

    List("http://www.renren.com/zhangsan");

    ExpectRequests({"GET https://www.renren.com/zhangsan",
                    "GET http://photo.renren.com/photo/222/albumlist/v7?showAll=1"});
    EXPECT_EQ(state.m_account, QStringLiteral("张三"));
    EXPECT_EQ(state.m_subType, SubTypeValue(RenrenSubType::Albums));
    ASSERT_EQ(state.m_records.Size(), 2);
    ExpectRow(0, "旅行", "http://photo.renren.com/photo/222/album-1001/",
              "http://fmn.rrimg.com/c1.jpg", 12, 0);
    ExpectRow(1, "密", "http://photo.renren.com/photo/222/album-1002/",
              "http://fmn.rrimg.com/c2.jpg", 3, kAccessEncrypted);
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(RenrenTest, ProfileOwnerIdFallsBackToTheClassicListPageByPage) {
    Serve("https://www.renren.com/lisi", Page(Rr("person_owner.html")));
    Serve("http://photo.renren.com/photo/333/albumlist/v7?showAll=1",
          Page(Rr("albumlist_none.html")));
    ServeClassicUser();

    List("http://www.renren.com/lisi");

    ExpectRequests(
        {"GET https://www.renren.com/lisi",
         "GET http://photo.renren.com/photo/333/albumlist/v7?showAll=1",
         "GET http://photo.renren.com/photo/333/album/relatives?curpage=1",
         "GET http://photo.renren.com/photo/333/album/relatives/ajax?offset=40&limit=40",
         "GET http://photo.renren.com/photo/333/album/relatives/ajax?offset=80&limit=40"});
    EXPECT_EQ(state.m_account, QStringLiteral("李四"));
    ASSERT_EQ(state.m_records.Size(), 5);
    ExpectRow(0, "毕业", "http://photo.renren.com/photo/333/album-1", "http://fmn.rrimg.com/c1.jpg",
              8, 0);
    ExpectRow(1, "头像相册", "http://photo.renren.com/photo/333/album-2",
              "http://fmn.rrimg.com/c2.jpg", 3, 0);
    ExpectRow(2, "手机相册", "http://photo.renren.com/photo/333/album-3",
              "http://fmn.rrimg.com/c3.jpg", 2, 0);
    ExpectRow(3, "加密相册", "http://photo.renren.com/photo/333/album-4",
              "http://fmn.rrimg.com/c4.jpg", 5, kAccessEncrypted);
    ExpectRow(4, "旅行", "http://photo.renren.com/photo/333/album-5", "http://fmn.rrimg.com/c5.jpg",
              1, 0);
}

TEST_F(RenrenTest, ClassicUserWithoutPagedListReadsTheFullListOnly) {
    Serve("http://photo.renren.com/photo/333/album/relatives?curpage=1",
          Page(Rr("classic_old_page.html")));
    Serve("http://photo.renren.com/photo/333/ajax?__view=async-html&offset=0&limit=500",
          Page(Rr("classic_full.html")));
    FetchRenrenClassicAlbums(state, QStringLiteral("333"));
    ExpectRequests(
        {"GET http://photo.renren.com/photo/333/album/relatives?curpage=1",
         "GET http://photo.renren.com/photo/333/ajax?__view=async-html&offset=0&limit=500"});
    EXPECT_EQ(Titles(), QStringList{"全部"});

    // A full list without the list's end is no list.
    server.ClearRequests();
    state.m_records.Clear();
    Serve("http://photo.renren.com/photo/333/ajax?__view=async-html&offset=0&limit=500",
          Page(Rr("classic_old_page.html")));
    FetchRenrenClassicAlbums(state, QStringLiteral("333"));
    EXPECT_EQ(state.m_records.Size(), 0);
}

TEST_F(RenrenTest, NumericIdNeedsNoPersonPageAndNothingFoundIsSaid) {
    Serve("http://photo.renren.com/photo/444/albumlist/v7?showAll=1",
          Page(Rr("albumlist_none.html")));
    Serve("http://photo.renren.com/photo/444/album/relatives?curpage=1",
          Page(Rr("classic_old_page.html")));
    Serve("http://photo.renren.com/photo/444/ajax?__view=async-html&offset=0&limit=500",
          Page(Rr("classic_old_page.html")));
    List("http://www.renren.com/profile.do?id=444");
    ExpectRequests(
        {"GET http://photo.renren.com/photo/444/albumlist/v7?showAll=1",
         "GET http://photo.renren.com/photo/444/album/relatives?curpage=1",
         "GET http://photo.renren.com/photo/444/ajax?__view=async-html&offset=0&limit=500"});
    EXPECT_EQ(frontend.messages, QStringList{kNoAlbums});
}

TEST_F(RenrenTest, PublicPageStopsAfterAPageOfOneAlbum) {
    Serve("https://page.renren.com/601/album?curpage=0", Page(Rr("page_albums0.html")));
    Serve("https://page.renren.com/601/album?curpage=1", Page(Rr("page_albums1.html")));

    List("http://page.renren.com/601/photos");

    ExpectRequests({"GET https://page.renren.com/601/album?curpage=0",
                    "GET https://page.renren.com/601/album?curpage=1"});
    EXPECT_EQ(state.m_account, QStringLiteral("某品牌"));
    ASSERT_EQ(state.m_records.Size(), 3);
    ExpectRow(0, "春季新品", "http://photo.renren.com/photo/601/album-7001/",
              "http://fmn.rrimg.com/p1.jpg", 20, 0);
    ExpectRow(2, "冬季", "http://photo.renren.com/photo/601/album-7003/",
              "http://fmn.rrimg.com/p3.jpg", 2, 0);
}

TEST_F(RenrenTest, PublicPageWithoutAlbumsFallsBackToTheNewLayout) {
    Serve("https://page.renren.com/brand", Page(Rr("person_pid.html")));
    Serve("https://page.renren.com/222/album?curpage=0", Page(Rr("page_none.html")));
    Serve("http://photo.renren.com/photo/222/albumlist/v7?showAll=1",
          Page(Rr("albumlist_v7.html")));
    List("http://page.renren.com/brand/");
    ExpectRequests({"GET https://page.renren.com/brand",
                    "GET https://page.renren.com/222/album?curpage=0",
                    "GET http://photo.renren.com/photo/222/albumlist/v7?showAll=1"});
    EXPECT_EQ(Titles(), (QStringList{"旅行", "密"}));
}

TEST_F(RenrenTest, SingleAlbumsOfBothLayouts) {
    Serve("http://photo.renren.com/photo/444/album-1001/v7", Page(Rr("album_v7.html")));
    List("http://photo.renren.com/photo/444/album-1001/v7?from=x#top");
    ExpectRow(0, "夏天", "http://photo.renren.com/photo/444/album-1001/", "", 15, 0);
    EXPECT_EQ(state.m_account, QStringLiteral("王五"));  // "我的主页": the owner's name

    state.m_records.Clear();
    Serve("http://photo.renren.com/photo/333/album-9", Page(Rr("album_classic.html")));
    List("http://photo.renren.com/photo/333/album-9?frommyphoto");
    ExpectRow(0, "冬天", "http://photo.renren.com/photo/333/album-9", "", 9, 0);
    EXPECT_EQ(state.m_account, QStringLiteral("赵六"));  // "我的相册": the guest name

    ExpectRequests({"GET http://photo.renren.com/photo/444/album-1001/v7",
                    "GET http://photo.renren.com/photo/333/album-9"});
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(RenrenTest, PageThatIsNoAlbumListsNothing) {
    Serve("http://photo.renren.com/photo/333/album-9", Page(Rr("not_album.html")));
    List("http://photo.renren.com/photo/333/album-9");
    // A title running on for more than 300 characters was cut from some other page.
    Serve("http://photo.renren.com/photo/333/album-9/v7",
          Text("'albumName':'" + QByteArray(301, 'x') + "'"));
    List("http://photo.renren.com/photo/333/album-9/v7");
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(frontend.messages, (QStringList{kNoAlbums, kNoAlbums}));
}

TEST_F(RenrenTest, ZhanPostsByMonth) {
    Serve("http://zhan.renren.com/somesite?from=home", Page(Rr("zhan_site.html")));
    Serve("http://zhan.renren.com/archive?site_id=5555", Page(Rr("zhan_archive.html")));
    Serve("http://zhan.renren.com/archive/archiveByTime?site_id=5555&month=201301&page=0",
          Page(Rr("zhan_month1.json")));
    Serve("http://zhan.renren.com/archive/archiveByTime?site_id=5555&month=201301&page=1",
          Page(Rr("zhan_empty.json")));
    Serve("http://zhan.renren.com/archive/archiveByTime?site_id=5555&month=201212&page=0",
          Page(Rr("zhan_month2.json")));
    Serve("http://zhan.renren.com/archive/archiveByTime?site_id=5555&month=201212&page=1",
          Page(Rr("zhan_empty.json")));

    List("http://zhan.renren.com/somesite?from=home");

    ExpectRequests(
        {"GET http://zhan.renren.com/somesite?from=home",
         "GET http://zhan.renren.com/archive?site_id=5555",
         "GET http://zhan.renren.com/archive/archiveByTime?site_id=5555&month=201301&page=0",
         "GET http://zhan.renren.com/archive/archiveByTime?site_id=5555&month=201301&page=1",
         "GET http://zhan.renren.com/archive/archiveByTime?site_id=5555&month=201212&page=0",
         "GET http://zhan.renren.com/archive/archiveByTime?site_id=5555&month=201212&page=1"});
    EXPECT_EQ(state.m_subType, SubTypeValue(RenrenSubType::Zhan));
    EXPECT_EQ(state.m_account, QStringLiteral("美食站"));
    EXPECT_TRUE(state.m_subDir.isEmpty());
    ASSERT_EQ(state.m_records.Size(), 2);
    ExpectRow(0, "美食", "http://zhan.renren.com/somesite?gid=123&ajax=true", "", -1, 0);
    ExpectRow(1, "年夜饭", "http://zhan.renren.com/somesite?gid=125&ajax=true", "", -1, 0);
}

TEST_F(RenrenTest, ZhanTagListsThatTagIntoItsOwnFolder) {
    Serve("http://zhan.renren.com/somesite?tagId=77&from=x", Page(Rr("zhan_site.html")));
    Serve("http://zhan.renren.com/archive/archiveByTag?site_id=5555&tag_id=77&page=0",
          Page(Rr("zhan_month2.json")));
    Serve("http://zhan.renren.com/archive/archiveByTag?site_id=5555&tag_id=77&page=1",
          Page(Rr("zhan_month2.json")));  // a server that ignores the page

    List("http://zhan.renren.com/somesite?tagId=77&from=x");

    ExpectRequests(
        {"GET http://zhan.renren.com/somesite?tagId=77&from=x",
         "GET http://zhan.renren.com/archive/archiveByTag?site_id=5555&tag_id=77&page=0",
         "GET http://zhan.renren.com/archive/archiveByTag?site_id=5555&tag_id=77&page=1"});
    EXPECT_EQ(state.m_subDir, QStringLiteral("甜点"));
    EXPECT_EQ(Titles(), QStringList{"年夜饭"});
}

TEST_F(RenrenTest, NewLayoutPicturesPageByPageNumberedInOrder) {
    const int index =
        AddAlbum("密", "http://photo.renren.com/photo/222/album-1002/", kAccessEncrypted);
    Serve("http://photo.renren.com/photo/222/album-1002/bypage/ajax/v7?page=1&pageSize=40",
          Page(Rr("v7_photos1.json")));
    Serve("http://photo.renren.com/photo/222/album-1002/bypage/ajax/v7?page=2&pageSize=40",
          Page(Rr("v7_photos_end.json")));

    frontend.answers = {false};  // declining still tries the pictures
    FetchRenrenNewLayoutPhotos(state, index);
    EXPECT_EQ(frontend.questions, QStringList{"加密相册,是否输入密码"});
    EXPECT_TRUE(frontend.logins.isEmpty());
    const char* referer =
        "http://photo.renren.com/photo/222/album-1002/bypage/ajax/v7?page=1&pageSize=40";
    EXPECT_EQ(Queued(),
              (QStringList{
                  QStringLiteral("http://fmn.rrimg.com/n1.jpg <- 1.jpg | Referer: ") + referer,
                  QStringLiteral("http://fmn.rrimg.com/n2.jpg <- 2.jpg | Referer: ") + referer}));

    g_pictureQueue().Clear();
    frontend.answers = {true};
    FetchRenrenNewLayoutPhotos(state, index);
    EXPECT_EQ(frontend.logins, QStringList{"http://photo.renren.com/photo/222/album-1002/"});
    EXPECT_EQ(g_pictureQueue().Count(), 2);
    ExpectRequests(
        {"GET http://photo.renren.com/photo/222/album-1002/bypage/ajax/v7?page=1&pageSize=40",
         "GET http://photo.renren.com/photo/222/album-1002/bypage/ajax/v7?page=2&pageSize=40",
         "GET http://photo.renren.com/photo/222/album-1002/bypage/ajax/v7?page=1&pageSize=40",
         "GET http://photo.renren.com/photo/222/album-1002/bypage/ajax/v7?page=2&pageSize=40"});
}

TEST_F(RenrenTest, ClassicPicturesTakeTheLargePageWhenTheListHasNoBigAddress) {
    const int index = AddAlbum("旧名", "http://photo.renren.com/photo/333/album-9?frommyphoto");
    Serve("http://photo.renren.com/photo/333/album-9?frommyphoto", Page(Rr("album_classic.html")));
    Serve("http://photo.renren.com/photo/333/album-9/bypage/ajax?curPage=0&pagenum=65535",
          Page(Rr("classic_photos.json")));
    Serve("http://photo.renren.com/photo/333/album-9/bypage/ajax?curPage=1&pagenum=65535",
          Page(Rr("classic_photos_none.json")));
    Serve("http://photo.renren.com/photo/333/photo-77/large?xtype=album", Page(Rr("large77.html")));

    FetchRenrenClassicPhotos(state, index);

    ExpectRequests(
        {"GET http://photo.renren.com/photo/333/album-9?frommyphoto",
         "GET http://photo.renren.com/photo/333/album-9/bypage/ajax?curPage=0&pagenum=65535",
         "GET http://photo.renren.com/photo/333/photo-77/large?xtype=album",
         "GET http://photo.renren.com/photo/333/album-9/bypage/ajax?curPage=1&pagenum=65535"});
    const QString referer = QStringLiteral(
        " | Referer: "
        "http://photo.renren.com/photo/333/album-9/bypage/ajax?curPage=0&pagenum=65535");
    // A photo without title takes the album page's title; the listed album keeps its name
    // (and its folder).
    EXPECT_EQ(Titles(), QStringList{"旧名"});
    EXPECT_EQ(Queued(), (QStringList{"http://fmn.rrimg.com/original_76.jpg <- 湖边.jpg" + referer,
                                     "http://fmn.rrimg.com/xlarge_77.jpg <- 冬天.jpg" + referer}));
}

TEST_F(RenrenTest, DecliningThePasswordEndsClassicAndViewerLists) {
    const int index =
        AddAlbum("加密相册", "http://photo.renren.com/photo/333/album-4", kAccessEncrypted);
    FetchRenrenClassicPhotos(state, index);
    FetchRenrenViewerWalk(state, index);
    EXPECT_EQ(frontend.questions.size(), 2);
    ExpectRequests({});

    frontend.defaultAnswer = true;
    Serve("http://photo.renren.com/photo/333/album-4", Page(Rr("not_album.html")));
    FetchRenrenClassicPhotos(state, index);
    EXPECT_EQ(frontend.logins, QStringList{"http://photo.renren.com/photo/333/album-4/private"});
}

TEST_F(RenrenTest, PictureListsAreTriedInOrderUntilOneQueuesPictures) {
    const int index = AddAlbum("冬天", "http://photo.renren.com/photo/333/album-9");
    Serve("http://photo.renren.com/photo/333/album-9", Page(Rr("album_classic.html")));
    Serve("http://photo.renren.com/photo/333/album-9/bypage/ajax?curPage=0&pagenum=65535",
          Page(Rr("classic_photos_none.json")));
    Serve("http://photo.renren.com/photo/333/photo-51?albumId=9", Page(Rr("viewer1.json")));
    Serve("http://photo.renren.com/photo/333/photo-52", Page(Rr("viewer2.json")));
    state.m_subType = SubTypeValue(RenrenSubType::Albums);

    DispatchPictureList(state, index);

    // The new layout's address of a classic album is not found (a 404 page without pictures).
    ExpectRequests(
        {"GET http://photo.renren.com/photo/333/album-9bypage/ajax/v7?page=1&pageSize=40",
         "GET http://photo.renren.com/photo/333/album-9",
         "GET http://photo.renren.com/photo/333/album-9/bypage/ajax?curPage=0&pagenum=65535",
         "GET http://photo.renren.com/photo/333/album-9",
         "GET http://photo.renren.com/photo/333/photo-51?albumId=9",
         "GET http://photo.renren.com/photo/333/photo-52"});
    EXPECT_EQ(Queued(), (QStringList{"http://fmn.rrimg.com/x3.jpg <- 一.jpg | Referer: "
                                     "http://photo.renren.com/photo/333/photo-51?albumId=9",
                                     "http://fmn.rrimg.com/l2.jpg <- 冬天.jpg | Referer: "
                                     "http://photo.renren.com/photo/333/photo-51?albumId=9",
                                     "http://fmn.rrimg.com/l1.jpg <- 三.jpg | Referer: "
                                     "http://photo.renren.com/photo/333/photo-52"}));
}

TEST_F(RenrenTest, ViewerPageWithoutLowerPositionEndsTheWalk) {
    const int index = AddAlbum("冬天", "http://photo.renren.com/photo/333/album-9");
    Serve("http://photo.renren.com/photo/333/album-9", Page(Rr("album_classic.html")));
    // Its link leads back to itself.
    Serve("http://photo.renren.com/photo/333/photo-51?albumId=9", Page(Rr("viewer_stuck.json")));
    FetchRenrenViewerWalk(state, index);
    ExpectRequests({"GET http://photo.renren.com/photo/333/album-9",
                    "GET http://photo.renren.com/photo/333/photo-51?albumId=9",
                    "GET http://photo.renren.com/photo/333/photo-51?albumId=9"});
    EXPECT_EQ(g_pictureQueue().Count(), 1);
}

TEST_F(RenrenTest, ZhanPostGivesOnePictureFromItsMainPart) {
    struct Case {
        const char* page;
        const char* queued;
    };
    const Case cases[] = {
        {"zhan_post_photo.html", "http://fmn.rrimg.com/z1.jpg <- 美食.jpg"},
        {"zhan_post_text.html", "http://fmn.rrimg.com/z2.jpg <- 美食.jpg"},
    };
    state.m_subType = SubTypeValue(RenrenSubType::Zhan);
    for (const Case& c : cases) {
        g_pictureQueue().Clear();
        state.m_records.Clear();
        const int index = AddAlbum("美食", "http://zhan.renren.com/somesite?gid=123&ajax=true");
        Serve("http://zhan.renren.com/somesite?gid=123&ajax=true", Page(Rr(c.page)));
        DispatchPictureList(state, index);
        EXPECT_EQ(Queued(),
                  QStringList{QString::fromUtf8(c.queued) +
                              " | Referer: http://zhan.renren.com/somesite?gid=123&ajax=true"})
            << c.page;
    }
}

}  // namespace
}  // namespace mosaiq::test
