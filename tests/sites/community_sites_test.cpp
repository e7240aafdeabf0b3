#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/babytree.h"
#include "sites/hupu.h"
#include "sites/pconline.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const QString kHupuLoginHint = QStringLiteral(
    "请先在登录菜单里登录虎扑帐号后重试(登录时勾上下次自动登录)\n\n如果登录菜单里不能登录，"
    "请在IE里登录");

// The community sites: Babytree, PConline and Hupu.
class CommunitySitesTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders = {QStringLiteral("Accept-Encoding"), QStringLiteral("Referer")};
    }
    void List(SiteType type, const char* input) {
        state.m_listType = SiteTypeValue(type);
        bool single = true;
        DispatchAlbumList(state, QString::fromUtf8(input), single);
        EXPECT_FALSE(single);
    }
    int Album(const char* title, const char* albumRef) {
        ST_PERLISTRECORD record;
        record.title = QString::fromUtf8(title);
        record.albumRef = QString::fromUtf8(albumRef);
        return AddRecord(record);
    }
    // The download job's call for the album, with the list job's site type and sub-type.
    void Download(int listType, int subType, int index) {
        state.m_listType = listType;
        state.m_subType = subType;
        DispatchPictureList(state, index);
    }
    // "title | albumRef | coverUrl | pictureCount" of every listed album.
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < state.m_records.Size(); ++i) {
            const ST_PERLISTRECORD& r = *state.m_records.At(i);
            EXPECT_EQ(r.accessFlags, 0);
            rows << QStringLiteral("%1 | %2 | %3 | %4")
                        .arg(r.title, r.albumRef, r.coverUrl, QString::number(r.pictureCount));
        }
        return rows;
    }
};

// --- Babytree ---

TEST_F(CommunitySitesTest, BabytreeFirstFormListsTheScriptListPageByPage) {
    Serve("http://home.babytree.com/tester/photo/list?pg=1", Page("babytree/first_p1.html"));
    Serve("http://home.babytree.com/tester/photo/list?pg=2", Page("babytree/first_p2.html"));

    List(SiteType::Babytree, "http://home.babytree.com/tester/photo");

    ExpectRequests({"GET http://home.babytree.com/tester/photo/list?pg=1",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://home.babytree.com/tester/photo/list?pg=2",
                    "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(Rows(), (QStringList{"满月 | http://home.babytree.com/tester/photo/album/11 | "
                                   "http://pic.babytree.com/c11.jpg | 30",
                                   "百天 | http://home.babytree.com/tester/photo/album/12 | "
                                   "http://pic.babytree.com/c12.jpg | 8",
                                   "周岁 | http://home.babytree.com/tester/photo/album/13 | "
                                   "http://pic.babytree.com/c13.jpg | 2"}));
    EXPECT_EQ(state.m_subType, SubTypeValue(BabytreeSubType::FirstForm));
    EXPECT_EQ(state.m_account, QStringLiteral("小宝"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("tester"));
}

TEST_F(CommunitySitesTest, BabytreeSecondFormRunsWhenTheFirstListsNothing) {
    Serve("http://home.babytree.com/tester/photo/list?pg=1", Page("babytree/first_empty.html"));
    const char* second =
        "http://www.babytree.com/user/"
        "showuser.php?uid=utester&tab=photo&view=album_list&order=&pg=";
    Serve(QString::fromUtf8(second) + u'1', Page("babytree/second_p1.html"));
    Serve(QString::fromUtf8(second) + u'2', Page("babytree/second_p2.html"));

    List(SiteType::Babytree, "http://home.babytree.com/tester/");

    ExpectRequests({"GET http://home.babytree.com/tester/photo/list?pg=1",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://www.babytree.com/user/"
                    "showuser.php?uid=utester&tab=photo&view=album_list&order=&pg=1",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://www.babytree.com/user/"
                    "showuser.php?uid=utester&tab=photo&view=album_list&order=&pg=2",
                    "  Accept-Encoding: gzip, deflate"});
    // The album after the page's end marker is not read.
    EXPECT_EQ(Rows(), (QStringList{"满月 | /user/showuser.php?uid=utester&tab=photo&view=album&"
                                   "album_id=5 | http://pic.babytree.com/c5.jpg | 30",
                                   "百天 | /user/showuser.php?uid=utester&tab=photo&view=album&"
                                   "album_id=6 | http://pic.babytree.com/c6.jpg | 4"}));
    EXPECT_EQ(state.m_subType, SubTypeValue(BabytreeSubType::SecondForm));
    EXPECT_EQ(state.m_account, QStringLiteral("小宝"));
}

TEST_F(CommunitySitesTest, BabytreeFirstFormPhotosTakeTheLargeAddressOfTheirPage) {
    const int index = Album("满月", "http://home.babytree.com/tester/photo/album/11");
    Serve("http://home.babytree.com/tester/photo/albumAjax/11?format=json&pg=1",
          Page("babytree/photos_p1.json"));
    Serve("http://home.babytree.com/tester/photo/albumAjax/11?format=json&pg=2",
          Page("babytree/photos_end.json"));
    Serve("http://home.babytree.com/tester/photo/photo/101", Page("babytree/photo101.html"));
    Serve("http://home.babytree.com/tester/photo/photo/102", Text(""));

    Download(13, 0, index);

    ExpectRequests(
        {"GET http://home.babytree.com/tester/photo/albumAjax/11?format=json&pg=1",
         "  Accept-Encoding: gzip, deflate", "GET http://home.babytree.com/tester/photo/photo/101",
         "  Accept-Encoding: gzip, deflate", "GET http://home.babytree.com/tester/photo/photo/102",
         "  Accept-Encoding: gzip, deflate",
         "GET http://home.babytree.com/tester/photo/albumAjax/11?format=json&pg=2",
         "  Accept-Encoding: gzip, deflate"});
    // The photo whose page cannot be read is queued with its thumbnail.
    EXPECT_EQ(Queued(), (QStringList{"http://pic.babytree.com/b/101.jpg <- 笑.jpg",
                                     "http://pic.babytree.com/t/102.jpg <- 睡.jpg"}));
}

TEST_F(CommunitySitesTest, BabytreeSecondFormPhotosTakeTheFirstPictureOfTheirBigPage) {
    const int index =
        Album("满月", "/user/showuser.php?uid=utester&tab=photo&view=album&album_id=5");
    const QString album = QStringLiteral(
        "http://www.babytree.com/user/"
        "showuser.php?uid=utester&tab=photo&view=album&album_id=5&pg=");
    Serve(album + u'1', Page("babytree/second_photos_p1.html"));
    Serve(album + u'2', Page("babytree/second_photos_p2.html"));
    const QString photo = QStringLiteral(
        "http://www.babytree.com/user/showuser.php?uid=utester&tab=photo&view=photo&photo_id=");
    Serve(photo + QStringLiteral("51&show=big"), Page("babytree/photo51.html"));
    Serve(photo + QStringLiteral("52&show=big"), Page("babytree/photo52.html"));

    Download(13, 1, index);

    ExpectRequests(
        {"GET http://www.babytree.com/user/"
         "showuser.php?uid=utester&tab=photo&view=album&album_id=5&pg=1",
         "  Accept-Encoding: gzip, deflate",
         "GET http://www.babytree.com/user/"
         "showuser.php?uid=utester&tab=photo&view=photo&photo_id=51&show=big",
         "  Accept-Encoding: gzip, deflate",
         "GET http://www.babytree.com/user/"
         "showuser.php?uid=utester&tab=photo&view=album&album_id=5&pg=2",
         "  Accept-Encoding: gzip, deflate",
         "GET http://www.babytree.com/user/"
         "showuser.php?uid=utester&tab=photo&view=photo&photo_id=52&show=big",
         "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(Queued(), (QStringList{"http://pic.babytree.com/b/51.jpg <- 抬头.jpg",
                                     "http://pic.babytree.com/t/52.jpg <- 翻身.jpg"}));
}

// --- PConline ---

TEST_F(CommunitySitesTest, PconlinePagesFillThePlaceholder) {
    Serve("https://my.pconline.com.cn/tester/myphoto_p1_n15.html", Page("pconline/list_p1.html"));
    Serve("https://my.pconline.com.cn/tester/myphoto_p2_n15.html", Page("pconline/list_p2.html"));

    List(SiteType::Pconline, "http://my.pconline.com.cn/tester/");

    ExpectRequests({"GET https://my.pconline.com.cn/tester/myphoto_p1_n15.html",
                    "  Accept-Encoding: gzip, deflate",
                    "GET https://my.pconline.com.cn/tester/myphoto_p2_n15.html",
                    "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(Rows(), (QStringList{"春天 | http://my.pconline.com.cn/photo/list_1001.html | "
                                   "http://img.pconline.com.cn/c1001.jpg | -1",
                                   "夏天 | http://my.pconline.com.cn/photo/list_1002.html | "
                                   "http://img.pconline.com.cn/c1002.jpg | -1",
                                   "秋天 | http://my.pconline.com.cn/photo/list_1003.html | "
                                   "http://img.pconline.com.cn/c1003.jpg | -1"}));
    EXPECT_EQ(state.m_account, QStringLiteral("小明"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("_p2_"));
}

TEST_F(CommunitySitesTest, PconlineAccountFallsBackToTheUserOfTheAddress) {
    Serve("https://my.pconline.com.cn/tester/myphoto_p1_n15.html", Page("pconline/list_p2.html"));
    List(SiteType::Pconline, "http://my.pconline.com.cn/tester/");
    EXPECT_EQ(state.m_account, QStringLiteral("tester"));
    EXPECT_EQ(state.m_records.Size(), 1);
}

TEST_F(CommunitySitesTest, PconlinePicturesAreNumberedAfterTheAlbum) {
    const int index = Album("A", "http://my.pconline.com.cn/photo/list_1001.html");
    Serve("http://my.pconline.com.cn/photo/list_1001.html", Page("pconline/album.html"));

    Download(14, -1, index);

    ExpectRequests(
        {"GET http://my.pconline.com.cn/photo/list_1001.html", "  Accept-Encoding: gzip, deflate"});
    // Reading ends at the article frame: its picture is not the album's.
    EXPECT_EQ(Queued(), (QStringList{"http://img.pconline.com.cn/p/1.jpg <- A (1).jpg",
                                     "http://img.pconline.com.cn/p/2.jpg <- A (2).jpg",
                                     "http://img.pconline.com.cn/p/3.jpg <- A (3).jpg"}));
}

// --- Hupu ---

TEST_F(CommunitySitesTest, HupuListsEveryAlbumPageOfTheUser) {
    Serve("http://my.hupu.com/tester/photo-1", Page("hupu/albums_p1.html"));
    Serve("http://my.hupu.com/tester/photo-2", Page("hupu/albums_p2.html"));

    List(SiteType::Hupu, "http://my.hupu.com/tester/photo?from=nav");

    ExpectRequests({"GET http://my.hupu.com/tester/photo-1", "  Accept-Encoding: gzip, deflate",
                    "GET http://my.hupu.com/tester/photo-2", "  Accept-Encoding: gzip, deflate"});
    // The locked album's fields follow its password call; the untitled one shows its link text.
    EXPECT_EQ(
        Rows(),
        (QStringList{"湖人 | tester/photo/a101 | http://i1.hoopchina.com.cn/c101.jpg | 20",
                     "私密 | tester/photo/a102 | http://i1.hoopchina.com.cn/c102.jpg | 5",
                     "无题相册 | tester/photo/a103 | http://i1.hoopchina.com.cn/c103.jpg | 2"}));
    EXPECT_EQ(state.m_account, QStringLiteral("tester"));
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(CommunitySitesTest, HupuAlbumAddressListsThatAlbumOnly) {
    Serve("http://my.hupu.com/tester/photo/a101-1.html", Page("hupu/album_p1.html"));

    List(SiteType::Hupu, "http://my.hupu.com/tester/photo/a101-1.html");

    ExpectRequests(
        {"GET http://my.hupu.com/tester/photo/a101-1.html", "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(Rows(),
              QStringList{"湖人 | tester/photo/a101 | http://i1.hoopchina.com.cn/c101.jpg | 20"});
    EXPECT_EQ(state.m_account, QStringLiteral("tester"));
}

TEST_F(CommunitySitesTest, HupuPageUnderMaintenanceListsNothingAndTheLoginHintShows) {
    Serve("http://my.hupu.com/tester/photo-1", Page("hupu/maintenance.html"));
    List(SiteType::Hupu, "http://my.hupu.com/tester");
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(frontend.messages, QStringList{kHupuLoginHint});
}

TEST_F(CommunitySitesTest, HupuPhotosArePagedAndQueuedLarge) {
    const int index = Album("湖人", "tester/photo/a101");
    Serve("http://my.hupu.com/tester/photo/a101-1.html", Page("hupu/album_p1.html"));
    Serve("http://my.hupu.com/tester/photo/a101-2.html", Page("hupu/album_p2.html"));

    Download(15, -1, index);

    ExpectRequests(
        {"GET http://my.hupu.com/tester/photo/a101-1.html", "  Accept-Encoding: gzip, deflate",
         "GET http://my.hupu.com/tester/photo/a101-2.html", "  Accept-Encoding: gzip, deflate"});
    // The second page is GBK; the list ends at its "</ul>".
    EXPECT_EQ(Queued(), (QStringList{"http://i1.hoopchina.com.cn/p/1_big.jpg <- 扣篮.jpg",
                                     "http://i1.hoopchina.com.cn/p/2_big.jpg <- 盖帽.jpg",
                                     "http://i1.hoopchina.com.cn/p/3_big.jpg <- 三分.jpg"}));
}

TEST_F(CommunitySitesTest, HupuPageRepeatedWhateverItsNumberEndsThePaging) {
    const int index = Album("湖人", "tester/photo/a101");
    Serve("http://my.hupu.com/tester/photo/a101-1.html", Page("hupu/album_p1.html"));
    Serve("http://my.hupu.com/tester/photo/a101-2.html", Page("hupu/album_p1.html"));

    FetchHupuPhotos(state, index);

    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(g_pictureQueue().Count(), 2);
}

TEST_F(CommunitySitesTest, HupuPasswordPageAsksForThePassword) {
    const int index = Album("私密", "tester/photo/a102");
    Serve("http://my.hupu.com/tester/photo/a102-1.html", Page("hupu/password.html"));

    FetchHupuPhotos(state, index);

    EXPECT_EQ(frontend.messages, QStringList{"请先在IE里输入密码后，再下载"});
    EXPECT_EQ(g_pictureQueue().Count(), 0);
}

}  // namespace
}  // namespace mosaiq::test
