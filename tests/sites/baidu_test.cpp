#include "site_test.h"

#include "core/settings_record.h"
#include "sites/album_list_dispatch.h"
#include "sites/baidu.h"
#include "sites/site_types.h"

#include <QDir>

namespace mosaiq::test {
namespace {

QString Bd(const char* name) {
    return QStringLiteral("baidu/") + QLatin1String(name);
}

class BaiduTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders = {QStringLiteral("Accept-Encoding"), QStringLiteral("Referer")};
    }

    // The download ends the album at its first picture, as the downloaded-before marker does.
    void EndAlbumAt(const QString& albumTitle, const QString& address) {
        state.m_listType = SiteTypeValue(SiteType::Baidu);
        NamingOf(state.m_settings, SiteTypeValue(SiteType::Baidu)).options |= kOptionSkipDownloaded;
        QDir(saveDir()).mkpath(albumTitle);
        QFile marker(saveDir() + albumTitle + QStringLiteral("/pic.kel"));
        ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
        marker.write(address.toUtf8() + "\r\n");
    }
};

const char* const kUserPage = "https://xiangce.baidu.com/u/tester";
const char* const kAlbumList =
    "https://xiangce.baidu.com/album/list/tester?size=2000&album_type=0&album_sign=&_=*";
const char* const kAlbumListAfterS2 =
    "https://xiangce.baidu.com/album/list/tester?size=2000&album_type=0&album_sign=s2&_=*";

TEST_F(BaiduTest, AlbumsFromTheUserPageThenTheJsonPages) {
    state.m_listType = SiteTypeValue(SiteType::Baidu);
    Serve(kUserPage, Page(Bd("user_page.html")));
    Serve(kAlbumList, Page(Bd("albums_json1.json"), true));
    Serve(kAlbumListAfterS2, Page(Bd("albums_json_end.json")));

    FetchBaiduAlbums(state, QStringLiteral("tester"));

    // Before "mobileAlbum:" and after the feedback block nothing is read; an album of both
    // the page and the JSON list is listed twice.
    EXPECT_EQ(Titles(), (QStringList{"春游", "旅行", "夏天", "旅行 (1)"}));
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, QStringLiteral("a/1"));
    EXPECT_EQ(first.pictureCount, 12);
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://b.hiphotos.baidu.com/album/c1.jpg"));
    const ST_PERLISTRECORD& json = *state.m_records.At(1);
    EXPECT_EQ(json.albumRef, QStringLiteral("s2"));
    EXPECT_EQ(json.pictureCount, 7);
    EXPECT_EQ(json.coverUrl, QStringLiteral("http://b.hiphotos.baidu.com/album/c2.jpg"));
    const ST_PERLISTRECORD& paged = *state.m_records.At(2);
    EXPECT_EQ(paged.albumRef, QStringLiteral("s3"));
    EXPECT_EQ(paged.pictureCount, 5);
    EXPECT_EQ(paged.coverUrl, QStringLiteral("http://b.hiphotos.baidu.com/album/c3.jpg"));
    EXPECT_EQ(state.m_account, QStringLiteral("tester"));
    ExpectRequests({"GET https://xiangce.baidu.com/u/tester", "  Accept-Encoding: gzip, deflate",
                    "GET https://xiangce.baidu.com/album/list/"
                    "tester?size=2000&album_type=0&album_sign=&_=*",
                    "  Accept-Encoding: gzip, deflate",
                    "GET https://xiangce.baidu.com/album/list/"
                    "tester?size=2000&album_type=0&album_sign=s2&_=*",
                    "  Accept-Encoding: gzip, deflate"});
}

TEST_F(BaiduTest, StopAfterAnEmbeddedAlbumAsksForNoJsonPage) {
    Serve(kUserPage, Page(Bd("user_page.html")));
    state.m_listState = ListState::StopRequested;
    FetchBaiduAlbums(state, QStringLiteral("tester"));
    EXPECT_EQ(Titles(), QStringList{"春游"});
    ExpectRequests({"GET https://xiangce.baidu.com/u/tester", "  Accept-Encoding: gzip, deflate"});
}

TEST_F(BaiduTest, JsonPagesThatRepeatTheirAlbumsEnd) {
    Serve(kUserPage, Text("<html>no albums here</html>"));
    Serve(kAlbumList, Page(Bd("albums_json1.json")));
    Serve(kAlbumListAfterS2, Page(Bd("albums_json1.json")));  // the sign is ignored
    FetchBaiduAlbums(state, QStringLiteral("tester"));
    EXPECT_EQ(state.m_records.Size(), 4);
    EXPECT_EQ(server.requests().size(), 3u);
}

const char* const kPhotos0 =
    "https://xiangce.baidu.com/picture/album/list/"
    "s1?format=json&size=100&pn=0&width=80&t=*&resolution=1280";

TEST_F(BaiduTest, PicturesPageByOffsetAndTakeTheLargeAddress) {
    const int index = AddRecord(Album("春游", "s1", 3));
    Serve(kPhotos0, Page(Bd("photos1.json")));
    Serve(
        "https://xiangce.baidu.com/picture/album/list/"
        "s1?format=json&size=100&pn=2&width=80&t=*&resolution=1280",
        Page(Bd("photos2.json")));
    Serve(
        "https://xiangce.baidu.com/picture/album/list/"
        "s1?format=json&size=100&pn=3&width=80&t=*&resolution=1280",
        Page(Bd("photos_none.json")));

    FetchBaiduPhotos(state, index);

    // A thumbnail without "album" keeps its whole address; a nameless picture is named
    // after its album.
    EXPECT_EQ(Queued(),
              (QStringList{"http://b.hiphotos.baidu.com/album/pic/item/abc.jpg <- 花.jpg",
                           "http://imgsrc.example.com/t/xyz.jpgalbum/pic/item/xyz.jpg <- 春游.jpg",
                           "http://b.hiphotos.baidu.com/album/pic/item/def.jpg <- 树.jpg"}));
    ExpectRequests(
        {"GET https://xiangce.baidu.com/picture/album/list/"
         "s1?format=json&size=100&pn=0&width=80&t=*&resolution=1280",
         "  Accept-Encoding: gzip, deflate",
         "GET https://xiangce.baidu.com/picture/album/list/"
         "s1?format=json&size=100&pn=2&width=80&t=*&resolution=1280",
         "  Accept-Encoding: gzip, deflate",
         "GET https://xiangce.baidu.com/picture/album/list/"
         "s1?format=json&size=100&pn=3&width=80&t=*&resolution=1280",
         "  Accept-Encoding: gzip, deflate"});
    EXPECT_TRUE(frontend.questions.isEmpty());
}

TEST_F(BaiduTest, AlbumEndedAtItsFirstPictureFetchesNoMore) {
    const int index = AddRecord(Album("春游", "s1", 3));
    Serve(kPhotos0, Page(Bd("photos1.json")));
    EndAlbumAt(QStringLiteral("春游"),
               QStringLiteral("http://b.hiphotos.baidu.com/album/pic/item/abc.jpg"));
    FetchBaiduPhotos(state, index);
    EXPECT_TRUE(Queued().isEmpty());
    EXPECT_EQ(server.requests().size(), 1u);
}

// An album that says it has pictures but shows none on its first page is not public.
struct VerifyCase {
    const char* name;
    int pictureCount;
    std::vector<bool> answers;
    std::vector<const char*> firstPages;  // the answers at offset 0, in turn
    int questions;
    int logins;
    int requests;
    int queued;
};

class BaiduVerifyTest : public BaiduTest, public ::testing::WithParamInterface<VerifyCase> {};

TEST_P(BaiduVerifyTest, VerificationIsOfferedOnceOnTheFirstPage) {
    const VerifyCase& c = GetParam();
    const int index = AddRecord(Album("私密", "s1", c.pictureCount));
    std::vector<Reply> replies;
    for (const char* page : c.firstPages) {
        replies.push_back(Page(Bd(page)));
    }
    ServeInTurn(kPhotos0, replies);
    Serve(
        "https://xiangce.baidu.com/picture/album/list/"
        "s1?format=json&size=100&pn=2&width=80&t=*&resolution=1280",
        Page(Bd("photos_none.json")));
    frontend.answers.assign(c.answers.begin(), c.answers.end());

    FetchBaiduPhotos(state, index);

    ASSERT_EQ(frontend.questions.size(), c.questions);
    if (c.questions > 0) {
        EXPECT_EQ(frontend.questions[0],
                  QStringLiteral("为非公开相册,是否进行验证？\n\n验证成功后请手动关闭验证框"));
    }
    ASSERT_EQ(frontend.logins.size(), c.logins);
    if (c.logins > 0) {
        EXPECT_EQ(frontend.logins[0],
                  QStringLiteral("https://xiangce.baidu.com/picture/album/list/s1"));
    }
    EXPECT_EQ(server.requests().size(), size_t(c.requests));
    EXPECT_EQ(Queued().size(), c.queued);
}

INSTANTIATE_TEST_SUITE_P(
    NonPublic, BaiduVerifyTest,
    ::testing::Values(
        VerifyCase{"DeclinedEndsTheAlbum", 5, {false}, {"photos_none.json"}, 1, 0, 1, 0},
        VerifyCase{
            "VerifiedThenPictures", 5, {true}, {"photos_none.json", "photos1.json"}, 1, 1, 3, 2},
        VerifyCase{"StillNothingAsksNoMore", 5, {true, true}, {"photos_none.json"}, 1, 1, 2, 0},
        VerifyCase{"UnknownCountAsksToo", -1, {false}, {"photos_none.json"}, 1, 0, 1, 0},
        VerifyCase{"EmptyAlbumAsksNothing", 0, {true}, {"photos_none.json"}, 0, 0, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

const char* const kForum1 =
    "https://tieba.baidu.com/photo/g?kw=%E5%9B%BE&alt=jview&pn=1&rn=30&cat_id=all&_=*";
const char* const kForum2 =
    "https://tieba.baidu.com/photo/g?kw=%E5%9B%BE&alt=jview&pn=2&rn=30&cat_id=all&_=*";

TEST_F(BaiduTest, ForumGalleriesUntilAPageWithoutGalleries) {
    Serve(kForum1, Page(Bd("forum1.json")));
    Serve(kForum2, Page(Bd("forum_end.json")));
    // A later page would hold galleries again: the paging has ended before it.
    Serve("https://tieba.baidu.com/photo/g?kw=%E5%9B%BE&alt=jview&pn=3&rn=30&cat_id=all&_=*",
          Page(Bd("forum1.json")));

    FetchTiebaForumAlbums(state, QStringLiteral("%E5%9B%BE"));

    EXPECT_EQ(Titles(), (QStringList{"春节", "snow"}));  // the gallery without a link is skipped
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, QStringLiteral("7001"));
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://imgsrc.baidu.com/forum/abpic/item/c1.jpg"));
    EXPECT_EQ(first.pictureCount, 23);
    EXPECT_EQ(state.m_records.At(1)->pictureCount, 4);
    ExpectRequests(
        {"GET https://tieba.baidu.com/photo/"
         "g?kw=%E5%9B%BE&alt=jview&pn=1&rn=30&cat_id=all&_=*",
         "  Accept-Encoding: gzip, deflate",
         "GET https://tieba.baidu.com/photo/"
         "g?kw=%E5%9B%BE&alt=jview&pn=2&rn=30&cat_id=all&_=*",
         "  Accept-Encoding: gzip, deflate"});
}

TEST_F(BaiduTest, GalleryPicturesByIdWithTheForumFromTheJobText) {
    state.m_jobText1 = QStringLiteral("%E5%9B%BE");
    const int index = AddRecord(Album("春节", "7001", 23));
    const char* page1 =
        "https://tieba.baidu.com/photo/g/bw/picture/"
        "list?kw=%E5%9B%BE&alt=jview&rn=200&tid=7001&pn=1&ps=0&pe=200&wall_type=v&_=*";
    const char* page2 =
        "https://tieba.baidu.com/photo/g/bw/picture/"
        "list?kw=%E5%9B%BE&alt=jview&rn=200&tid=7001&pn=2&ps=0&pe=200&wall_type=v&_=*";
    Serve(page1, Page(Bd("gallery1.json")));
    Serve(page2, Page(Bd("gallery_end.json")));

    FetchTiebaForumPhotos(state, index);

    EXPECT_EQ(Queued(),
              (QStringList{"https://imgsrc.baidu.com/forum/pic/item/abc1.jpg <- 雪.jpg",
                           "https://imgsrc.baidu.com/forum/pic/item/abc2.jpg <- 春节.jpg"}));
    ExpectRequests(
        {"GET https://tieba.baidu.com/photo/g/bw/picture/"
         "list?kw=%E5%9B%BE&alt=jview&rn=200&tid=7001&pn=1&ps=0&pe=200&wall_type=v&_=*",
         "  Accept-Encoding: gzip, deflate",
         "GET https://tieba.baidu.com/photo/g/bw/picture/"
         "list?kw=%E5%9B%BE&alt=jview&rn=200&tid=7001&pn=2&ps=0&pe=200&wall_type=v&_=*",
         "  Accept-Encoding: gzip, deflate"});
}

const char* const kThread = "https://tieba.baidu.com/photo/p?kw=abc&fp=1&tid=7001";

TEST_F(BaiduTest, ThreadIsOneAlbumTitledFromItsGbkPage) {
    Serve(kThread, Page(Bd("thread_page.html")));
    FetchTiebaThreadAlbum(state, kThread);
    ASSERT_EQ(state.m_records.Size(), 1);
    const ST_PERLISTRECORD& thread = *state.m_records.At(0);
    EXPECT_EQ(thread.title, QStringLiteral("春节快乐"));
    EXPECT_EQ(thread.albumRef, QString(kThread));
    EXPECT_EQ(thread.pictureCount, -1);
    EXPECT_TRUE(thread.coverUrl.isEmpty());

    state.m_records.Clear();
    Serve(kThread, Broken());
    FetchTiebaThreadAlbum(state, kThread);
    EXPECT_EQ(state.m_records.Size(), 0);
}

TEST_F(BaiduTest, ThreadPicturesWalkByTheLastPictureSeen) {
    const int index = AddRecord(Album("春节快乐", kThread));
    const char* guide =
        "https://tieba.baidu.com/photo/bw/picture/"
        "guide?kw=abc&fp=1&tid=7001&see_lz=1&from_page=0&alt=jview&next=50&prev=1&pic_id=";
    Serve(QString(guide) + "&_=*", Page(Bd("guide1.json")));
    Serve(QString(guide) + "p2&_=*", Page(Bd("guide2.json")));
    // Only the picture already seen: the walk ends.
    Serve(QString(guide) + "p3&_=*", Page(Bd("guide3.json")));

    FetchTiebaThreadPhotos(state, index);

    EXPECT_EQ(Queued(),
              (QStringList{"http://imgsrc.baidu.com/forum/w%3D580/sign=1/p1.jpg <- 一.jpg",
                           "https://imgsrc.baidu.com/forum/pic/item/p2.jpg <- 春节快乐.jpg",
                           "http://imgsrc.baidu.com/forum/w%3D580/sign=3/p3.jpg <- 三.jpg"}));
    ExpectRequests(
        {"GET https://tieba.baidu.com/photo/bw/picture/"
         "guide?kw=abc&fp=1&tid=7001&see_lz=1&from_page=0&alt=jview&next=50&prev=1&"
         "pic_id=&_=*",
         "  Accept-Encoding: gzip, deflate",
         "GET https://tieba.baidu.com/photo/bw/picture/"
         "guide?kw=abc&fp=1&tid=7001&see_lz=1&from_page=0&alt=jview&next=50&prev=1&"
         "pic_id=p2&_=*",
         "  Accept-Encoding: gzip, deflate",
         "GET https://tieba.baidu.com/photo/bw/picture/"
         "guide?kw=abc&fp=1&tid=7001&see_lz=1&from_page=0&alt=jview&next=50&prev=1&"
         "pic_id=p3&_=*",
         "  Accept-Encoding: gzip, deflate"});
}

TEST_F(BaiduTest, ThreadServerIgnoringTheLastIdEnds) {
    const int index = AddRecord(Album("春节快乐", kThread));
    server.Route("tieba.baidu.com", "/photo/bw/picture/guide", Page(Bd("guide1.json")));
    FetchTiebaThreadPhotos(state, index);
    EXPECT_EQ(Queued().size(), 2);
    EXPECT_EQ(server.requests().size(), 2u);
}

// The type-1 rows of the album-list dispatch with their adapters, one whole listing each.
class BaiduDispatchTest : public BaiduTest {
  protected:
    bool List(const QString& input) {
        state.m_listType = SiteTypeValue(SiteType::Baidu);
        bool single = false;
        DispatchAlbumList(state, input, single);
        return single;
    }
};

TEST_F(BaiduDispatchTest, UserAddressWithoutUFindsTheUserOnItsPage) {
    Serve("https://www.baidu.com/p/someone", Page(Bd("profile_page.html")));
    Serve(kUserPage, Page(Bd("user_page.html")));
    Serve(kAlbumList, Page(Bd("albums_json_end.json")));
    EXPECT_FALSE(List(QStringLiteral("https://www.baidu.com/p/someone")));
    EXPECT_EQ(Titles(), (QStringList{"春游", "旅行"}));
    EXPECT_EQ(state.m_subType, SubTypeValue(BaiduSubType::Albums));
    EXPECT_EQ(state.m_account, QStringLiteral("tester"));
    ExpectRequests({"GET https://www.baidu.com/p/someone", "  Accept-Encoding: gzip, deflate",
                    "GET https://xiangce.baidu.com/u/tester", "  Accept-Encoding: gzip, deflate",
                    "GET https://xiangce.baidu.com/album/list/"
                    "tester?size=2000&album_type=0&album_sign=&_=*",
                    "  Accept-Encoding: gzip, deflate"});
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(BaiduDispatchTest, UnreachableProfilePageCallsNoAdapterAndSaysSo) {
    Serve("https://www.baidu.com/p/someone", Broken());
    List(QStringLiteral("https://www.baidu.com/p/someone"));
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(
        frontend.messages,
        QStringList{"无法读取网页：https://www.baidu.com/p/someone\n请检查网址和网络连接后重试"});
}

TEST_F(BaiduDispatchTest, ForumAddressListsGalleriesAndKeepsTheKeyword) {
    Serve(kForum1, Page(Bd("forum1.json")));
    Serve(kForum2, Page(Bd("forum_end.json")));
    List(QStringLiteral("https://tieba.baidu.com/f?kw=%E5%9B%BE&ie=utf-8"));
    EXPECT_EQ(Titles(), (QStringList{"春节", "snow"}));
    EXPECT_EQ(state.m_subType, SubTypeValue(BaiduSubType::TiebaForum));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("%E5%9B%BE"));
    EXPECT_EQ(state.m_account, QStringLiteral("图"));
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(BaiduDispatchTest, PostAddressBecomesTheThreadsPhotoPage) {
    Serve("https://tieba.baidu.com/p/7001?pn=2", Page(Bd("post_page.html")));
    const char* photoPage = "https://tieba.baidu.com/photo/p?kw=%E5%9B%BE&fp=1&tid=7001";
    Serve(photoPage, Page(Bd("thread_page.html")));
    List(QStringLiteral("https://tieba.baidu.com/p/7001?pn=2"));
    ASSERT_EQ(Titles(), QStringList{"春节快乐"});
    EXPECT_EQ(state.m_records.At(0)->albumRef, QString(photoPage));
    EXPECT_EQ(state.m_subType, SubTypeValue(BaiduSubType::TiebaThread));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("%E5%9B%BE"));
    EXPECT_EQ(state.m_account, QStringLiteral("图"));
    ExpectRequests({"GET https://tieba.baidu.com/p/7001?pn=2", "  Accept-Encoding: gzip, deflate",
                    "GET https://tieba.baidu.com/photo/p?kw=%E5%9B%BE&fp=1&tid=7001",
                    "  Accept-Encoding: gzip, deflate"});
}

}  // namespace
}  // namespace mosaiq::test
