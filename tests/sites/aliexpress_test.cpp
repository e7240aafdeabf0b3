#include "shop_site_fixture.h"

#include "sites/aliexpress.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const QString kItem = QStringLiteral("https://www.aliexpress.com/item/100.html");

class AliexpressTest : public ShopSiteTest {};

TEST_F(AliexpressTest, BothPageFormsListTheItemAndChooseTheirPictureList) {
    struct Case {
        const char* page;
        int subType;
        const char* title;
        const char* shop;
        QStringList queued;
    };
    const QString referer = QStringLiteral(" | Referer: ") + kItem;
    const Case cases[] = {
        {"aliexpress/item_markup.html",
         4,
         "Summer Dress",
         "Lily Store",
         {"https://ae01.alicdn.com/kf/a.jpg <- 主图_001.jpg" + referer,
          "https://ae01.alicdn.com/kf/b.jpg <- 主图_002.jpg" + referer}},
        {"aliexpress/item_data.html",
         5,
         "Wool Scarf",
         "AliExpress",
         {"https://ae01.alicdn.com/kf/s0.jpg <- 主图_000.jpg" + referer,
          "https://ae01.alicdn.com/kf/s1.jpg <- 主图_001.jpg" + referer}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        state.m_records.Clear();
        g_pictureQueue().Clear();
        server.ClearRequests();
        frontend.messages.clear();
        Serve(kItem, Page(QString::fromUtf8(c.page)));

        EXPECT_TRUE(List(SiteType::Shops, kItem + QStringLiteral("#nav-review")));
        DispatchPictureList(state, 0);

        ExpectRequests({"GET https://www.aliexpress.com/item/100.html",
                        "  Accept-Encoding: gzip, deflate", "  Accept-Language: zh-cn",
                        "  Referer: https://www.aliexpress.com/item/100.html"});
        EXPECT_EQ(state.m_subType, c.subType);
        EXPECT_EQ(Titles(), QStringList{QString::fromUtf8(c.title)});
        EXPECT_EQ(state.m_account, QString::fromUtf8(c.shop));
        EXPECT_EQ(Queued(), c.queued);
        EXPECT_EQ(frontend.messages.size(), 1);  // after the pictures
    }
}

TEST_F(AliexpressTest, PictureListsOfOneAndOfNone) {
    struct Case {
        const char* page;
        int form;
        QStringList addresses;
    };
    const Case cases[] = {
        {"\"imagePathList\":[\"https://ae01.alicdn.com/kf/only.jpg\"]",
         5,
         {"https://ae01.alicdn.com/kf/only.jpg"}},
        // Without the list no other address of the page is taken for a picture.
        {"<a href=\"https://www.aliexpress.com/\">\"a\",\"b\"]", 5, {}},
        {"<a href=\"https://www.aliexpress.com/\">]", 4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        g_pictureQueue().Clear();
        state.m_records.Clear();
        state.m_jobText1 = QString::fromUtf8(c.page);
        ST_PERLISTRECORD record;
        record.albumRef = kItem;
        const int album = AddRecord(record);

        if (c.form == 4) {
            FetchAliexpressPicturesFirstForm(state, album);
        } else {
            FetchAliexpressPicturesSecondForm(state, album);
        }

        QStringList addresses;
        for (const PictureEntry& entry : g_pictureQueue().entries) {
            addresses << entry.address;
        }
        EXPECT_EQ(addresses, c.addresses);
    }
    ExpectRequests({});
}

TEST_F(AliexpressTest, AFailedPageListsNothing) {
    Serve(kItem, Broken());

    EXPECT_FALSE(List(SiteType::Shops, kItem));

    EXPECT_EQ(state.m_records.Size(), 0);
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("没有获取到商品")));
}

}  // namespace
}  // namespace mosaiq::test
