#include "sites/input_normalization.h"
#include "sites/qzone.h"
#include "sites/site_types.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

using S = AlbumSource;
constexpr int32_t kNone = kNoSubType;  // the call leaves m_subType as it is

struct PlanCase {
    SiteType listType;
    int32_t subType;  // the QQ family's box
    const char* input;
    const char* adapterInput;
    AlbumSource source;
    int32_t callSubType;
    const char* account;  // nullptr: not set
};

std::string Describe(const PlanCase& c) {
    return std::to_string(SiteTypeValue(c.listType)) + " " + c.input;
}

TEST(PlanAlbumList, NormalisesEachSiteTypesInput) {
    const PlanCase cases[] = {
        {SiteType::QqFamily, SubTypeValue(QqSubType::Zone),
         "https://user.qzone.qq.com/123456789/infocenter?via=x", "123456789", S::QzoneAlbums,
         SubTypeValue(QqSubType::Zone), "123456789"},
        {SiteType::QqFamily, SubTypeValue(QqSubType::Zone), "123456789", "123456789",
         S::QzoneAlbums, SubTypeValue(QqSubType::Zone), "123456789"},
        {SiteType::QqFamily, SubTypeValue(QqSubType::Zone),
         "https://user.qzone.qq.com/123456789#!/photo", "123456789", S::QzoneAlbums,
         SubTypeValue(QqSubType::Zone), "123456789"},
        {SiteType::QqFamily, SubTypeValue(QqSubType::Group),
         "https://qun.qzone.qq.com/group#!/87654321/photo", "87654321", S::QqGroupAlbums,
         SubTypeValue(QqSubType::Group), "87654321"},
        {SiteType::QqFamily, SubTypeValue(QqSubType::Group), "http://t.qq.com/someone", "someone",
         S::TweiboAlbums, SubTypeValue(QqSubType::TencentWeibo), "someone"},
        {SiteType::QqFamily, SubTypeValue(QqSubType::TencentWeibo),
         "http://p.t.qq.com/photo/someone?pgv=1", "someone", S::TweiboAlbums,
         SubTypeValue(QqSubType::TencentWeibo), "someone"},
        {SiteType::Baidu, kNoSubType, "https://xiangce.baidu.com/u/someone/album?x", "someone",
         S::BaiduAlbums, SubTypeValue(BaiduSubType::Albums), nullptr},
        {SiteType::Baidu, kNoSubType, "https://tieba.baidu.com/f?kw=%E5%9B%BE&fr=index",
         "%E5%9B%BE", S::TiebaForumAlbums, SubTypeValue(BaiduSubType::TiebaForum), nullptr},
        {SiteType::Baidu, kNoSubType, "https://tieba.baidu.com/photo/p?kw=abc&tid=1",
         "https://tieba.baidu.com/photo/p?kw=abc&tid=1", S::TiebaPhotoAlbums,
         SubTypeValue(BaiduSubType::TiebaThread), nullptr},
        {SiteType::Netease, kNoSubType, "http://pp.163.com/someone/", "http://pp.163.com/someone/",
         S::NeteasePpAlbums, SubTypeValue(NeteaseSubType::PhotoSite), nullptr},
        {SiteType::Netease, kNoSubType, "http://photo.163.com/someone/",
         "http://photo.163.com/someone/", S::NeteaseAlbums, kNone, nullptr},
        {SiteType::Renren, kNoSubType, "http://photo.renren.com/photo/123/album-456?frommyphoto",
         "http://photo.renren.com/photo/123/album-456", S::RenrenClassicAlbums,
         SubTypeValue(RenrenSubType::Albums), nullptr},
        {SiteType::Renren, kNoSubType, "http://photo.renren.com/photo/123/album-456/v7#x",
         "http://photo.renren.com/photo/123/album-456/v7", S::RenrenNewLayoutAlbums,
         SubTypeValue(RenrenSubType::Albums), nullptr},
        {SiteType::Renren, kNoSubType, "http://zhan.renren.com/somesite?from=x",
         "http://zhan.renren.com/somesite?from=x", S::RenrenZhanPosts,
         SubTypeValue(RenrenSubType::Zhan), nullptr},
        {SiteType::Renren, kNoSubType, "http://www.renren.com/123456789/profile?ref=x", "123456789",
         S::RenrenNewLayoutAlbums, SubTypeValue(RenrenSubType::Albums), nullptr},
        {SiteType::Renren, kNoSubType, "http://www.renren.com/profile.do?id=123456", "123456",
         S::RenrenNewLayoutAlbums, SubTypeValue(RenrenSubType::Albums), nullptr},
        {SiteType::Renren, kNoSubType, "http://page.renren.com/601234567/photos", "601234567",
         S::RenrenPublicPageAlbums, SubTypeValue(RenrenSubType::Albums), nullptr},
        {SiteType::Sina, kNoSubType, "http://blog.sina.com.cn/s/blog_4b6e5b6a0102e1s3.html",
         "http://blog.sina.com.cn/s/blog", S::SinaBlogArticle,
         SubTypeValue(SinaSubType::BlogArticle), nullptr},
        {SiteType::Sina, kNoSubType, "https://weibo.com/123456789", "https://weibo.com/123456789",
         S::SinaWeiboAlbums, SubTypeValue(SinaSubType::Weibo), nullptr},
        {SiteType::Sina, kNoSubType, "http://blog.sina.com.cn/someone",
         "http://blog.sina.com.cn/someone", S::SinaBlogAlbums,
         SubTypeValue(SinaSubType::BlogAlbums), nullptr},
        {SiteType::Site56, kNoSubType,
         "http://www.56.com/photo/album/index.php?user=someone&page=2",
         "https://www.56.com/photo/album/index.php?user=someone&perPage=20", S::Albums56, kNone,
         "someone"},
        {SiteType::Poco, kNoSubType, "http://my.poco.cn/album/album_list.htx&user_id=173256123",
         "173256123", S::PocoAlbums, kNone, nullptr},
        {SiteType::Poco, kNoSubType, "http://my.poco.cn/user/id173256123/index.htx", "173256123",
         S::PocoAlbums, kNone, nullptr},
        {SiteType::Yupoo, kNoSubType, "https://someone.x.yupoo.com/albums?tab=gallery",
         "https://someone.x.yupoo.com/albums", S::YupooNewAlbums,
         SubTypeValue(YupooSubType::NewSite), nullptr},
        {SiteType::Yupoo, kNoSubType, "https://someone.x.yupoo.com/albums/123?uid=1",
         "https://someone.x.yupoo.com/albums/123?uid=1", S::YupooNewAlbums,
         SubTypeValue(YupooSubType::NewSite), nullptr},
        {SiteType::Yupoo, kNoSubType, "https://www.yupoo.com/photos/someone/collections/page2/",
         "https://www.yupoo.com/photos/someone/albums/", S::YupooOldAlbums, kNone, nullptr},
        {SiteType::Yupoo, kNoSubType, "http://someone.yupoo.com",
         "https://www.yupoo.com/photos/someone/albums/", S::YupooOldAlbums, kNone, nullptr},
        {SiteType::Yupoo, kNoSubType, "http://someone.yupoo.com/albums/12345",
         "https://www.yupoo.com/photos/someone/albums/12345/", S::YupooOldAlbums, kNone, nullptr},
        {SiteType::Site51, kNoSubType, "http://photo.51.com/someone/album", "someone", S::Albums51,
         kNone, "someone"},
        {SiteType::Site51, kNoSubType, "https://photo.51.com/someone/", "someone", S::Albums51,
         kNone, "someone"},
        {SiteType::Zol, kNoSubType, "http://bbs.zol.com.cn/someone/", "someone", S::ZolAlbums,
         SubTypeValue(ZolSubType::Albums), nullptr},
        {SiteType::Zol, kNoSubType, "https://detail.zol.com.cn/1/2.shtml#p1",
         "https://detail.zol.com.cn/1/2.shtml", S::ZolProduct, SubTypeValue(ZolSubType::Product),
         nullptr},
        {SiteType::PchomeDouban, kNoSubType, "https://www.douban.com/photos/album/123456?start=18",
         "https://www.douban.com/photos/album/123456/", S::DoubanAlbums,
         SubTypeValue(PchomeDoubanSubType::Douban), nullptr},
        {SiteType::PchomeDouban, kNoSubType, "http://photo.pchome.com.tw/someone/album?x",
         "someone", S::PchomeAlbums, SubTypeValue(PchomeDoubanSubType::Pchome), "someone"},
        {SiteType::Shops, kNoSubType, "https://www.aliexpress.com/store/123#top",
         "https://www.aliexpress.com/store/123", S::AliexpressShop, kNone, nullptr},
        {SiteType::Shops, kNoSubType, "https://company.en.alibaba.com/productlist.html",
         "https://company.en.alibaba.com/productlist.html", S::AlibabaShop,
         SubTypeValue(ShopSubType::Alibaba), nullptr},
        {SiteType::Shops, kNoSubType, "https://detail.1688.com/offer/123.html",
         "https://detail.1688.com/offer/123.html", S::Shop1688, SubTypeValue(ShopSubType::Shop1688),
         nullptr},
        // Cut at ".com": a shop name holding "com" keeps its host.
        {SiteType::Shops, kNoSubType, "https://company.1688.com/",
         "https://company.1688.com/page/offerlist.htm?", S::Shop1688,
         SubTypeValue(ShopSubType::Shop1688), nullptr},
        {SiteType::Shops, kNoSubType,
         "https://shop1.1688.com/page/offerlist.htm?showType=window&pageNum=2",
         "https://shop1.1688.com/page/offerlist.htm?Kel2=window&Kel1=2", S::Shop1688,
         SubTypeValue(ShopSubType::Shop1688), nullptr},
        {SiteType::Shops, kNoSubType, "https://shop1.1688.com/page/offerlist.htm",
         "https://shop1.1688.com/page/offerlist.htm?", S::Shop1688,
         SubTypeValue(ShopSubType::Shop1688), nullptr},
        {SiteType::Shops, kNoSubType,
         "https://shop123.taobao.com/search.htm?pageNum=2&viewType=grid",
         "https://shop123.taobao.com/search.htm?Kel1=2&Kel2=grid", S::TaobaoShop, kNone, nullptr},
        {SiteType::Shops, kNoSubType, "https://shop123.taobao.com/",
         "https://shop123.taobao.com/?search=y", S::TaobaoShop, kNone, nullptr},
        {SiteType::Shops, kNoSubType, "https://detail.tmall.com/item.htm?id=1#detail",
         "https://detail.tmall.com/item.htm?id=1", S::TaobaoShop, kNone, nullptr},
        {SiteType::Moko, kNoSubType, "http://www.moko.cc/someone/",
         "http://www.moko.cc/post/someone/list.html", S::MokoAlbums, kNone, nullptr},
        {SiteType::Moko, kNoSubType, "http://www.moko.cc/post/123.html",
         "http://www.moko.cc/post/123.html", S::MokoAlbums, kNone, nullptr},
        {SiteType::Moko, kNoSubType, "http://www.moko.cc/some one?from=nav#top",
         "http://www.moko.cc/post/some%20one/list.html", S::MokoAlbums, kNone, nullptr},
        {SiteType::Babytree, kNoSubType, "http://www.babytree.com/u12345/album&x", "u12345",
         S::BabytreeFirstForm, SubTypeValue(BabytreeSubType::FirstForm), nullptr},
        {SiteType::Pconline, kNoSubType, "http://my.pconline.com.cn/someone/myphoto_p3_n15.html",
         "http://my.pconline.com.cn/someone/myphoto_dk1stp_n15.html", S::PconlineAlbums, kNone,
         nullptr},
        {SiteType::Pconline, kNoSubType, "http://my.pconline.com.cn/someone/myphoto.html",
         "http://my.pconline.com.cn/someone/myphoto_dk1stp_n15.html", S::PconlineAlbums, kNone,
         nullptr},
        {SiteType::Pconline, kNoSubType, "http://my.pconline.com.cn/someone/",
         "https://my.pconline.com.cn/someone/myphoto_dk1stp_n15.html", S::PconlineAlbums, kNone,
         nullptr},
        // "_p" without a page token still gets the placeholder the adapter pages with.
        {SiteType::Pconline, kNoSubType, "http://my.pconline.com.cn/some_person/",
         "https://my.pconline.com.cn/some_person/myphoto_dk1stp_n15.html", S::PconlineAlbums, kNone,
         nullptr},
        {SiteType::Hupu, kNoSubType, "https://my.hupu.com/someone/photo",
         "https://my.hupu.com/someone/photo", S::HupuAlbums, kNone, nullptr},
        {SiteType::JdProduct, kNoSubType, "https://item.jd.com/100012345678.html#crumb-wrap",
         "https://item.jd.com/100012345678.html", S::JdProduct, SubTypeValue(JdSubType::Jd),
         nullptr},
        {SiteType::JdProduct, kNoSubType, "https://detail.zol.com.cn/x.shtml",
         "https://detail.zol.com.cn/x.shtml", S::ZolProduct, SubTypeValue(JdSubType::ZolProduct),
         nullptr},
        {SiteType::InstagramSzwego, kNoSubType, "https://www.instagram.com/someone/?hl=en",
         "someone", S::InstagramAlbums, SubTypeValue(InstagramSzwegoSubType::Instagram), nullptr},
        {SiteType::InstagramSzwego, kNoSubType,
         "https://www.szwego.com/static/index.html#/shop_detail/A2012345/abc", "A2012345",
         S::SzwegoAlbums, SubTypeValue(InstagramSzwegoSubType::Szwego), nullptr},
        {SiteType::DuitangHuaban, kNoSubType, "https://huaban.com/boards/12345/",
         "https://huaban.com/boards/12345/", S::HuabanBoards,
         SubTypeValue(DuitangHuabanSubType::Huaban), nullptr},
        {SiteType::Lofter, kNoSubType, "https://someone.lofter.com/post/1d2c3b_abc",
         "https://someone.lofter.com/", S::LofterPosts, kNone, nullptr},
        {SiteType::Lofter, kNoSubType, "https://someone.lofter.com", "https://someone.lofter.com/",
         S::LofterPosts, kNone, nullptr},
        {SiteType::Topit, kNoSubType, "http://www.topit.me/user/12345/albums?p=2",
         "http://www.topit.me/user/12345", S::TopitAlbums, kNone, nullptr},
        {SiteType::Topit, kNoSubType, "http://www.topit.me/album/123/item/456",
         "http://www.topit.me/album/123", S::TopitAlbums, kNone, nullptr},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(Describe(c));
        const AlbumListPlan plan = PlanAlbumList(SiteTypeValue(c.listType), c.subType, c.input);
        EXPECT_TRUE(plan.message.isEmpty()) << plan.message.toStdString();
        EXPECT_EQ(plan.pageStep, PageStep::None);
        EXPECT_EQ(plan.input, QString(c.adapterInput));
        ASSERT_FALSE(plan.calls.empty());
        EXPECT_EQ(plan.calls.front().source, c.source);
        EXPECT_EQ(plan.calls.front().subType.value_or(kNone), c.callSubType);
        EXPECT_EQ(plan.account.has_value(), c.account != nullptr);
        if (c.account != nullptr) {
            EXPECT_EQ(*plan.account, QString(c.account));
        }
    }
}

struct MessageCase {
    SiteType listType;
    int32_t subType;
    const char* input;
    const char* messageStart;
};

TEST(PlanAlbumList, RejectedInputsCallNothing) {
    const MessageCase cases[] = {
        {SiteType::QqFamily, SubTypeValue(QqSubType::Zone), "https://user.qzone.qq.com/someone",
         "请直接输入QQ号进行下载"},
        {SiteType::QqFamily, SubTypeValue(QqSubType::Zone), "https://qzone.qq.com/",
         "请直接输入QQ号进行下载"},
        {SiteType::QqFamily, SubTypeValue(QqSubType::Zone), "12345abc", "请直接输入QQ号进行下载"},
        {SiteType::PchomeDouban, kNoSubType, "https://www.douban.com/people/x/",
         "请输入豆瓣相册的网址"},
        {SiteType::JdProduct, kNoSubType, "https://www.jd.com/", "请输入京东商品的网址"},
        {SiteType::InstagramSzwego, kNoSubType, "https://www.szwego.com/", "请输入Instagram"},
        {SiteType::DuitangHuaban, kNoSubType, "https://huaban.com/someone/",
         "请输入花瓣画板的网址\n"},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.input);
        const AlbumListPlan plan = PlanAlbumList(SiteTypeValue(c.listType), c.subType, c.input);
        EXPECT_TRUE(plan.message.startsWith(QString(c.messageStart))) << plan.message.toStdString();
        EXPECT_TRUE(plan.calls.empty());
    }
    EXPECT_TRUE(PlanAlbumList(kSiteTypeCount, kNoSubType, "http://x.com/").calls.empty());
}

TEST(PlanAlbumList, FallbacksSingleItemsAndEmptyMessages) {
    const AlbumListPlan qzone =
        PlanAlbumList(SiteTypeValue(SiteType::QqFamily), SubTypeValue(QqSubType::Zone), "123");
    ASSERT_EQ(qzone.calls.size(), 2u);
    EXPECT_EQ(qzone.calls[1].source, S::QzoneAlbumsOld);
    EXPECT_TRUE(qzone.moodAlbum);
    EXPECT_TRUE(qzone.emptyMessage.startsWith(QStringLiteral("没有获取到相册，原因如下")));

    const AlbumListPlan babytree =
        PlanAlbumList(SiteTypeValue(SiteType::Babytree), kNoSubType, "http://www.babytree.com/u1/");
    ASSERT_EQ(babytree.calls.size(), 2u);
    EXPECT_EQ(babytree.calls[1].source, S::BabytreeSecondForm);
    EXPECT_EQ(babytree.calls[1].subType, SubTypeValue(BabytreeSubType::SecondForm));

    const AlbumListPlan page =
        PlanAlbumList(SiteTypeValue(SiteType::Renren), kNoSubType, "http://page.renren.com/601/");
    ASSERT_EQ(page.calls.size(), 2u);
    EXPECT_EQ(page.calls[1].source, S::RenrenNewLayoutAlbums);
    const AlbumListPlan person =
        PlanAlbumList(SiteTypeValue(SiteType::Renren), kNoSubType, "http://www.renren.com/601");
    ASSERT_EQ(person.calls.size(), 2u);
    EXPECT_EQ(person.calls[1].source, S::RenrenClassicAlbums);

    EXPECT_EQ(PlanAlbumList(SiteTypeValue(SiteType::PchomeDouban), kNoSubType,
                            "https://www.douban.com/photos/album/1/")
                  .singleItem,
              SingleItem::Always);
    EXPECT_EQ(PlanAlbumList(SiteTypeValue(SiteType::InstagramSzwego), kNoSubType,
                            "https://www.instagram.com/x/")
                  .singleItem,
              SingleItem::Always);
    EXPECT_EQ(PlanAlbumList(SiteTypeValue(SiteType::Shops), kNoSubType, "https://shop1.taobao.com/")
                  .singleItem,
              SingleItem::WhenOneAlbum);
    EXPECT_EQ(
        PlanAlbumList(SiteTypeValue(SiteType::JdProduct), kNoSubType, "https://item.jd.com/1.html")
            .singleItem,
        SingleItem::WhenOneAlbum);
    EXPECT_EQ(
        PlanAlbumList(SiteTypeValue(SiteType::Yupoo), kNoSubType, "https://www.yupoo.com/photos/x/")
            .singleItem,
        SingleItem::Never);
    EXPECT_FALSE(PlanAlbumList(SiteTypeValue(SiteType::Hupu), kNoSubType, "https://my.hupu.com/x")
                     .emptyMessage.isEmpty());
    EXPECT_TRUE(
        PlanAlbumList(SiteTypeValue(SiteType::Topit), kNoSubType, "http://www.topit.me/user/1")
            .emptyMessage.isEmpty());
}

TEST(PlanAlbumList, JobTextsOfTheRows) {
    const AlbumListPlan weibo =
        PlanAlbumList(SiteTypeValue(SiteType::QqFamily), SubTypeValue(QqSubType::TencentWeibo),
                      "http://t.qq.com/someone");
    EXPECT_EQ(weibo.jobText2, QString("someone"));

    const AlbumListPlan forum = PlanAlbumList(SiteTypeValue(SiteType::Baidu), kNoSubType,
                                              "https://tieba.baidu.com/f?kw=%E5%9B%BE");
    EXPECT_EQ(forum.jobText1, QString("%E5%9B%BE"));
    EXPECT_EQ(forum.accountAfter, QStringLiteral("图"));

    const AlbumListPlan photo = PlanAlbumList(SiteTypeValue(SiteType::Baidu), kNoSubType,
                                              "https://tieba.baidu.com/photo/p?kw=abc&tid=1");
    EXPECT_EQ(photo.jobText1After, QString("abc"));
    EXPECT_EQ(photo.accountAfter, QString("abc"));

    const AlbumListPlan yupoo =
        PlanAlbumList(SiteTypeValue(SiteType::Yupoo), kNoSubType, "https://x1.x.yupoo.com/albums");
    EXPECT_EQ(yupoo.jobText1, QString());

    const AlbumListPlan pconline =
        PlanAlbumList(SiteTypeValue(SiteType::Pconline), kNoSubType,
                      "http://my.pconline.com.cn/someone/myphoto_p3_n15.html");
    EXPECT_EQ(pconline.jobText1, QString("_p3_"));

    const AlbumListPlan instagram = PlanAlbumList(SiteTypeValue(SiteType::InstagramSzwego),
                                                  kNoSubType, "https://www.instagram.com/someone/");
    EXPECT_EQ(instagram.jobText1, QString("https://www.instagram"));

    const QString szwegoInput = "https://www.szwego.com/static/index.html#/shop_detail/A1/x";
    EXPECT_EQ(
        PlanAlbumList(SiteTypeValue(SiteType::InstagramSzwego), kNoSubType, szwegoInput).jobText2,
        szwegoInput);
}

TEST(CompletePlanWithPage, BaiduTakesTheUserFromTheProfileLink) {
    AlbumListPlan plan = PlanAlbumList(SiteTypeValue(SiteType::Baidu), kNoSubType,
                                       "https://xiangce.baidu.com/someone");
    ASSERT_EQ(plan.pageStep, PageStep::BaiduProfile);
    EXPECT_EQ(plan.pageAddress, QString("https://xiangce.baidu.com/someone"));
    ASSERT_TRUE(CompletePlanWithPage(plan, R"(<a href="https://xiangce.baidu.com/profile/real">)"));
    EXPECT_EQ(plan.input, QString("real"));
}

TEST(CompletePlanWithPage, TiebaPostBecomesThePhotoAddress) {
    AlbumListPlan plan = PlanAlbumList(SiteTypeValue(SiteType::Baidu), kNoSubType,
                                       "https://tieba.baidu.com/p/7012345678?pn=2");
    ASSERT_EQ(plan.pageStep, PageStep::TiebaPost);
    EXPECT_EQ(plan.jobText1, QString("7012345678"));
    ASSERT_TRUE(CompletePlanWithPage(plan, R"(<a href="//tieba.baidu.com/f?kw=%E5%9B%BE">)"));
    EXPECT_EQ(plan.input,
              QString("https://tieba.baidu.com/photo/p?kw=%E5%9B%BE&fp=1&tid=7012345678"));
    EXPECT_EQ(plan.jobText1After, QString("%E5%9B%BE"));
    EXPECT_EQ(plan.accountAfter, QStringLiteral("图"));
}

TEST(CompletePlanWithPage, RenrenTakesTheNumericIdFromThePersonsPage) {
    struct Case {
        const char* page;
        const char* id;
    };
    const Case cases[] = {
        {"var x = { pid: '700123', name: 'a' }", "700123"},
        {"<script>profile_owner = 700456 ;</script>", "700456"},
        {"<html>no id here</html>", "someone"},
    };
    for (const Case& c : cases) {
        AlbumListPlan plan = PlanAlbumList(SiteTypeValue(SiteType::Renren), kNoSubType,
                                           "http://www.renren.com/someone");
        ASSERT_EQ(plan.pageStep, PageStep::RenrenPerson);
        EXPECT_EQ(plan.pageAddress, QString("https://www.renren.com/someone"));
        ASSERT_TRUE(CompletePlanWithPage(plan, c.page));
        EXPECT_EQ(plan.input, QString(c.id)) << c.page;
    }
    const AlbumListPlan page = PlanAlbumList(SiteTypeValue(SiteType::Renren), kNoSubType,
                                             "http://page.renren.com/somepage/");
    EXPECT_EQ(page.pageAddress, QString("https://page.renren.com/somepage"));
}

TEST(CompletePlanWithPage, DuitangAlbumKeepsThePageAndFindsTheUser) {
    AlbumListPlan plan = PlanAlbumList(SiteTypeValue(SiteType::DuitangHuaban), kNoSubType,
                                       "https://www.duitang.com/album/?id=12345&from=x");
    ASSERT_EQ(plan.pageStep, PageStep::Duitang);
    EXPECT_EQ(plan.jobText1, QString());
    EXPECT_EQ(plan.calls.front().subType, SubTypeValue(DuitangHuabanSubType::Duitang));
    const QString page = R"(<a href="/people/?user_id=1">x</a><div class="dt-header-btm">)"
                         R"(<a href="/people/?user_id=777#top">me</a>)";
    ASSERT_TRUE(CompletePlanWithPage(plan, page));
    EXPECT_EQ(plan.jobText1, page);
    EXPECT_EQ(plan.jobText2, QString("12345"));
    EXPECT_EQ(plan.singleItem, SingleItem::Always);
    EXPECT_EQ(plan.account, QStringLiteral("堆糖_777"));
    EXPECT_EQ(plan.input, QString("777"));
}

TEST(CompletePlanWithPage, DuitangPageWithoutUserEndsWithAMessage) {
    AlbumListPlan plan = PlanAlbumList(SiteTypeValue(SiteType::DuitangHuaban), kNoSubType,
                                       "https://www.duitang.com/people/?user_id=1");
    ASSERT_FALSE(CompletePlanWithPage(plan, R"(<div class="dt-header-btm"><a href="/x">)"));
    EXPECT_FALSE(plan.message.isEmpty());
    EXPECT_FALSE(plan.message.contains(u'^'));
    EXPECT_TRUE(plan.message.contains(u'\n'));
    EXPECT_EQ(plan.singleItem, SingleItem::Never);
}

TEST(MoodAlbumRecord, PointsAtTheMoodListOfTheNumber) {
    const ST_PERLISTRECORD record = MoodAlbumRecord("12345");
    EXPECT_EQ(record.title, QStringLiteral("说说里的图片"));
    EXPECT_TRUE(record.albumRef.startsWith(u"https://"));
    EXPECT_TRUE(record.albumRef.endsWith(
        u"/cgi-bin/emotion_cgi_msglist_v6?uin=12345&inCharset=utf-8&outCharset=utf-8"
        u"&hostUin=12345&notice=0&sort=0"));
    EXPECT_EQ(record.coverUrl, QString("123"));
    EXPECT_EQ(record.pictureCount, -1);
    EXPECT_EQ(record.accessFlags, 0);
}

}  // namespace
}  // namespace mosaiq
