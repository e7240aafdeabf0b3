#include "shop_site_fixture.h"

#include "sites/site_types.h"
#include "sites/taobao.h"

namespace mosaiq::test {
namespace {

const QString kItem = QStringLiteral("https://item.taobao.com/item.htm?id=123");
const char kDone[] = "商品主图已全部加入下载队列";

class TaobaoTest : public ShopSiteTest {
  protected:
    int AddItem(const QString& address = kItem) {
        ST_PERLISTRECORD record;
        record.title = QStringLiteral("纯棉T恤 男款");
        record.albumRef = address;
        return AddRecord(record);
    }
};

TEST_F(TaobaoTest, AnItemAddressListsTheItemAndKeepsItsPage) {
    Serve(kItem, Page("taobao/item.html"));

    EXPECT_TRUE(List(SiteType::Shops, kItem + QStringLiteral("#detail")));

    ExpectRequests({"GET https://item.taobao.com/item.htm?id=123"});
    ASSERT_EQ(Titles(), QStringList{QStringLiteral("纯棉T恤 男款")});
    const ST_PERLISTRECORD& record = *state.m_records.At(0);
    EXPECT_EQ(record.albumRef, kItem);
    EXPECT_EQ(record.coverUrl, QString());
    EXPECT_EQ(record.pictureCount, -1);
    EXPECT_EQ(state.m_subType,
              kNoSubType);  // the shop row leaves the sub-type to the Taobao default
    EXPECT_EQ(state.m_account, QStringLiteral("小店铺"));
    const QString page = FixtureText("taobao/item.html");
    EXPECT_EQ(state.m_jobText1, page);
    EXPECT_EQ(DataFile("tb.txt"), page);
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(TaobaoTest, ShopAddressesBecomeSearchAddressesAndListNothing) {
    struct Case {
        const char* input;
        bool fetched;
    };
    for (const Case& c : {Case{"https://shop123.taobao.com/", false},
                          Case{"https://foo.tmall.com/category-9.htm?pageNum=2#x", false},
                          Case{"https://item.taobao.com/item.htm?id=5", true}}) {
        SCOPED_TRACE(c.input);
        frontend.messages.clear();
        server.ClearRequests();
        Serve(QStringLiteral("https://item.taobao.com/item.htm?id=5"), Broken());

        EXPECT_FALSE(List(SiteType::Shops, QString::fromUtf8(c.input)));

        EXPECT_EQ(server.requests().size(), c.fetched ? 1u : 0u);
        EXPECT_EQ(state.m_records.Size(), 0);
        ASSERT_EQ(frontend.messages.size(), 1);
        EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("没有获取到商品")));
    }
}

TEST_F(TaobaoTest, TitleAndNickNameForms) {
    struct Case {
        const char* page;
        const char* title;
        const char* nick;
    };
    const Case cases[] = {
        // The site's words after the last "-" go; a percent-encoded script nick is decoded.
        {"<title>A-B - 淘宝网</title>nickName:'%E5%BA%97',", "A-B", "店"},
        {"<title>无横线</title>\"sellerNickName\":x ,", "无横线", "x"},
        // Attributes are taken as written, from their last "'" on.
        {"<meta name=\"keywords\" content=\"关键词-天猫\">data-nick=\"%41'好店 \"", "关键词",
         "好店"},
        {"<title>X</title>data-tnick=\"天猫店\"", "X", "天猫店"},
        {"<title>T</title>sellerNick:'卖家',", "T", "卖家"},
        // No nick at all: a time-stamp name, never an empty folder name.
        {"<title>T</title>", "T", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        state.m_records.Clear();
        Serve(kItem, Gbk(QString::fromUtf8(c.page)));

        FetchTaobaoItem(state, kItem);

        ASSERT_EQ(Titles(), QStringList{QString::fromUtf8(c.title)});
        if (c.nick != nullptr) {
            EXPECT_EQ(state.m_account, QString::fromUtf8(c.nick));
        } else {
            EXPECT_EQ(state.m_account.size(), 14);  // "%Y%m%d%H%M%S"
        }
    }
}

TEST_F(TaobaoTest, TraditionalPagesAreReadAsBig5) {
    state.m_taobaoTraditional = 1;
    Reply page = Text(QByteArray("<title>\xA4\xA4\xA4\xE5-x</title>"));  // "中文" in Big5
    Serve(kItem, page);

    FetchTaobaoItem(state, kItem);

    EXPECT_EQ(Titles(), QStringList{QStringLiteral("中文")});
}

TEST_F(TaobaoTest, MainPicturesFromTheKeptPage) {
    state.m_jobText1 = FixtureText("taobao/item.html");
    const int album = AddItem();

    FetchTaobaoPictures(state, album);

    ExpectRequests({});
    EXPECT_EQ(Queued(),
              (QStringList{
                  "http://img.alicdn.com/bao/a.jpg <- 主图_001.jpg | Referer: " + kItem,
                  "http://img.alicdn.com/bao/b.png <- 主图_002.jpg | Referer: " + kItem,
                  "https://gd1.alicdn.com/bao/c_d.jpg <- 主图_003.jpg | Referer: " + kItem,
              }));
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QString::fromUtf8(kDone)));
}

TEST_F(TaobaoTest, PriceInTheNames) {
    struct Case {
        uint8_t inName;
        int32_t delta;
        const char* price;
        const char* first;
    };
    for (const Case& c :
         {Case{1, 0, "defaultItemPrice':'12.50'", "价格12.50元_主图_001"},
          Case{1, 3, "defaultItemPrice':'12.50'", "价格15.50元_主图_001"},
          Case{1, -20, "\"tb-rmb-num\">9.9<", "价格-10.10元_主图_001"},
          Case{1, 0, "price:35,", "价格35元_主图_001"}, Case{1, 2, "nothing", "主图_001"},
          Case{0, 3, "defaultItemPrice\":\"7\"", "主图_001"}}) {
        SCOPED_TRACE(c.price);
        g_pictureQueue().Clear();
        state.m_taobaoPriceInName = c.inName;
        state.m_taobaoPriceDelta = c.delta;
        state.m_jobText1 =
            QString::fromUtf8(c.price) +
            QStringLiteral("//dsc.x <ul id=\"J_UlThumb\"><img src=\"//p/a.jpg_1\"></ul>");
        const int album = AddItem();

        FetchTaobaoPictures(state, album);

        ASSERT_EQ(Queued().size(), 1);
        EXPECT_EQ(g_pictureQueue().Row(0).fileName, QString::fromUtf8(c.first) + ".jpg");
    }
}

TEST_F(TaobaoTest, WithoutAKeptPageTheItemIsFetchedAndAPackageDealFollowed) {
    Serve(kItem, Page("taobao/package_notice.html"));
    Serve(QStringLiteral("https://meal.taobao.com/item.htm?id=123"), Page("taobao/package.html"));
    const int album = AddItem();

    FetchTaobaoPictures(state, album);

    ExpectRequests({"GET https://item.taobao.com/item.htm?id=123",
                    "  Accept-Encoding: gzip, deflate", "  Accept-Language: zh-cn",
                    "  Accept-Charset: GBK", "  Referer: https://item.taobao.com/item.htm?id=123",
                    "GET https://meal.taobao.com/item.htm?id=123",
                    "  Accept-Encoding: gzip, deflate", "  Accept-Language: zh-cn",
                    "  Accept-Charset: GBK", "  Referer: https://item.taobao.com/item.htm?id=123"});
    EXPECT_EQ(Queued(),
              QStringList{"http://img.alicdn.com/meal/m.jpg <- 主图_001.jpg | Referer: " + kItem});
}

TEST_F(TaobaoTest, AFailedPackageDealPageEndsWithNothing) {
    Serve(kItem, Page("taobao/package_notice.html"));
    Serve(QStringLiteral("https://meal.taobao.com/item.htm?id=123"), Broken());
    const int album = AddItem();

    FetchTaobaoPictures(state, album);

    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_TRUE(Queued().isEmpty());
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(TaobaoTest, AnUnreadPageGoesToTheLogAndTheUserIsAsked) {
    state.m_jobText1 = FixtureText("taobao/unread.html");
    const int album = AddItem();

    FetchTaobaoPictures(state, album);

    EXPECT_TRUE(Queued().isEmpty());
    EXPECT_EQ(DataFile("log.err"), state.m_jobText1);
    EXPECT_EQ(frontend.messages,
              QStringList{"获取信息出错(2),请将程序目录下的log.err文件发给作者,以便修改"});
}

TEST_F(TaobaoTest, DescriptionOnlyQueuesNothingAndSaysSo) {
    SetOption(SiteType::Shops, kOptionShopDescOnly);
    state.m_listType = SiteTypeValue(SiteType::Shops);
    state.m_jobText1 = FixtureText("taobao/item.html");
    const int album = AddItem();

    FetchTaobaoPictures(state, album);

    EXPECT_TRUE(Queued().isEmpty());
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].contains(QStringLiteral("没有下载任何图片")));
}

TEST_F(TaobaoTest, SkipPagesUseTheirDataSourcesWithoutReferer) {
    const QString skip = QStringLiteral("https://tbskip.taobao.com/s.htm?id=9");
    Serve(skip, Page("taobao/skip.html"));
    ASSERT_TRUE(List(SiteType::Shops, skip));
    EXPECT_EQ(state.m_account, QStringLiteral("铺"));
    state.m_taobaoPriceInName = 1;

    FetchTaobaoPictures(state, 0);

    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(Queued(), (QStringList{"http://img.alicdn.com/skip/a.jpg <- 主图_001.jpg",
                                     "https://img.alicdn.com/skip/b_1.jpg <- 主图_002.jpg"}));
    EXPECT_EQ(frontend.messages.size(), 1);
}

TEST_F(TaobaoTest, AStopEndsThePicturesAtOnceWithoutMessage) {
    state.m_jobText1 = FixtureText("taobao/item.html");
    const int album = AddItem();
    state.m_downState = DownState::Stopped;

    FetchTaobaoPictures(state, album);

    EXPECT_EQ(Queued().size(), 1);
    EXPECT_TRUE(frontend.messages.isEmpty());
}

}  // namespace
}  // namespace mosaiq::test
