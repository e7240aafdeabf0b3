#include "shop_site_fixture.h"

#include "sites/shop1688.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const QString kOffer = QStringLiteral("https://detail.1688.com/offer/123.html");
const char kDone[] = "商品主图已全部加入下载队列";

class Shop1688Test : public ShopSiteTest {
  protected:
    int AddOffer() {
        ST_PERLISTRECORD record;
        record.title = QStringLiteral("2024新款 陶瓷杯");
        record.albumRef = kOffer;
        return AddRecord(record);
    }
};

TEST_F(Shop1688Test, AnOfferAddressListsTheOfferAndKeepsItsPage) {
    state.m_jobText1 = QStringLiteral("a page of an earlier job");
    Serve(kOffer, Page("shop1688/offer.html"));

    EXPECT_TRUE(List(SiteType::Shops, kOffer + QStringLiteral("#desc")));

    ExpectRequests({"GET https://detail.1688.com/offer/123.html",
                    "  Accept-Encoding: gzip, deflate", "  Accept-Language: zh-cn",
                    "  Referer: https://detail.1688.com/offer/123.html"});
    ASSERT_EQ(Titles(), QStringList{QStringLiteral("2024新款 陶瓷杯")});
    EXPECT_EQ(state.m_records.At(0)->albumRef, kOffer);
    EXPECT_EQ(state.m_records.At(0)->pictureCount, -1);
    EXPECT_EQ(state.m_subType, SubTypeValue(ShopSubType::Shop1688));
    EXPECT_EQ(state.m_account, QStringLiteral("义乌小商品有限公司"));
    EXPECT_EQ(state.m_jobText1, FixtureText("shop1688/offer.html"));
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(Shop1688Test, AShopAddressListsNothing) {
    state.m_jobText1 = QStringLiteral("a page of an earlier job");

    EXPECT_FALSE(List(SiteType::Shops, QStringLiteral("https://yiwu.1688.com/")));

    ExpectRequests({});
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_TRUE(state.m_jobText1.isEmpty());  // never downloads an earlier product's pictures
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("没有获取到商品")));
}

TEST_F(Shop1688Test, CompanyNameFormsAndPagesWithout) {
    struct Case {
        QString page;
        const char* account;  // nullptr: no album
        const char* message;
    };
    const Case cases[] = {
        {QStringLiteral("<div class=\"chinaname hidden\" title=\"t\">浙江/义乌公司</div>"),
         "浙江义乌公司", nullptr},
        {FixtureText("shop1688/login.html"), nullptr, "1688要求登录"},
        {QStringLiteral("<html>别的页面</html>"), nullptr, "没有在页面里找到商品"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page.toStdString());
        state.m_records.Clear();
        frontend.messages.clear();
        Serve(kOffer, Gbk(c.page));

        Fetch1688Offer(state, kOffer);

        if (c.account != nullptr) {
            EXPECT_EQ(state.m_records.Size(), 1);
            EXPECT_EQ(state.m_account, QString::fromUtf8(c.account));
        } else {
            EXPECT_EQ(state.m_records.Size(), 0);
            ASSERT_EQ(frontend.messages.size(), 1);
            EXPECT_TRUE(frontend.messages[0].startsWith(QString::fromUtf8(c.message)));
        }
    }
}

TEST_F(Shop1688Test, MainPicturesFromTheKeptPage) {
    state.m_jobText1 = FixtureText("shop1688/offer.html");
    const int album = AddOffer();

    Fetch1688Pictures(state, album);

    ExpectRequests({});
    const QString referer = QStringLiteral(" | Referer: ") + kOffer;
    EXPECT_EQ(Queued(), (QStringList{
                            "https://cbu01.alicdn.com/img/ibank/a.jpg <- 主图_001.jpg" + referer,
                            "http://cbu01.alicdn.com/img/ibank/b.jpg <- 主图_002.jpg" + referer,
                            // the third is too short to be an address, its number stays taken
                            "http://cbu01.alicdn.com/img/ibank/d.jpg <- 主图_004.jpg" + referer,
                        }));
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QString::fromUtf8(kDone)));
}

TEST_F(Shop1688Test, WithoutAKeptPageTheOfferIsFetched) {
    Serve(kOffer, Page("shop1688/offer.html"));
    const int album = AddOffer();

    Fetch1688Pictures(state, album);

    ExpectRequests({"GET https://detail.1688.com/offer/123.html",
                    "  Accept-Encoding: gzip, deflate", "  Accept-Language: zh-cn"});
    EXPECT_EQ(Queued().size(), 3);
}

TEST_F(Shop1688Test, AnUnreadPageGoesToTheLog) {
    state.m_jobText1 = QStringLiteral("<html>\"original\":\"//x.alicdn.com/a.jpg\"</html>");
    const int album = AddOffer();

    Fetch1688Pictures(state, album);

    EXPECT_TRUE(Queued().isEmpty());
    EXPECT_EQ(DataFile("log.err"), state.m_jobText1);
    EXPECT_EQ(frontend.messages,
              QStringList{"获取信息出错(2),请将程序目录下的log.err文件发给作者,以便修改"});
}

TEST_F(Shop1688Test, DescriptionOnlyQueuesNothingButSaysSo) {
    state.m_listType = SiteTypeValue(SiteType::Shops);
    SetOption(SiteType::Shops, kOptionShopDescOnly);
    state.m_jobText1 = FixtureText("shop1688/offer.html");
    const int album = AddOffer();

    Fetch1688Pictures(state, album);

    EXPECT_TRUE(Queued().isEmpty());
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].contains(QStringLiteral("没有下载任何图片")));
}

}  // namespace
}  // namespace mosaiq::test
