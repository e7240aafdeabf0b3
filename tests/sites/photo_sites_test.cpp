#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/moko.h"
#include "sites/pchome.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site51.h"
#include "sites/site_types.h"
#include "sites/zol_albums.h"

namespace mosaiq::test {
namespace {

// The sites of plain album lists: 51, ZOL albums, PCHome and moko.
class PhotoSitesTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders = {QStringLiteral("Accept-Encoding"), QStringLiteral("Referer")};
    }
    // The album-list job's step for `input` typed with site type `type`.
    bool List(SiteType type, const char* input) {
        state.m_listType = SiteTypeValue(type);
        bool single = true;
        DispatchAlbumList(state, QString::fromUtf8(input), single);
        return single;
    }
    int Album(const char* title, const char* albumRef) {
        ST_PERLISTRECORD record;
        record.title = QString::fromUtf8(title);
        record.albumRef = QString::fromUtf8(albumRef);
        return AddRecord(record);
    }
    const ST_PERLISTRECORD& At(int index) const { return *state.m_records.At(index); }
};

// "title | albumRef | coverUrl | pictureCount" of every listed album.
QStringList Rows(const JobState& state) {
    QStringList rows;
    for (int i = 0; i < state.m_records.Size(); ++i) {
        const ST_PERLISTRECORD& r = *state.m_records.At(i);
        EXPECT_EQ(r.accessFlags, 0);
        EXPECT_TRUE(r.createdText.isEmpty() && r.extraRef.isEmpty());
        rows << QStringLiteral("%1 | %2 | %3 | %4")
                    .arg(r.title, r.albumRef, r.coverUrl, QString::number(r.pictureCount));
    }
    return rows;
}

// --- 51 ---

TEST_F(PhotoSitesTest, Site51ListsTheMainListOfTheTypedAccount) {
    Serve("http://home.51.com/tester/photo", Page("site51/albums.html"));

    EXPECT_FALSE(List(SiteType::Site51, "http://home.51.com/tester/photo/"));

    ExpectRequests({"GET http://home.51.com/tester/photo", "  Accept-Encoding: gzip, deflate"});
    // The site's own pick before the list and the untitled album are not the user's.
    EXPECT_EQ(
        Rows(state),
        (QStringList{"夏天 | /tester/photo/album/77 | http://img.51.com/c77.jpg | 12",
                     "旅行 & 美食 | /tester/photo/album/78 | http://img.51.com/c78.jpg | 3"}));
    EXPECT_EQ(state.m_account, QStringLiteral("tester"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("tester"));
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(PhotoSitesTest, Site51PhotosComeFromTheDataViewOfTheFirstListedPhoto) {
    state.m_jobText1 = QStringLiteral("tester");
    const int index = Album("夏天", "/tester/photo/album/77");
    Serve("http://home.51.com/tester/photo/album/77", Page("site51/album77.html"));
    Serve("http://home.51.com/tester/photo/getdataview/?id=9001", Page("site51/rows.json"));

    FetchPhotos51(state, index);

    ExpectRequests({"GET http://home.51.com/tester/photo/album/77",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://home.51.com/tester/photo/getdataview/?id=9001",
                    "  Accept-Encoding: gzip, deflate"});
    // The nameless photo takes the album's title; a row without an address queues nothing.
    const char* referer = " | Referer: http://home.51.com/tester/photo/album/77";
    EXPECT_EQ(Queued(),
              (QStringList{QStringLiteral("http://img.51.com/b/9001.jpg <- 海边.jpg") + referer,
                           QStringLiteral("http://img.51.com/b/9002.jpg <- 夏天.jpg") + referer}));
}

TEST_F(PhotoSitesTest, Site51BusyAnswersAreTriedAgainThenShown) {
    state.m_jobText1 = QStringLiteral("tester");
    const int index = Album("夏天", "/tester/photo/album/77");
    // The album page is busy once; the data view stays busy (GBK, as the site writes it).
    ServeInTurn("http://home.51.com/tester/photo/album/77",
                {Page("site51/busy_gbk.html"), Page("site51/album77.html")});
    Serve("http://home.51.com/tester/photo/getdataview/?id=9001", Page("site51/busy_gbk.html"));

    FetchPhotos51(state, index);

    EXPECT_EQ(server.Count("home.51.com", "/tester/photo/album/77"), 2);
    EXPECT_EQ(server.Count("home.51.com", "/tester/photo/getdataview/"), 3);
    EXPECT_EQ(Pauses(), (std::vector<long long>{10000, 10000, 10000, 10000}));
    EXPECT_EQ(frontend.messages,
              QStringList{"<html><body><p>服务器忙，请稍候再试</p></body></html>"});
    EXPECT_EQ(g_pictureQueue().Count(), 0);
}

TEST_F(PhotoSitesTest, Site51BusyRowsInUtf8AreShownAtOnce) {
    state.m_jobText1 = QStringLiteral("tester");
    const int index = Album("夏天", "/tester/photo/album/77");
    Serve("http://home.51.com/tester/photo/album/77", Page("site51/album77.html"));
    Serve("http://home.51.com/tester/photo/getdataview/?id=9001", Page("site51/busy_rows.json"));

    FetchPhotos51(state, index);

    EXPECT_EQ(server.Count("home.51.com", "/tester/photo/getdataview/"), 1);
    EXPECT_EQ(frontend.messages, QStringList{"{\"rows\":[],\"msg\":\"服务器忙，请稍候再试\"}"});
    EXPECT_EQ(g_pictureQueue().Count(), 0);
}

// --- ZOL albums ---

TEST_F(PhotoSitesTest, ZolListsEveryPageWhileTheNextLinkShows) {
    Serve("http://photo.zol.com.cn/tester/album_1.html", Page("zol_albums/albums_p1.html"));
    Serve("http://photo.zol.com.cn/tester/album_2.html", Page("zol_albums/albums_p2.html"));
    Serve("http://photo.zol.com.cn/tester/album_3.html", Page("zol_albums/albums_p3.html"));

    List(SiteType::Zol, "http://photo.zol.com.cn/tester/index.html");

    ExpectRequests(
        {"GET http://photo.zol.com.cn/tester/album_1.html", "  Accept-Encoding: gzip, deflate",
         "GET http://photo.zol.com.cn/tester/album_2.html", "  Accept-Encoding: gzip, deflate",
         "GET http://photo.zol.com.cn/tester/album_3.html", "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(
        Rows(state),
        (QStringList{"春游 | /tester/photo_11_ | http://img.zol.com.cn/t_s120x90/c11.jpg | 8",
                     "毕业照 | /tester/photo_12_ | http://img.zol.com.cn/t_s120x90/c12.jpg | 20",
                     "家 | /tester/photo_13_ | http://img.zol.com.cn/t_s120x90/c13.jpg | 1"}));
    EXPECT_EQ(state.m_account, QStringLiteral("张三"));  // the first page's title
    EXPECT_EQ(state.m_jobText1, QStringLiteral("tester"));
    EXPECT_EQ(state.m_subType, SubTypeValue(ZolSubType::Albums));
}

TEST_F(PhotoSitesTest, ZolPhotosAreQueuedAtFullSize) {
    const int index = Album("春游", "/tester/photo_11_");
    Serve("http://photo.zol.com.cn/tester/photo_11_1.html", Page("zol_albums/photos_p1.html"));
    Serve("http://photo.zol.com.cn/tester/photo_11_2.html", Page("zol_albums/photos_p2.html"));

    state.m_listType = SiteTypeValue(SiteType::Zol);
    state.m_subType = SubTypeValue(ZolSubType::Albums);
    DispatchPictureList(state, index);

    ExpectRequests(
        {"GET http://photo.zol.com.cn/tester/photo_11_1.html", "  Accept-Encoding: gzip, deflate",
         "GET http://photo.zol.com.cn/tester/photo_11_2.html", "  Accept-Encoding: gzip, deflate"});
    // A "/t_s…" path step and a "_120x90" name suffix go; a plain name stays.
    EXPECT_EQ(Queued(), (QStringList{"http://img.zol.com.cn/g1/a.jpg <- 山.jpg",
                                     "http://img2.zol.com.cn/g2/b.jpg <- 水.jpg",
                                     "http://pic.zolimg.com.cn/g3/c.jpg <- 云.jpg"}));
}

// A click on "stop" as the first album shows.
class StopAtFirstAlbum : public RecordingFrontend {
  public:
    explicit StopAtFirstAlbum(JobState& state) : m_state(state) {}
    void AlbumAdded(int index) override {
        RecordingFrontend::AlbumAdded(index);
        m_state.m_listState = ListState::StopRequested;
    }

  private:
    JobState& m_state;
};

TEST_F(PhotoSitesTest, ZolStopAfterAnAlbumFetchesNoFurtherPage) {
    StopAtFirstAlbum stopping(state);
    state.frontend = &stopping;
    Serve("http://photo.zol.com.cn/tester/album_1.html", Page("zol_albums/albums_p1.html"));

    FetchZolAlbums(state, QStringLiteral("tester"));

    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(Titles(), QStringList{"春游"});
}

// --- PCHome ---

TEST_F(PhotoSitesTest, PchomeListsTheUsersAlbumsPageByPage) {
    Serve("http://photo.pchome.com.tw/tester*1", Page("pchome/albums_p1.html"));
    Serve("http://photo.pchome.com.tw/tester*2", Page("pchome/albums_p2.html"));
    Serve("http://photo.pchome.com.tw/tester*3", Page("pchome/albums_p3.html"));

    List(SiteType::PchomeDouban, "http://photo.pchome.com.tw/tester/");

    ExpectRequests({"GET http://photo.pchome.com.tw/tester*1", "  Accept-Encoding: gzip, deflate",
                    "GET http://photo.pchome.com.tw/tester*2", "  Accept-Encoding: gzip, deflate",
                    "GET http://photo.pchome.com.tw/tester*3", "  Accept-Encoding: gzip, deflate"});
    // What follows the main list section is not the user's.
    EXPECT_EQ(
        Rows(state),
        (QStringList{"阿里山 | /tester/a1 | http://photo.pchome.com.tw/tester/a1/cover.jpg | 12",
                     "日月潭 | /tester/a2 | http://photo.pchome.com.tw/tester/a2/cover.jpg | 4",
                     "台北 | /tester/a3 | http://photo.pchome.com.tw/tester/a3/cover.jpg | 2"}));
    EXPECT_EQ(state.m_account, QStringLiteral("tester"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("tester"));
    EXPECT_EQ(state.m_subType, SubTypeValue(PchomeDoubanSubType::Pchome));
}

TEST_F(PhotoSitesTest, PchomePhotosComeFromThePhotoListWithTheirPageAsReferer) {
    state.m_account = QStringLiteral("tester");
    const int index = Album("阿里山", "/tester/a1");
    Serve("http://photo.pchome.com.tw/tester/a1*1", Page("pchome/photos.html"));

    FetchPchomePhotos(state, index);

    ExpectRequests(
        {"GET http://photo.pchome.com.tw/tester/a1*1", "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(Queued(), (QStringList{"http://photo.pchome.com.tw/tester/a1/p1.jpg <- 日出.jpg | "
                                     "Referer: http://photo.pchome.com.tw/tester/5001",
                                     "http://photo.pchome.com.tw/tester/a1/p2.jpg <- 雲海.jpg | "
                                     "Referer: http://photo.pchome.com.tw/tester/5002"}));
}

// --- moko ---

TEST_F(PhotoSitesTest, MokoListsEveryPostListOfTheUserPage) {
    Serve("http://www.moko.cc/post/tester/list.html", Page("moko/user.html"));
    Serve("http://www.moko.cc/post/tester/category/11/1.html", Page("moko/cat11_p1.html"));
    Serve("http://www.moko.cc/post/tester/category/11/2.html", Page("moko/cat11_p2.html"));
    Serve("http://www.moko.cc/post/tester/category/12/1.html", Text(""));
    Serve("http://www.moko.cc/post/tester/category/13/1.html", Page("moko/cat13_p1.html"));

    List(SiteType::Moko, "http://www.moko.cc/tester/");

    // The list that fails is passed over; the side box after the end marker is not read.
    ExpectRequests({"GET http://www.moko.cc/post/tester/list.html",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://www.moko.cc/post/tester/category/11/1.html",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://www.moko.cc/post/tester/category/11/2.html",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://www.moko.cc/post/tester/category/12/1.html",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://www.moko.cc/post/tester/category/13/1.html",
                    "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(Rows(state),
              (QStringList{"海边 | /post/101.html | http://img.moko.cc/c101.jpg | 15",
                           "街头 | /post/102.html | http://img.moko.cc/c102.jpg | 6",
                           "雨 | /post/103.html | http://img.moko.cc/c103.jpg | 2",
                           "夜景 | /post/111.html | http://img.moko.cc/c111.jpg | 7"}));
    EXPECT_EQ(state.m_account, QStringLiteral("Tester"));
}

TEST_F(PhotoSitesTest, MokoUserPageWithoutItsMenuNamesNoPostList) {
    Serve("http://www.moko.cc/post/tester/list.html",
          Text("<div class=\"imgUserLogo\"><img title=\"Tester's\"></div>"
               "<a href=\"/post/other/list.html\">x</a>"));
    List(SiteType::Moko, "http://www.moko.cc/tester/");
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(state.m_records.Size(), 0);
}

TEST_F(PhotoSitesTest, MokoNewPostListIsReadWithoutTheUserPage) {
    Serve("http://www.moko.cc/post/tester/new/1.html", Page("moko/new_p1.html"));

    List(SiteType::Moko, "http://www.moko.cc/post/tester/new/list.html");

    ExpectRequests(
        {"GET http://www.moko.cc/post/tester/new/1.html", "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(Rows(state), QStringList{"新作 | /post/201.html | http://img.moko.cc/c201.jpg | 3"});
    EXPECT_EQ(state.m_account, QStringLiteral("Tester"));
}

TEST_F(PhotoSitesTest, MokoPostPicturesAreNamedAfterThePost) {
    const int index = Album("夜景", "/post/111.html");
    Serve("http://www.moko.cc/post/111.html", Page("moko/post.html"));

    FetchMokoPhotos(state, index);

    ExpectRequests({"GET http://www.moko.cc/post/111.html", "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(Queued(), (QStringList{"http://img.moko.cc/p/1.jpg <- 夜景.jpg",
                                     "http://img.moko.cc/p/2.jpg <- 夜景(1).jpg"}));
}

}  // namespace
}  // namespace mosaiq::test
