#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/sina.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

QString Sn(const char* name) {
    return QStringLiteral("sina/") + QLatin1String(name);
}

class SinaTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        masked = {QStringLiteral("_rnd")};
        loggedHeaders = {QStringLiteral("Accept-Encoding"), QStringLiteral("Referer"),
                         QStringLiteral("Cookie")};
    }
};

const char* const kBlog = "http://blog.sina.com.cn/zhangsan";
const char* const kCategories =
    "http://photo.blog.sina.com.cn/services/ctg_list_ctg.php?format=gsonv&uid=1234567890";

TEST_F(SinaTest, BlogCategoriesWithTheOwnerAndUserId) {
    Serve(kBlog, Page(Sn("blog_page.html")));
    Serve(kCategories, Page(Sn("categories.json"), true));

    FetchSinaBlogAlbums(state, kBlog);

    EXPECT_EQ(Titles(), (QStringList{"风景", "人物"}));  // the nameless category is skipped
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef,
              QStringLiteral("http://photo.blog.sina.com.cn/category/u/1234567890/s/1"));
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://s1.sinaimg.cn/bmiddle/c1"));
    EXPECT_EQ(first.pictureCount, 12);
    EXPECT_EQ(state.m_records.At(1)->pictureCount, 4);
    EXPECT_EQ(state.m_account, QStringLiteral("张三"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("1234567890"));
    ExpectRequests({"GET http://blog.sina.com.cn/zhangsan", "  Accept-Encoding: gzip, deflate",
                    "GET http://photo.blog.sina.com.cn/services/"
                    "ctg_list_ctg.php?format=gsonv&uid=1234567890",
                    "  Accept-Encoding: gzip, deflate"});
}

TEST_F(SinaTest, BlogPageWithoutUserIdAsksForNoCategories) {
    Serve(kBlog, Text("<html><title>x_新浪博客</title></html>"));
    FetchSinaBlogAlbums(state, kBlog);
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(state.m_records.Size(), 0);
}

const char* const kCategory = "http://photo.blog.sina.com.cn/category/u/1234567890/s/1";

TEST_F(SinaTest, CategoryPicturesPageUntilNoNextLinkAndRetryAFailedPage) {
    const int index = AddRecord(Album("风景", kCategory, 3));
    Serve(QString(kCategory) + "/page1", Page(Sn("photos_page1.html")));
    ServeInTurn(QString(kCategory) + "/page2", {Broken(), Page(Sn("photos_page2.html"))});

    FetchSinaBlogAlbumPhotos(state, index);

    EXPECT_EQ(Queued(), (QStringList{"http://s1.sinaimg.cn/orignal/a1 <- 湖.jpg",
                                     "http://s2.sinaimg.cn/orignal/a2&690 <- 风景.jpg",
                                     "http://s3.sinaimg.cn/orignal/a3 <- 山.jpg"}));
    // The pause between pages; the client's wait after its failed attempt, then the
    // category's own before the page is asked for again.
    EXPECT_EQ(Waits(), (std::vector<long long>{2000, 1000, 4000}));
    ExpectRequests({"GET http://photo.blog.sina.com.cn/category/u/1234567890/s/1/page1",
                    "  Accept-Encoding: gzip, deflate",
                    "  Referer: http://photo.blog.sina.com.cn/category/u/1234567890/s/1/page1",
                    "GET http://photo.blog.sina.com.cn/category/u/1234567890/s/1/page2",
                    "  Accept-Encoding: gzip, deflate",
                    "  Referer: http://photo.blog.sina.com.cn/category/u/1234567890/s/1/page2",
                    "GET http://photo.blog.sina.com.cn/category/u/1234567890/s/1/page2",
                    "  Accept-Encoding: gzip, deflate",
                    "  Referer: http://photo.blog.sina.com.cn/category/u/1234567890/s/1/page2"});
}

TEST_F(SinaTest, FourFailuresInARowEndTheCategory) {
    const int index = AddRecord(Album("风景", kCategory, 3));
    Serve(QString(kCategory) + "/page1", Broken());
    FetchSinaBlogAlbumPhotos(state, index);
    EXPECT_EQ(server.requests().size(), 4u);
    EXPECT_EQ(Waits(), (std::vector<long long>{1000, 4000, 1000, 4000, 1000, 4000, 1000}));
    EXPECT_TRUE(Queued().isEmpty());
}

TEST_F(SinaTest, CategoryAnsweringEveryPageAlikeEnds) {
    const int index = AddRecord(Album("风景", kCategory, 3));
    server.Route("photo.blog.sina.com.cn", "/category/u/1234567890/s/1/page1",
                 Page(Sn("photos_page1.html")));
    server.Route("photo.blog.sina.com.cn", "/category/u/1234567890/s/1/page2",
                 Page(Sn("photos_page1.html")));
    FetchSinaBlogAlbumPhotos(state, index);
    EXPECT_EQ(Queued().size(), 4);
    EXPECT_EQ(server.requests().size(), 2u);
}

const char* const kArticleList = "http://blog.sina.com.cn/s/articlelist_1234567890_0";

TEST_F(SinaTest, ArticlesByTitleOrLinkText) {
    Serve(QString(kArticleList) + "_1.html", Page(Sn("articles_title.html")));
    FetchSinaBlogArticles(state, kArticleList);
    EXPECT_EQ(Titles(), (QStringList{"湖边散步", "山中"}));
    EXPECT_EQ(state.m_records.At(0)->albumRef,
              QStringLiteral("http://blog.sina.com.cn/s/blog_a1.html"));
    EXPECT_EQ(state.m_records.At(1)->albumRef,
              QStringLiteral("http://blog.sina.com.cn/s/blog_a2.html"));
    EXPECT_EQ(state.m_records.At(0)->pictureCount, -1);
    EXPECT_EQ(state.m_account, QStringLiteral("张三的博文"));
    ExpectRequests({"GET http://blog.sina.com.cn/s/articlelist_1234567890_0_1.html",
                    "  Accept-Encoding: gzip, deflate"});
}

TEST_F(SinaTest, OtherLayoutKeepsItsSeparatorOnLaterPages) {
    Serve(QString(kArticleList) + "_1.html", Page(Sn("articles_linedot1.html")));
    Serve(QString(kArticleList) + "_2.html", Page(Sn("articles_linedot2.html")));
    FetchSinaBlogArticles(state, kArticleList);
    EXPECT_EQ(Titles(), (QStringList{"第一篇", "第二篇", "第三篇"}));
    EXPECT_EQ(state.m_records.At(2)->albumRef,
              QStringLiteral("http://blog.sina.com.cn/s/blog_b3.html"));
    EXPECT_EQ(state.m_account, QStringLiteral("李四"));
    ExpectRequests({"GET http://blog.sina.com.cn/s/articlelist_1234567890_0_1.html",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://blog.sina.com.cn/s/articlelist_1234567890_0_2.html",
                    "  Accept-Encoding: gzip, deflate"});
}

// One picture per article: the share area is never read, the separator is "&url=" when it
// counts as many as the "real_src" attributes.
struct ArticleCase {
    const char* name;
    const char* page;
    const char* queued;
};

class SinaArticleTest : public SinaTest, public ::testing::WithParamInterface<ArticleCase> {};

TEST_P(SinaArticleTest, FirstPictureOfTheArticle) {
    const char* article = "http://blog.sina.com.cn/s/blog_a1.html";
    const int index = AddRecord(Album("湖边散...", article));
    Serve(article, Page(Sn(GetParam().page)));
    FetchSinaBlogArticlePhotos(state, index);
    EXPECT_EQ(Queued(), QStringList{QString::fromUtf8(GetParam().queued)});
    EXPECT_EQ(state.m_records.At(index)->title, QStringLiteral("湖边散..."));
    ExpectRequests(
        {"GET http://blog.sina.com.cn/s/blog_a1.html", "  Accept-Encoding: gzip, deflate"});
}

INSTANTIATE_TEST_SUITE_P(
    Articles, SinaArticleTest,
    ::testing::Values(ArticleCase{"LinksAsManyAsPictures", "article_url.html",
                                  "http://album.sina.com.cn/pic/001 <- 湖边散步.jpg"},
                      ArticleCase{"FewerLinksThanPictures", "article_real_src.html",
                                  "http://s1.sinaimg.cn/orignal/003&690 <- 湖边散.jpg"}),
    [](const auto& info) { return std::string(info.param.name); });

const char* const kWeiboUser = "https://weibo.com/u/1234567";
const char* const kWeiboAlbums = "https://photo.weibo.com/albums/get_all?uid=1234567&count=65535";

TEST_F(SinaTest, WeiboAlbumsWithTheLoginCookies) {
    // Left on the site host alone: the photo host gets them from the request.
    LogIn(QStringLiteral("weibo.com"), {{"SUB", "login1"}});
    Serve(kWeiboUser, Page(Sn("weibo_user.html")));
    Serve(kWeiboAlbums, Page(Sn("weibo_albums.json")));

    FetchSinaWeiboAlbums(state, kWeiboUser);

    EXPECT_EQ(Titles(), (QStringList{"头像", "微博配图"}));  // the album without a key is skipped
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef,
              QStringLiteral("https://photo.weibo.com/photos/"
                             "get_all?uid=1234567&album_id=3555&count=32&type=3&page="));
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://ww1.sinaimg.cn/thumb300/c1.jpg"));
    EXPECT_EQ(first.pictureCount, 40);
    EXPECT_EQ(state.m_records.At(1)->pictureCount, 0);
    EXPECT_EQ(state.m_jobText1, QStringLiteral("1234567"));
    EXPECT_EQ(state.m_account, QStringLiteral("小明xm"));  // a name that cannot make a path
    ExpectRequests({"GET https://weibo.com/u/1234567", "  Accept-Encoding: gzip, deflate",
                    "  Cookie: SUB=login1",
                    "GET https://photo.weibo.com/albums/get_all?uid=1234567&count=65535",
                    "  Accept-Encoding: gzip, deflate", "  Cookie: SUB=login1"});
}

// The forms in which the user page carries the user, and what the first form's position 0
// falls through to.
struct UserCase {
    const char* name;
    const char* page;
    const char* id;
    const char* account;
};

class SinaWeiboUserTest : public SinaTest, public ::testing::WithParamInterface<UserCase> {};

TEST_P(SinaWeiboUserTest, UserIdAndNick) {
    Serve(kWeiboUser, Text(GetParam().page));
    Serve(kWeiboAlbums, Text("{\"data\":{\"album_list\":[]}}"));
    FetchSinaWeiboAlbums(state, kWeiboUser);
    EXPECT_EQ(state.m_jobText1, QString::fromUtf8(GetParam().id));
    EXPECT_EQ(server.requests().size(), *GetParam().id == 0 ? 1u : 2u);
    if (*GetParam().account != 0) {
        EXPECT_EQ(state.m_account, QString::fromUtf8(GetParam().account));
    } else {
        EXPECT_EQ(state.m_account.size(), 14);  // the time-stamp fallback
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SinaWeiboUserTest,
    ::testing::Values(
        UserCase{"SpacedConfig", "x $CONFIG['oid'] = '111'; $CONFIG['onick'] = '甲';", "111", "甲"},
        UserCase{"TightConfig", "x $CONFIG['oid']='222';$CONFIG['onick']='乙';", "222", "乙"},
        UserCase{"Json", "{\"user\":{\"id\":333,\"name\":\"丙\"}}", "333", "丙"},
        UserCase{"SpacedFormAtTheStartIsNotTaken",
                 "['oid'] = '444'; ['onick'] = '丁'; {\"id\":555,\"name\":\"戊\"}", "555", "戊"},
        UserCase{"NoUserNoAlbumRequest", "<html>login first</html>", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

const char* const kWeiboPhotos =
    "https://photo.weibo.com/photos/get_all?uid=1234567&album_id=3555&count=32&type=3&page=";

TEST_F(SinaTest, WeiboPhotosFromTheOriginalOrTheHostAndName) {
    state.m_jobText1 = QStringLiteral("1234567");
    const int index = AddRecord(Album("头像", kWeiboPhotos, 40));
    Serve(QString(kWeiboPhotos) + "1&_rnd=*", Page(Sn("weibo_photos1.json")));
    Serve(QString(kWeiboPhotos) + "2&_rnd=*", Page(Sn("weibo_photos_empty.json")));

    FetchSinaWeiboPhotos(state, index);

    EXPECT_EQ(Queued(), (QStringList{"http://ww1.sinaimg.cn/large/p1.jpg <- 第一.jpg",
                                     "http://tp2.sinaimg.cn/1234567/180/p2.jpg <- 头像.jpg",
                                     "http://ww3.sinaimg.cn/large/p3.jpg <- 第三.jpg"}));
    // 40 pictures make two pages: the empty second one is the last.
    EXPECT_TRUE(Waits().empty());
    ExpectRequests(
        {"GET https://photo.weibo.com/photos/"
         "get_all?uid=1234567&album_id=3555&count=32&type=3&page=1&_rnd=*",
         "  Accept-Encoding: gzip, deflate",
         "  Referer: https://photo.weibo.com/1234567/talbum/index?from=profile_wb",
         "GET https://photo.weibo.com/photos/"
         "get_all?uid=1234567&album_id=3555&count=32&type=3&page=2&_rnd=*",
         "  Accept-Encoding: gzip, deflate",
         "  Referer: https://photo.weibo.com/1234567/talbum/index?from=profile_wb"});
}

TEST_F(SinaTest, EmptyWeiboPagesAreAskedOnceMoreThenSkipped) {
    state.m_jobText1 = QStringLiteral("1234567");
    const int index = AddRecord(Album("头像", kWeiboPhotos, 100));  // four pages
    ServeInTurn(QString(kWeiboPhotos) + "1&_rnd=*",
                {Page(Sn("weibo_photos_empty.json")), Page(Sn("weibo_photos2.json"))});
    Serve(QString(kWeiboPhotos) + "2&_rnd=*", Page(Sn("weibo_photos_empty.json")));
    Serve(QString(kWeiboPhotos) + "3&_rnd=*", Page(Sn("weibo_photos_empty.json")));
    Serve(QString(kWeiboPhotos) + "4&_rnd=*", Page(Sn("weibo_photos_empty.json")));

    FetchSinaWeiboPhotos(state, index);

    EXPECT_EQ(Queued(), QStringList{"http://ww1.sinaimg.cn/large/p4.jpg <- 四.jpg"});
    // Page 1 again after 3 s; page 2 empty with the retry spent: on after 1.5 s; page 3
    // asked twice; page 4 is the last.
    EXPECT_EQ(Waits(), (std::vector<long long>{3000, 1500, 3000, 1500}));
    QStringList pages;
    for (const RecordedRequest& r : server.requests()) {
        pages << r.target.section(u'&', 4, 4);
    }
    EXPECT_EQ(pages, (QStringList{"page=1", "page=1", "page=2", "page=3", "page=3", "page=4"}));
}

TEST_F(SinaTest, WeiboPhotoPagesEndOrFailAtOnce) {
    state.m_jobText1 = QStringLiteral("1234567");
    // No count: the first empty page is the last, without a retry.
    const int none = AddRecord(Album("头像", kWeiboPhotos, 0));
    Serve(QString(kWeiboPhotos) + "1&_rnd=*", Page(Sn("weibo_photos_empty.json")));
    FetchSinaWeiboPhotos(state, none);
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(Waits().empty());

    // A failing page is tried three times, 4 s after each, then the album ends.
    const int failing = AddRecord(Album("配图", kWeiboPhotos, 40));
    Serve(QString(kWeiboPhotos) + "1&_rnd=*", Broken());
    FetchSinaWeiboPhotos(state, failing);
    EXPECT_EQ(server.requests().size(), 4u);
    EXPECT_EQ(Waits(), (std::vector<long long>{4000, 4000, 4000}));
    EXPECT_TRUE(Queued().isEmpty());
}

// The type-4 rows of the album-list dispatch with their adapters, one whole listing each.
class SinaDispatchTest : public SinaTest {
  protected:
    void List(const QString& input) {
        state.m_listType = SiteTypeValue(SiteType::Sina);
        bool single = false;
        DispatchAlbumList(state, input, single);
        EXPECT_FALSE(single);
    }
};

TEST_F(SinaDispatchTest, BlogAddressListsCategories) {
    Serve(kBlog, Page(Sn("blog_page.html")));
    Serve(kCategories, Page(Sn("categories.json")));
    List(kBlog);
    EXPECT_EQ(Titles(), (QStringList{"风景", "人物"}));
    EXPECT_EQ(state.m_subType, SubTypeValue(SinaSubType::BlogAlbums));
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(SinaDispatchTest, ArticleListAddressIsCutBeforeItsPageNumber) {
    Serve(QString(kArticleList) + "_1.html", Page(Sn("articles_title.html")));
    List(QStringLiteral("http://blog.sina.com.cn/s/articlelist_1234567890_0_3.html"));
    EXPECT_EQ(Titles(), (QStringList{"湖边散步", "山中"}));
    EXPECT_EQ(state.m_subType, SubTypeValue(SinaSubType::BlogArticle));
    ExpectRequests({"GET http://blog.sina.com.cn/s/articlelist_1234567890_0_1.html",
                    "  Accept-Encoding: gzip, deflate"});
}

TEST_F(SinaDispatchTest, WeiboAddressListsAlbumsOrSaysToLogIn) {
    Serve(kWeiboUser, Page(Sn("weibo_user.html")));
    Serve(kWeiboAlbums, Page(Sn("weibo_albums.json")));
    List(kWeiboUser);
    EXPECT_EQ(Titles(), (QStringList{"头像", "微博配图"}));
    EXPECT_EQ(state.m_subType, SubTypeValue(SinaSubType::Weibo));
    EXPECT_TRUE(frontend.messages.isEmpty());

    state.m_records.Clear();
    Serve(kWeiboUser, Text("<html>请先登录</html>"));
    List(kWeiboUser);
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(frontend.messages,
              QStringList{
                  "没有获取到相册，请在登录菜单里登录新浪(微博)帐号后重试,登录时勾上下次自动登录"});
}

}  // namespace
}  // namespace mosaiq::test
