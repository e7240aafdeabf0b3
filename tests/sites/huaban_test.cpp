#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/huaban.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site_types.h"
#include "web/site_tokens.h"

namespace mosaiq::test {
namespace {

const QString kBoard = QStringLiteral("https://huaban.com/boards/8801/");
const QString kPins =
    QStringLiteral("https://huaban.com/boards/8801/?js9pibaa&max=1002&limit=20&wfl=1");

class HuabanTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders = {QStringLiteral("Accept-Encoding"), QStringLiteral("Referer"),
                         QStringLiteral("Cookie")};
        state.m_listType = SiteTypeValue(SiteType::DuitangHuaban);
    }
    bool List(const QString& input) {
        bool single = false;
        DispatchAlbumList(state, input, single);
        return single;
    }
    static Reply Hb(const char* name) { return Page(QStringLiteral("huaban/") + name); }
};

TEST_F(HuabanTest, BoardIsOneAlbumWhosePinsFollowTheBoardPage) {
    Serve(kBoard, Hb("board.html"));
    Serve(kPins, Hb("pins_page2.json"));

    EXPECT_TRUE(List(kBoard + "?page=2"));
    ASSERT_EQ(state.m_records.Size(), 1);
    const ST_PERLISTRECORD& board = *state.m_records.At(0);
    EXPECT_EQ(board.title, QStringLiteral("家居灵感"));
    EXPECT_EQ(board.albumRef, QStringLiteral("https://huaban.com/8801/"));
    EXPECT_EQ(board.pictureCount, 3);
    EXPECT_TRUE(board.coverUrl.isEmpty());
    EXPECT_EQ(state.m_account, QStringLiteral("小花设计"));
    EXPECT_EQ(state.m_jobText3, QStringLiteral("https://huaban.com/"));
    EXPECT_EQ(state.m_subType.load(), 1);

    DispatchPictureList(state, 0);
    // The repeated first pin of the second page is skipped; the board's count ends the list.
    EXPECT_EQ(Queued(), (QStringList{"http://hbimg.b0.upaiyun.com/k1001 <- 客厅.jpg",
                                     "http://hbimg.b0.upaiyun.com/k1002 <- 餐厅.jpg",
                                     "http://hbimg.huabanimg.com/k1003 <- 卧室.jpg"}));
    EXPECT_TRUE(state.m_jobText1.isEmpty());  // a second download reads the board again
    ExpectRequests({"GET https://huaban.com/boards/8801/", "  Accept-Encoding: gzip, deflate",
                    "GET https://huaban.com/boards/8801/?js9pibaa&max=1002&limit=20&wfl=1",
                    "  Accept-Encoding: gzip, deflate", "  Referer: https://huaban.com/8801/"});
    EXPECT_EQ(Pauses(), std::vector<long long>{2000});
}

TEST_F(HuabanTest, TimedOutPinsPageIsRetriedWithoutTheSessionThreeTimesInAll) {
    Serve(kBoard, Hb("board.html"));
    List(kBoard);
    LogIn(QStringLiteral(".huaban.com"), {{"sid", "stale"}});
    ServeInTurn(kPins, {Text("<html><h1>504 Gateway Time-out</h1></html>"), Hb("pins_page2.json")});

    FetchHuabanPins(state, 0);
    EXPECT_EQ(g_pictureQueue().Count(), 3);
    EXPECT_EQ(Pauses(), (std::vector<long long>{2000, 6000}));
    const char* pins = "GET https://huaban.com/boards/8801/?js9pibaa&max=1002&limit=20&wfl=1";
    ExpectRequests({"GET https://huaban.com/boards/8801/", "  Accept-Encoding: gzip, deflate", pins,
                    "  Accept-Encoding: gzip, deflate", "  Referer: https://huaban.com/8801/",
                    "  Cookie: sid=stale", pins, "  Accept-Encoding: gzip, deflate",
                    "  Referer: https://huaban.com/8801/"});

    // Three failures end the album. Without the board page the pins start with no "max".
    server.ClearRequests();
    ClearPauses();
    g_pictureQueue().Clear();
    Serve(QStringLiteral("https://huaban.com/boards/8801/?js9pibaa&max=&limit=20&wfl=1"), Broken());
    FetchHuabanPins(state, 0);
    EXPECT_EQ(server.requests().size(), 3u);
    // The client's one second after its failed attempt, then the site's six.
    EXPECT_EQ(Pauses(), (std::vector<long long>{1000, 6000, 1000, 6000, 1000, 6000}));
}

TEST_F(HuabanTest, BoardWithoutPinCountIsReadToItsEnd) {
    // A count of 0 would otherwise end the list before its first pin.
    ST_PERLISTRECORD board;
    board.title = QStringLiteral("家居灵感");
    board.albumRef = QStringLiteral("https://huaban.com/8801/");
    board.pictureCount = 0;
    const int index = AddRecord(board);
    state.m_jobText1 = QString::fromUtf8(Fixture("huaban/board.html"));
    Serve(kPins, Hb("pins_page2.json"));
    Serve(QStringLiteral("https://huaban.com/boards/8801/?js9pibaa&max=1004&limit=20&wfl=1"),
          Text(R"({"pins":[]})"));
    FetchHuabanPins(state, index);
    EXPECT_EQ(g_pictureQueue().Count(), 4);
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(HuabanTest, PageWithoutBoardIsSaid) {
    Serve(kBoard, Text(QByteArray(R"(<html><head><title>登录花瓣</title></head><script>)"
                                  R"(app.page["login"] = {"title":"登录","next":"/boards/8801/"};)"
                                  R"(</script></html>)")));
    List(kBoard);
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(frontend.messages, QStringList{"没有在页面里找到画板，请确认网址，或登录花瓣后重试"});
}

TEST_F(HuabanTest, ShortOrFailingBoardPageIsTriedFourTimes) {
    Serve(kBoard, Text("<html>稍后再试</html>"));
    List(kBoard);
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_EQ(server.requests().size(), 4u);
    // The client waits after every failed attempt, the last one too.
    EXPECT_EQ(Pauses(), (std::vector<long long>{4000, 4000, 4000, 4000}));
    EXPECT_EQ(frontend.messages,
              QStringList{"无法读取网页：" + kBoard + "\n请检查网址和网络连接后重试"});
}

}  // namespace
}  // namespace mosaiq::test
