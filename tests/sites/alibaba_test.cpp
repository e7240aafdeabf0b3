#include "shop_site_fixture.h"

#include "sites/alibaba.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const QString kProduct =
    QStringLiteral("https://www.alibaba.com/product-detail/Ceramic-Mug_600.html");

class AlibabaTest : public ShopSiteTest {};

TEST_F(AlibabaTest, AProductAddressListsTheProductAndKeepsItsPage) {
    Serve(kProduct, Page("alibaba/product.html"));

    EXPECT_TRUE(List(SiteType::Shops, kProduct + QStringLiteral("#reviews")));

    ExpectRequests({"GET https://www.alibaba.com/product-detail/Ceramic-Mug_600.html",
                    "  Accept-Encoding: gzip, deflate", "  Accept-Language: zh-cn",
                    "  Referer: https://www.alibaba.com/product-detail/Ceramic-Mug_600.html"});
    ASSERT_EQ(Titles(), QStringList{QStringLiteral("Ceramic Mug 350ml")});
    EXPECT_EQ(state.m_records.At(0)->albumRef, kProduct);
    EXPECT_EQ(state.m_subType, SubTypeValue(ShopSubType::Alibaba));
    EXPECT_EQ(state.m_account, QStringLiteral("Yiwu Trading Co., Ltd"));
    EXPECT_EQ(state.m_jobText1, FixtureText("alibaba/product.html"));
}

TEST_F(AlibabaTest, OtherAddressesAndPagesWithoutCompany) {
    // Not a product page: nothing is asked of the site.
    EXPECT_FALSE(
        List(SiteType::Shops, QStringLiteral("https://yiwu.en.alibaba.com/productlist.html")));
    ExpectRequests({});
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("没有获取到商品")));
    frontend.messages.clear();

    Serve(kProduct, Text("<span class=\"ma-title-text\" title=\"Mug\">Mug</span>"
                         "<div class=\"company-name\"></div>"));
    FetchAlibabaProduct(state, kProduct);
    EXPECT_EQ(state.m_records.Size(), 0);
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("没有在页面里找到商品")));

    // The company's own text when it has no text element.
    Serve(kProduct, Text("<div class=\"company-name\">x</div><div class=\"company-name\">Acme</"));
    FetchAlibabaProduct(state, kProduct);
    EXPECT_EQ(state.m_account, QStringLiteral("Acme"));
}

TEST_F(AlibabaTest, ThumbnailsBecomeTheirPictures) {
    Serve(kProduct, Page("alibaba/product.html"));
    ST_PERLISTRECORD record;
    record.albumRef = kProduct;
    const int album = AddRecord(record);

    FetchAlibabaPictures(state, album);

    ExpectRequests({"GET https://www.alibaba.com/product-detail/Ceramic-Mug_600.html",
                    "  Accept-Encoding: gzip, deflate", "  Accept-Language: zh-cn",
                    "  Referer: https://www.alibaba.com/product-detail/Ceramic-Mug_600.html"});
    const QString referer = QStringLiteral(" | Referer: ") + kProduct;
    EXPECT_EQ(Queued(), (QStringList{
                            "http://sc01.alicdn.com/kf/HTB1a.jpg <- 主图_001.jpg" + referer,
                            "https://sc01.alicdn.com/kf/b.png <- 主图_002.jpg" + referer,
                            // "jpg_" this early is no size suffix: cut, nothing put back
                            "http://s. <- 主图_003.jpg" + referer,
                        }));
    EXPECT_EQ(frontend.messages.size(), 1);
}

}  // namespace
}  // namespace mosaiq::test
