#include "shop_site_fixture.h"

#include "sites/jd.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const QString kItem = QStringLiteral("https://item.jd.com/100.html");
const char kDone[] = "商品主图已全部加入下载队列";

class JdTest : public ShopSiteTest {
  protected:
    void SetUp() override {
        ShopSiteTest::SetUp();
        state.m_listType = SiteTypeValue(SiteType::JdProduct);
        state.m_subType = SubTypeValue(JdSubType::Jd);
    }
    static Reply GbkPage(const char* name) {
        Reply reply = Page(QString::fromUtf8(name));
        reply.headers = {{"Content-Type", "text/html; charset=GBK"}};
        return reply;
    }
    int AddProduct(const QString& address) {
        state.m_jobText1 = FixtureText("jd/item.html");
        ST_PERLISTRECORD record;
        record.title = QStringLiteral("华为手机 Mate");
        record.albumRef = address;
        return AddRecord(record);
    }
};

TEST_F(JdTest, AProductAddressListsTheProductAndKeepsItsPage) {
    Serve(kItem, GbkPage("jd/item.html"));

    EXPECT_TRUE(List(SiteType::JdProduct, kItem + QStringLiteral("#crumb-wrap")));

    ExpectRequests({"GET https://item.jd.com/100.html", "  Accept-Encoding: gzip, deflate"});
    ASSERT_EQ(Titles(), QStringList{QStringLiteral("华为手机 Mate")});
    EXPECT_EQ(state.m_records.At(0)->albumRef, kItem);
    EXPECT_EQ(state.m_records.At(0)->pictureCount, -1);
    EXPECT_EQ(state.m_subType, SubTypeValue(JdSubType::Jd));
    EXPECT_EQ(state.m_account, QStringLiteral("京东"));
    const QString page = FixtureText("jd/item.html");
    EXPECT_EQ(state.m_jobText1, page);
    EXPECT_EQ(DataFile("log.err"), page);  // every page read is kept for the author
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(JdTest, TitleForms) {
    struct Case {
        const char* page;
        const char* title;  // nullptr: no product
    };
    const Case cases[] = {
        {"<div class=\"sku-name\">\n 手机 </div>", "手机"},
        {"<h1>旧</h1><li class=\"item ellipsis\" title=\"荣耀 X\">荣耀</li>", "荣耀 X"},
        // The heading counts only inside the product block.
        {"<h1>广告</h1><div id=\"product-intro\"><h1>老款</h1>", "老款"},
        {"<h1>广告</h1><div id=\"product-intro\">", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        state.m_records.Clear();
        frontend.messages.clear();
        Serve(kItem, Text(QByteArray(c.page)));

        FetchJdProduct(state, kItem);

        if (c.title != nullptr) {
            EXPECT_EQ(Titles(), QStringList{QString::fromUtf8(c.title)});
            EXPECT_TRUE(frontend.messages.isEmpty());
        } else {
            EXPECT_EQ(state.m_records.Size(), 0);
            ASSERT_EQ(frontend.messages.size(), 1);
            EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("没有在页面里找到商品")));
        }
    }
}

TEST_F(JdTest, AFailedPageListsNothing) {
    Serve(kItem, Broken());

    EXPECT_FALSE(List(SiteType::JdProduct, kItem));

    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_TRUE(state.m_jobText1.isEmpty());
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(JdTest, TheAlbumsOwnVariantComesFromTheKeptPageTheOthersAreFetched) {
    Serve(QStringLiteral("https://item.jd.com/200.html"), GbkPage("jd/variant.html"));
    Serve(QStringLiteral("https://item.jd.com/300.html"), Broken());
    const int album = AddProduct(kItem);

    FetchJdPictures(state, album);

    // A variant page is read plain; the one that failed is skipped.
    ExpectRequests({"GET https://item.jd.com/200.html", "GET https://item.jd.com/300.html"});
    EXPECT_EQ(Pauses(), (std::vector<long long>{2000, 1000}));  // then the failed one's retry delay
    const QString own = QStringLiteral(" | Referer: https://item.jd.com/100.html");
    const QString blue = QStringLiteral(" | Referer: https://item.jd.com/200.html");
    EXPECT_EQ(Queued(),
              (QStringList{
                  "http://img14.360buyimg.com/n12/jfs/t1/a.jpg <- 红色_主图_001.jpg" + own,
                  "http://img14.360buyimg.com/n12/jfs/t1/b.jpg <- 红色_主图_002.jpg" + own,
                  "https://img14.360buyimg.com/n12/jfs/t1/c.jpg <- 红色_主图_004.jpg" + own,
                  // the variant's second picture is the first of the album's own: left out
                  "http://img14.360buyimg.com/n12/jfs/t1/blue.jpg <- 蓝色_主图_001.jpg" + blue,
              }));
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QString::fromUtf8(kDone)));
}

TEST_F(JdTest, WithoutItsOwnVariantTheAlbumsPageIsReadLast) {
    Serve(QStringLiteral("https://item.jd.com/100.html"), GbkPage("jd/variant.html"));
    Serve(QStringLiteral("https://item.jd.com/200.html"), GbkPage("jd/variant.html"));
    Serve(QStringLiteral("https://item.jd.com/300.html"), Broken());
    const QString address = QStringLiteral("https://item.jd.com/555.html");
    const int album = AddProduct(address);

    FetchJdPictures(state, album);

    ExpectRequests({"GET https://item.jd.com/100.html", "GET https://item.jd.com/200.html",
                    "GET https://item.jd.com/300.html"});
    EXPECT_EQ(Pauses(), (std::vector<long long>{2000, 2000, 1000}));
    const QString red = QStringLiteral(" | Referer: https://item.jd.com/100.html");
    const QString own = QStringLiteral(" | Referer: ") + address;
    EXPECT_EQ(Queued(),
              (QStringList{
                  "http://img14.360buyimg.com/n12/jfs/t1/blue.jpg <- 红色_主图_001.jpg" + red,
                  "http://img14.360buyimg.com/n12/jfs/t1/a.jpg <- 红色_主图_002.jpg" + red,
                  "http://img14.360buyimg.com/n12/jfs/t1/b.jpg <- 主图_002.jpg" + own,
                  "https://img14.360buyimg.com/n12/jfs/t1/c.jpg <- 主图_004.jpg" + own,
              }));
}

TEST_F(JdTest, TheSingleSourceSettingReadsOnlyTheKeptPage) {
    state.m_jdSource = 0;
    const int album = AddProduct(kItem);

    FetchJdPictures(state, album);

    ExpectRequests({});
    EXPECT_EQ(Queued().size(), 3);
    EXPECT_EQ(g_pictureQueue().Row(0).fileName, QStringLiteral("主图_001.jpg"));
    EXPECT_EQ(frontend.messages.size(), 1);
}

TEST_F(JdTest, DescriptionOnlyQueuesNothingButSaysSo) {
    SetOption(SiteType::JdProduct, kOptionShopDescOnly);
    const int album = AddProduct(kItem);

    FetchJdPictures(state, album);

    ExpectRequests({});
    EXPECT_TRUE(Queued().isEmpty());
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].contains(QStringLiteral("没有下载任何图片")));
}

TEST_F(JdTest, AStopEndsTheWalkWithoutMessage) {
    Serve(QStringLiteral("https://item.jd.com/200.html"), GbkPage("jd/variant.html"));
    const int album = AddProduct(kItem);
    state.m_downState = DownState::Stopped;

    FetchJdPictures(state, album);

    ExpectRequests({});
    EXPECT_EQ(Queued().size(), 1);
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(JdTest, AListFromAFileFetchesThePageItKeptNot) {
    Serve(QStringLiteral("https://item.jd.com/7.html"), GbkPage("jd/variant.html"));
    ST_PERLISTRECORD record;
    record.title = QStringLiteral("x");
    record.albumRef = QStringLiteral("https://item.jd.com/7.html");
    const int album = AddRecord(record);

    FetchJdPictures(state, album);

    ExpectRequests({"GET https://item.jd.com/7.html", "  Accept-Encoding: gzip, deflate"});
    EXPECT_EQ(Queued().size(), 2);
}

}  // namespace
}  // namespace mosaiq::test
