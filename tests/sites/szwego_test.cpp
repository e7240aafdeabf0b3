#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site_types.h"
#include "sites/szwego.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>

namespace mosaiq::test {
namespace {

const QString kShop =
    QStringLiteral("https://www.szwego.com/static/index.html?t=1#/shop_detail/A1/");
const char kFirstPage[] =
    "https://www.szwego.com/service/album/get_album_themes_list.jsp?act=single_album&shop_id=A1"
    "&search_value=&search_img=&start_date=&end_date=&tag=[]&page_index=1&from_id=&_=*";
const char kSecondPage[] =
    "https://www.szwego.com/service/album/get_album_themes_list.jsp?act=single_album&shop_id=A1"
    "&search_value=&search_img=&start_date=&end_date=&tag=[]&page_index=1&from_id=&slip_type=1"
    "&time_stamp=1600000000&_=*";

class SzwegoTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders = {QStringLiteral("Accept"), QStringLiteral("Accept-Encoding")};
        state.m_listType = SiteTypeValue(SiteType::InstagramSzwego);
    }
    void List() {
        bool single = true;
        DispatchAlbumList(state, kShop, single);
        EXPECT_FALSE(single);
    }
    static Reply Sz(const char* name) { return Page(QStringLiteral("szwego/") + name); }
    static QString Read(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return QStringLiteral("(none)");
        }
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                  (bytes.size() - 2) / 2);
    }
};

TEST_F(SzwegoTest, PostsArePagedByTheLastPostsTimeStamp) {
    Serve(kFirstPage, Sz("posts_page1.json"));
    Serve(kSecondPage, Sz("posts_end.json"));

    List();
    EXPECT_EQ(Titles(), (QStringList{"G1", "G2", "G3"}));  // the post without pictures skipped
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, QStringLiteral("\"https://xcimg.szwego.com/a1.jpg\","
                                             "\"https://xcimg.szwego.com/a2.jpg\","
                                             "\"https://xcimg.szwego.com/a3.jpg\""));
    EXPECT_EQ(first.coverUrl, QStringLiteral("https://xcimg.szwego.com/a1_small.jpg"));
    EXPECT_EQ(first.createdText, QStringLiteral("新款上市\r\n包邮"));
    EXPECT_TRUE(first.extraRef.isEmpty());
    EXPECT_EQ(first.pictureCount, -1);
    EXPECT_EQ(state.m_records.At(1)->extraRef, QStringLiteral("https://xcimg.szwego.com/v2.mp4"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("1600000000"));
    EXPECT_EQ(state.m_jobText2, kShop);
    EXPECT_TRUE(state.m_account.isEmpty());
    EXPECT_EQ(state.m_subType.load(), 1);
    const char* accept =
        "  Accept: text/html,application/xhtml+xml,application/xml;q=0.9,image/webp,image/apng,"
        "*/*;q=0.8";
    ExpectRequests({(std::string("GET ") + kFirstPage).c_str(), accept,
                    "  Accept-Encoding: gzip, deflate", (std::string("GET ") + kSecondPage).c_str(),
                    accept, "  Accept-Encoding: gzip, deflate"});
    EXPECT_TRUE(frontend.logins.isEmpty());
    // The cache breaker: the start's seconds, then three digits of run time.
    const QString target = server.requests().at(0).target;
    const QString breaker = target.mid(target.lastIndexOf("&_=") + 3);
    EXPECT_EQ(breaker.size(), QString::number(QDateTime::currentSecsSinceEpoch()).size() + 3);
    EXPECT_TRUE(QRegularExpression("^[0-9]+$").match(breaker).hasMatch()) << breaker.toStdString();
    const QString second = server.requests().at(1).target;
    EXPECT_EQ(second.mid(second.lastIndexOf("&_=") + 3).chopped(3), breaker.chopped(3));
}

TEST_F(SzwegoTest, PageThatListsNoPostEndsTheListing) {
    // Its cursor would not move: the same page would come back for ever.
    Serve(kFirstPage, Sz("posts_page1.json"));
    Serve(kSecondPage, Sz("posts_text_only.json"));
    List();
    EXPECT_EQ(state.m_records.Size(), 3);
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(SzwegoTest, VerificationPageOpensTheLoginOnceThenAsksAgain) {
    ServeInTurn(kFirstPage, {Sz("verification.html"), Sz("verification.html")});
    List();
    EXPECT_EQ(frontend.logins, QStringList{kShop});
    EXPECT_EQ(frontend.loginAutoCloseSeconds, std::vector<int>{4});
    EXPECT_EQ(server.requests().size(), 2u);  // the second verification page is a page
    EXPECT_EQ(state.m_records.Size(), 0);

    server.ClearRequests();
    frontend.logins.clear();
    ServeInTurn(kFirstPage, {Sz("verification.html"), Sz("posts_page1.json")});
    Serve(kSecondPage, Sz("posts_end.json"));
    List();
    EXPECT_EQ(frontend.logins.size(), 1);
    EXPECT_EQ(state.m_records.Size(), 3);
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST_F(SzwegoTest, PicturesOrTheVideoAreQueuedWithThePostText) {
    Serve(kFirstPage, Sz("posts_page1.json"));
    Serve(kSecondPage, Sz("posts_end.json"));
    List();
    const auto download = [&](int album) {
        g_pictureQueue().Clear();
        DispatchPictureList(state, album);
        return Queued();
    };
    EXPECT_EQ(download(0), (QStringList{"https://xcimg.szwego.com/a1.jpg <- 1.jpg",
                                        "https://xcimg.szwego.com/a2.jpg <- 2.jpg",
                                        "https://xcimg.szwego.com/a3.jpg <- 3.jpg"}));
    const QString folder = g_pictureQueue().folder;
    EXPECT_EQ(Read(folder + "图片描述.txt"), QStringLiteral("新款上市\r\n包邮"));

    EXPECT_EQ(download(1), QStringList{"https://xcimg.szwego.com/v2.mp4 <- 1.mp4"});
    EXPECT_EQ(Read(g_pictureQueue().folder + "图片描述.txt"), QStringLiteral("(none)"));
    EXPECT_EQ(download(2), QStringList{"https://xcimg.szwego.com/c1.jpg <- 1.jpg"});
    EXPECT_EQ(server.requests().size(), 2u);  // the records carry everything
}

}  // namespace
}  // namespace mosaiq::test
