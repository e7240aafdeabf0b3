#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/douban.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const QString kAlbum = QStringLiteral("https://www.douban.com/photos/album/123/");

class DoubanTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders = {QStringLiteral("Accept-Encoding"), QStringLiteral("Referer")};
        state.m_listType = SiteTypeValue(SiteType::PchomeDouban);
    }
    bool List(const QString& input) {
        bool single = false;
        DispatchAlbumList(state, input, single);
        return single;
    }
    static Reply Db(const char* name) { return Page(QStringLiteral("douban/") + name); }
};

TEST_F(DoubanTest, AlbumIsListedAndItsPagesFollowedByTheirNextLinks) {
    Serve(kAlbum, Db("album_page1.html"));
    Serve(kAlbum + "?m_start=18&sortby=time", Db("album_page2.html"));
    Serve(kAlbum + "?m_start=36&sortby=time", Db("album_page3.html"));

    EXPECT_TRUE(List(kAlbum.chopped(1) + "?start=0&x=1"));
    ASSERT_EQ(state.m_records.Size(), 1);
    const ST_PERLISTRECORD& album = *state.m_records.At(0);
    EXPECT_EQ(album.title, QStringLiteral("夏天 旅行"));
    EXPECT_EQ(album.albumRef, kAlbum);
    EXPECT_EQ(album.pictureCount, 25);  // the zero count after the header is passed over
    EXPECT_EQ(state.m_account, QStringLiteral("小明"));
    EXPECT_EQ(state.m_subType.load(), 1);

    DispatchPictureList(state, 0);
    EXPECT_EQ(
        Queued(),
        (QStringList{"https://img1.doubanio.com/view/photo/raw/public/p1001.jpg <- 海边日落.jpg | "
                     "Referer: https://www.douban.com/photos/photo/1001/",
                     "https://img1.doubanio.com/view/photo/large/public/p1002.jpg <- 山顶.jpg | "
                     "Referer: https://www.douban.com/photos/photo/1002/",
                     "https://img9.doubanio.com/view/photo/large/public/p1003.jpg <- 第三张.jpg | "
                     "Referer: https://www.douban.com/photos/photo/1003/",
                     // Split by the later layout's marker although an old one stands on the page.
                     "https://img9.doubanio.com/view/photo/raw/public/p1004.jpg <- 最后一张.jpg | "
                     "Referer: https://www.douban.com/photos/photo/1004/"}));
    ExpectRequests(
        {"GET https://www.douban.com/photos/album/123/", "  Accept-Encoding: gzip, deflate",
         "  Referer: https://www.douban.com/photos/album/123/",
         "GET https://www.douban.com/photos/album/123/?m_start=18&sortby=time",
         "  Accept-Encoding: gzip, deflate", "  Referer: https://www.douban.com/photos/album/123/",
         "GET https://www.douban.com/photos/album/123/?m_start=36&sortby=time",
         "  Accept-Encoding: gzip, deflate",
         "  Referer: https://www.douban.com/photos/album/123/"});
    EXPECT_EQ(Pauses(), (std::vector<long long>{2000, 2000}));
}

struct TitleCase {
    const char* name;
    const char* fixture;
    const char* title;  // nullptr: no album, the message
    int count;
};

class DoubanTitleTest : public DoubanTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(DoubanTitleTest, OwnerAndNameComeFromThePageTitle) {
    const TitleCase& c = GetParam();
    Serve(kAlbum, Db(c.fixture));
    EXPECT_TRUE(List(kAlbum));
    if (c.title == nullptr) {
        EXPECT_EQ(state.m_records.Size(), 0);
        ASSERT_EQ(frontend.messages.size(), 1);
        EXPECT_TRUE(state.m_jobText1.isEmpty());
        return;
    }
    ASSERT_EQ(state.m_records.Size(), 1);
    EXPECT_EQ(state.m_records.At(0)->title, QString::fromUtf8(c.title));
    EXPECT_EQ(state.m_account, QString::fromUtf8(c.title));
    EXPECT_EQ(state.m_records.At(0)->pictureCount, c.count);
    EXPECT_TRUE(frontend.messages.isEmpty());

    // A one-page album: the listing's page is the only one, nothing more is fetched.
    DispatchPictureList(state, 0);
    EXPECT_EQ(Queued(), QStringList{"https://img1.doubanio.com/view/photo/raw/public/p2001.jpg "
                                    "<- 橘猫.jpg | Referer: https://www.douban.com/photos/"
                                    "photo/2001/"});
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(Pauses().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, DoubanTitleTest,
    ::testing::Values(TitleCase{"SecondTitleForm", "second_title_form.html", "猫咪", 3},
                      TitleCase{"NoOwnerInTheTitle", "no_title.html", nullptr, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DoubanTest, FailedFollowingPageKeepsThePicturesQueued) {
    Serve(kAlbum, Db("album_page1.html"));
    Serve(kAlbum + "?m_start=18&sortby=time", Broken());
    List(kAlbum);
    FetchDoubanPhotos(state, 0);
    EXPECT_EQ(g_pictureQueue().Count(), 2);
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(DoubanTest, DownloadWithoutTheListedPageReadsTheAlbumPage) {
    Serve(kAlbum, Db("second_title_form.html"));
    ST_PERLISTRECORD album;
    album.title = QStringLiteral("猫咪");
    album.albumRef = kAlbum;
    FetchDoubanPhotos(state, AddRecord(album));
    EXPECT_EQ(g_pictureQueue().Count(), 1);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(DoubanTest, AddressesWithoutAlbumPhotosAreRefusedWithoutARequest) {
    EXPECT_FALSE(List(QStringLiteral("https://www.douban.com/people/someone/")));
    EXPECT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(DoubanTest, UnreachableAlbumIsSaid) {
    Serve(kAlbum, Broken());
    List(kAlbum);
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(frontend.messages,
              QStringList{"无法读取网页：" + kAlbum + "\n请检查网址和网络连接后重试"});
}

}  // namespace
}  // namespace mosaiq::test
