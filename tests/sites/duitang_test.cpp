#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/duitang.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const char kPhotos[] =
    "https://www.duitang.com/napi/blog/list/by_album/?album_id=%1&limit=24&include_fields="
    "top_comments%2Cis_root%2Csource_link%2Cbuyable%2Croot_id%2Cstatus%2Clike_count%2Csender"
    "%2Creply_count&start=%2&_=*";

QString PhotosAddress(const QString& album, int start) {
    QString address = QString::fromLatin1(kPhotos);
    return address.replace("%1", album)
        .replace("&start=%2", QStringLiteral("&start=%1").arg(start));
}

class DuitangTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders = {QStringLiteral("Accept-Encoding"), QStringLiteral("Referer")};
        state.m_listType = SiteTypeValue(SiteType::DuitangHuaban);
    }
    bool List(const QString& input) {
        bool single = false;
        DispatchAlbumList(state, input, single);
        return single;
    }
    static Reply Dt(const char* name) { return Page(QStringLiteral("duitang/") + name); }
};

TEST_F(DuitangTest, UserAlbumsArePagedUntilAPageHasNone) {
    const QString user = QStringLiteral("https://www.duitang.com/people/?user_id=12345");
    Serve(user, Dt("user_page.html"));
    const QString list =
        QStringLiteral("http://www.duitang.com/album/list/%1/24/?user_id=12345&_=*");
    Serve(list.arg(1), Dt("albums_page1.json"));
    Serve(list.arg(2), Dt("albums_page2.json"));
    Serve(list.arg(3), Dt("albums_end.json"));

    EXPECT_FALSE(List(user));
    EXPECT_EQ(Titles(), (QStringList{"旅行", "美食", "第二页"}));  // the untitled one skipped
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, QStringLiteral("501"));
    EXPECT_EQ(first.pictureCount, 12);
    EXPECT_EQ(first.coverUrl, QStringLiteral("https://c-ssl.duitang.com/uploads/a1.jpg"));
    EXPECT_EQ(state.m_account, QStringLiteral("堆糖_12345"));
    EXPECT_EQ(state.m_subType.load(), 0);
    EXPECT_TRUE(state.m_jobText1.isEmpty());
    const char* referer = "  Referer: http://www.duitang.com/people/?user_id=12345";
    ExpectRequests({"GET https://www.duitang.com/people/?user_id=12345",
                    "  Accept-Encoding: gzip, deflate",
                    "GET http://www.duitang.com/album/list/1/24/?user_id=12345&_=*",
                    "  Accept-Encoding: gzip, deflate", referer,
                    "GET http://www.duitang.com/album/list/2/24/?user_id=12345&_=*",
                    "  Accept-Encoding: gzip, deflate", referer,
                    "GET http://www.duitang.com/album/list/3/24/?user_id=12345&_=*",
                    "  Accept-Encoding: gzip, deflate", referer});
    EXPECT_EQ(Pauses(), (std::vector<long long>{1500, 1500, 1500}));
    // The cache breaker: the seconds, then their last four digits.
    const QString target = server.requests().at(1).target;
    const QString breaker = target.mid(target.indexOf("&_=") + 3);
    ASSERT_GE(breaker.size(), 14);
    EXPECT_EQ(breaker.right(4), breaker.chopped(4).right(4));
}

TEST_F(DuitangTest, AlbumAddressListsThatAlbumAndDownloadsItsPages) {
    const QString album = QStringLiteral("https://www.duitang.com/album/?id=123&x=1");
    Serve(album, Dt("album_page.html"));
    Serve(PhotosAddress("123", 0), Dt("photos_page1.json"));
    Serve(PhotosAddress("123", 24), Dt("photos_page2.json"));

    EXPECT_TRUE(List(album));
    ASSERT_EQ(state.m_records.Size(), 1);
    EXPECT_EQ(state.m_records.At(0)->title, QStringLiteral("猫咪合集"));
    EXPECT_EQ(state.m_records.At(0)->albumRef, QStringLiteral("123"));
    EXPECT_EQ(state.m_records.At(0)->pictureCount, 36);
    EXPECT_EQ(state.m_account, QStringLiteral("堆糖_777"));
    EXPECT_EQ(Pauses(), std::vector<long long>{2000});

    ClearPauses();
    DispatchPictureList(state, 0);
    EXPECT_EQ(Queued(), (QStringList{"https://c-ssl.duitang.com/uploads/item/a.jpg <- 第一张.jpg",
                                     "https://c-ssl.duitang.com/uploads/item/b.png <- 第二张.jpg",
                                     "https://c-ssl.duitang.com/uploads/item/c.jpeg <- 最后.jpg"}));
    const char* referer = "  Referer: http://www.duitang.com/album/?id=123";
    const QByteArray page1 = PhotosAddress("123", 0).toUtf8();
    const QByteArray page2 = PhotosAddress("123", 24).toUtf8();
    ExpectRequests({"GET https://www.duitang.com/album/?id=123&x=1",
                    "  Accept-Encoding: gzip, deflate", ("GET " + page1).constData(),
                    "  Accept-Encoding: gzip, deflate", referer, ("GET " + page2).constData(),
                    "  Accept-Encoding: gzip, deflate", referer});
    EXPECT_EQ(Pauses(), std::vector<long long>{2500});
    // The page tag goes up by one from page to page.
    const auto requests = server.requests();
    const QString tag1 = requests.at(1).target.right(3);
    const QString tag2 = requests.at(2).target.right(3);
    EXPECT_EQ(tag2.toInt(), tag1.toInt() + 1);
}

struct RefusedCase {
    const char* name;
    const char* input;
    const char* page;  // served at the input, or nullptr
    const char* message;
};

class DuitangHuabanRefusedTest : public DuitangTest,
                                 public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(DuitangHuabanRefusedTest, EndsWithTheMessageAndNoAdapter) {
    const RefusedCase& c = GetParam();
    if (c.page != nullptr) {
        Serve(QString::fromUtf8(c.input), c.page[0] == '!' ? Broken() : Page(c.page));
    }
    List(QString::fromUtf8(c.input));
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(server.requests().size(), c.page != nullptr ? 1u : 0u);
    EXPECT_EQ(frontend.messages,
              c.message == nullptr ? QStringList() : QStringList{QString::fromUtf8(c.message)});
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, DuitangHuabanRefusedTest,
    ::testing::Values(RefusedCase{"DuitangPageWithoutUser",
                                  "https://www.duitang.com/people/?user_id=5",
                                  "duitang/no_user_page.html",
                                  "没有在页面里找到堆糖用户\n请输入堆糖用户主页或专辑的网址后重试"},
                      RefusedCase{"DuitangPageUnreachable",
                                  "https://www.duitang.com/people/?user_id=5", "!",
                                  "无法读取网页：https://www.duitang.com/people/?user_id=5\n"
                                  "请检查网址和网络连接后重试"},
                      RefusedCase{"HuabanAddressWithoutBoard", "https://huaban.com/user/xh/",
                                  nullptr, "请输入花瓣画板的网址\n(网址中含有/boards/)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DuitangTest, UserIdFromThePageNeverLeadsOutOfTheSaveFolder) {
    const QString user = QStringLiteral("https://www.duitang.com/people/?user_id=1");
    Serve(user, Text("<div class=\"dt-header-btm\"><a href=\"/people/?user_id=../../x\">"));
    Serve(QStringLiteral("http://www.duitang.com/album/list/1/24/?user_id=..%2F..%2Fx&_=*"),
          Dt("albums_end.json"));
    List(user);
    EXPECT_FALSE(state.m_account.contains(u'/'));
    EXPECT_TRUE(state.m_account.startsWith(QStringLiteral("堆糖_")));
    EXPECT_EQ(server.requests().size(), 2u);  // the id itself goes to the site encoded
}

TEST_F(DuitangTest, FailedPageEndsTheListingWithWhatWasFound) {
    const QString list =
        QStringLiteral("http://www.duitang.com/album/list/%1/24/?user_id=12345&_=*");
    Serve(list.arg(1), Dt("albums_page1.json"));
    Serve(list.arg(2), Broken());
    FetchDuitangAlbums(state, QStringLiteral("12345"));
    EXPECT_EQ(Titles(), (QStringList{"旅行", "美食"}));
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_TRUE(frontend.messages.isEmpty());  // the site was reached

    state.m_listState = ListState::StopRequested;  // a stopped job asks for no page
    FetchDuitangAlbums(state, QStringLiteral("12345"));
    EXPECT_EQ(server.requests().size(), 2u);
}

}  // namespace
}  // namespace mosaiq::test
