#include "shop_site_fixture.h"

#include "sites/site_types.h"
#include "sites/zol_product.h"

namespace mosaiq::test {
namespace {

const QString kProduct = QStringLiteral("https://detail.zol.com.cn/1/2/pic.shtml");

class ZolProductTest : public ShopSiteTest {};

TEST_F(ZolProductTest, AProductAddressListsTheProductUnderBothSiteTypes) {
    for (const SiteType type : {SiteType::Zol, SiteType::JdProduct}) {
        SCOPED_TRACE(SiteTypeValue(type));
        state.m_records.Clear();
        state.m_jobText1.clear();
        server.ClearRequests();
        Serve(kProduct, Page("zol_product/product.html"));

        EXPECT_TRUE(List(type, kProduct + QStringLiteral("#pic")));

        ExpectRequests(
            {"GET https://detail.zol.com.cn/1/2/pic.shtml", "  Accept-Encoding: gzip, deflate"});
        EXPECT_EQ(Titles(), QStringList{QStringLiteral("华为Mate 60")});  // no folder steps
        EXPECT_EQ(state.m_records.At(0)->albumRef, kProduct);
        EXPECT_EQ(state.m_subType, type == SiteType::Zol ? SubTypeValue(ZolSubType::Product)
                                                         : SubTypeValue(JdSubType::ZolProduct));
        EXPECT_EQ(state.m_account, QStringLiteral("Zol"));
        EXPECT_EQ(state.m_jobText1, FixtureText("zol_product/product.html"));
    }
}

TEST_F(ZolProductTest, APageWithoutTitleListsNothingAndSaysSo) {
    Serve(kProduct, Gbk(QStringLiteral("<h1 class=\"page-title\"></h1>")));

    EXPECT_FALSE(List(SiteType::JdProduct, kProduct));

    EXPECT_EQ(state.m_records.Size(), 0);
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("没有在页面里找到产品名称")));
}

TEST_F(ZolProductTest, PicturesAreNamedByTheirSection) {
    state.m_listType = SiteTypeValue(SiteType::JdProduct);
    state.m_jobText1 = FixtureText("zol_product/product.html");
    ST_PERLISTRECORD record;
    record.title = QStringLiteral("华为Mate 60");
    record.albumRef = kProduct;
    const int album = AddRecord(record);

    FetchZolProductPictures(state, album);

    ExpectRequests({});
    EXPECT_EQ(Queued(), (QStringList{
                            "https://2a.zol-img.com.cn/product/1/a.jpg <- 图片.jpg",
                            "https://2a.zol-img.com.cn/product/2/b.jpg <- 外观.jpg",
                            "https://2a.zol-img.com.cn/product/3/c.jpg <- 细节.jpg",
                            // a header of tags only: no section name, the album's is used
                            "https://2a.zol-img.com.cn/product/4/d.jpg <- 华为Mate 60.jpg",
                        }));
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(ZolProductTest, APageWithoutContentGoesToTheLog) {
    state.m_jobText1 = QStringLiteral("<html>维护中</html>");
    ST_PERLISTRECORD record;
    record.title = QStringLiteral("x");
    record.albumRef = kProduct;
    const int album = AddRecord(record);

    FetchZolProductPictures(state, album);

    EXPECT_TRUE(Queued().isEmpty());
    EXPECT_EQ(DataFile("log.err"), state.m_jobText1);
    EXPECT_EQ(frontend.messages,
              QStringList{"获取信息出错(3),请将程序目录下的log.err文件发给作者,以便修改"});
}

}  // namespace
}  // namespace mosaiq::test
