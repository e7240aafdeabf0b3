#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/instagram.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const QString kProfile = QStringLiteral("https://www.instagram.com/tester");
const QString kScript =
    QStringLiteral("https://www.instagram.com/static/bundles/ProfilePageContainer.js/abc123.js");
const char kHash[] = "42323d64886122307be10013ad2dcc44";

QString Follow(const char* cursor) {
    return QStringLiteral("https://www.instagram.com/graphql/query/?query_hash=") +
           QLatin1String(kHash) +
           QStringLiteral(
               "&variables=%7B%22id%22%3A%224455%22%2C%22first%22%3A12%2C%22after%22"
               "%3A%22") +
           QLatin1String(cursor) + QStringLiteral("%22%7D");
}

class InstagramTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders = {QStringLiteral("User-Agent"), QStringLiteral("Accept-Encoding"),
                         QStringLiteral("Accept-Language"), QStringLiteral("Referer")};
        state.m_listType = SiteTypeValue(SiteType::InstagramSzwego);
        Serve(kProfile, Ig("profile.html"));
        Serve(kScript, Ig("ProfilePageContainer.js"));
    }
    void List(const QString& input = kProfile + "/?hl=zh-cn#top") {
        bool single = false;
        DispatchAlbumList(state, input, single);
        EXPECT_TRUE(single);
    }
    static Reply Ig(const char* name) { return Page(QStringLiteral("instagram/") + name); }

    // What every request but a post's carries.
    static std::vector<std::string> Request(const QString& address, bool referer = true) {
        std::vector<std::string> lines{
            "GET " + address.toStdString(),
            "  User-Agent: Mozilla/5.0 (Windows NT 5.1) AppleWebKit/537.36 (KHTML, like Gecko) "
            "Chrome/30.0.1599.101 Safari/537.36",
            "  Accept-Encoding: gzip, deflate", "  Accept-Language: zh-CN,zh;q=0.8"};
        if (referer) {
            lines.push_back("  Referer: https://www.instagram.com/tester/");
        }
        return lines;
    }
    void ExpectLog(std::initializer_list<std::vector<std::string>> requests) const {
        std::string expected;
        for (const auto& request : requests) {
            for (const std::string& line : request) {
                expected += (expected.empty() ? "" : "\n") + line;
            }
        }
        EXPECT_EQ(RequestLog(), expected);
    }
};

TEST_F(InstagramTest, AccountPostsArePagedByCursorAndSeveralPicturePostsOpened) {
    Serve(Follow("QVFCcursor1%3D%3D"), Ig("posts_page2.json"));
    Serve(Follow("QVFCcursor2%3D%3D"), Ig("posts_last.json"));
    Serve("https://www.instagram.com/p/ABC/?taken-by=tester&__a=1", Ig("sidecar_abc.json"));

    List();
    ASSERT_EQ(state.m_records.Size(), 1);
    EXPECT_EQ(state.m_records.At(0)->title, QStringLiteral("tester"));
    EXPECT_EQ(state.m_records.At(0)->albumRef, kProfile);
    EXPECT_EQ(state.m_records.At(0)->pictureCount, -1);
    EXPECT_EQ(state.m_jobText2, QStringLiteral("tester"));
    EXPECT_TRUE(state.m_account.isEmpty());

    DispatchPictureList(state, 0);
    EXPECT_EQ(Queued(),
              (QStringList{"https://scontent.cdninstagram.com/t51/a.jpg?ig_cache_key=x&se=7 <- "
                           "旅行 🌊.jpg",
                           "https://scontent.cdninstagram.com/t51/b.jpg <- tester.jpg",
                           "https://scontent.cdninstagram.com/t51/c1.jpg <- ABC_002.jpg",
                           "https://scontent.cdninstagram.com/t51/c2.jpg <- ABC_003.jpg",
                           "https://scontent.cdninstagram.com/t51/d.jpg <- tester(1).jpg",
                           "https://scontent.cdninstagram.com/t51/e.jpg <- 最后.jpg"}));
    ExpectLog({Request(kProfile), Request(kScript), Request(Follow("QVFCcursor1%3D%3D")),
               Request("https://www.instagram.com/p/ABC/?taken-by=tester&__a=1", false),
               Request(Follow("QVFCcursor2%3D%3D"))});
    EXPECT_EQ(Pauses(), (std::vector<long long>{4000, 1000, 3000}));
    EXPECT_TRUE(frontend.messages.isEmpty());  // the page addresses are not shown
}

struct EndCase {
    const char* name;
    const char* secondPage;
    size_t requests;
    std::vector<long long> pauses;
};

class InstagramEndTest : public InstagramTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(InstagramEndTest, PagingEnds) {
    Serve(Follow("QVFCcursor1%3D%3D"), Ig(GetParam().secondPage));
    List();
    FetchInstagramPosts(state, 0);
    EXPECT_EQ(server.requests().size(), GetParam().requests);
    EXPECT_EQ(Pauses(), GetParam().pauses);
}

INSTANTIATE_TEST_SUITE_P(Pages, InstagramEndTest,
                         ::testing::Values(
                             // The cursor stands in the address that brought it.
                             EndCase{"SameCursorAgain", "posts_same_cursor.json", 3, {4000, 3000}},
                             // Waited on, then its own address comes round again.
                             EndCase{"SyntaxError", "syntax_error.json", 3, {4000, 5000}},
                             EndCase{"LastPage", "posts_last.json", 3, {4000}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstagramTest, UnreachablePostQueuesItsOwnPicture) {
    Serve(Follow("QVFCcursor1%3D%3D"), Ig("posts_page2.json"));
    Serve(Follow("QVFCcursor2%3D%3D"), Ig("posts_last.json"));
    Serve("https://www.instagram.com/p/ABC/?taken-by=tester&__a=1", Broken());
    List();
    FetchInstagramPosts(state, 0);
    ASSERT_EQ(g_pictureQueue().Count(), 5);
    EXPECT_EQ(g_pictureQueue().Row(2).address,
              QStringLiteral("https://scontent.cdninstagram.com/t51/c.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(2).fileName, QStringLiteral("多图.jpg"));
}

TEST_F(InstagramTest, AddressWithoutAccountIsRefused) {
    bool single = false;
    DispatchAlbumList(state, QStringLiteral("https://www.instagram.com/?hl=en"), single);
    EXPECT_EQ(state.m_records.Size(), 0);  // no album, so the download does not start
    EXPECT_EQ(frontend.messages, QStringList{"请输入Instagram用户主页的网址"});
}

TEST_F(InstagramTest, ProfileWithoutScriptEndsTheAlbum) {
    Serve(kScript, Broken());
    List(QStringLiteral("https://www.instagram.com/tester"));
    FetchInstagramPosts(state, 0);
    EXPECT_EQ(g_pictureQueue().Count(), 0);
    EXPECT_EQ(server.requests().size(), 2u);
}

}  // namespace
}  // namespace mosaiq::test
