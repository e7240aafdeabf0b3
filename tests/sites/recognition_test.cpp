#include "sites/recognition.h"

#include "sites/site_text.h"
#include "sites/site_types.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

struct RecognitionCase {
    const char* text;
    SiteType selection;
    bool changed;
    SiteType listType;
    int32_t subType;  // of the QQ family's box
};

TEST(RecognizeSite, AddressesSelectTheirSiteType) {
    const RecognitionCase cases[] = {
        // Bare inputs keep the selection; the QQ family's sub-type box is left alone.
        {"123456789", SiteType::QqFamily, false, SiteType::QqFamily, kNoSubType},
        {"123456789", SiteType::Site56, true, SiteType::Site56, kNoSubType},
        {"https://user.qzone.qq.com/123456789", SiteType::Renren, true, SiteType::QqFamily,
         SubTypeValue(QqSubType::Zone)},
        {"http://t.qq.com/someone", SiteType::Renren, true, SiteType::QqFamily,
         SubTypeValue(QqSubType::TencentWeibo)},
        {"https://qun.qq.com/photo/123", SiteType::Renren, true, SiteType::QqFamily,
         SubTypeValue(QqSubType::Group)},
        {"https://group.qq.com/123/", SiteType::QqFamily, true, SiteType::QqFamily,
         SubTypeValue(QqSubType::Group)},
        // Weibo wins over the group domain; "gift.qq.com" is not Tencent Weibo.
        {"http://t.qq.com/x?from=qun.qq.com", SiteType::QqFamily, true, SiteType::QqFamily,
         SubTypeValue(QqSubType::TencentWeibo)},
        {"http://gift.qq.com/x", SiteType::Sina, true, SiteType::QqFamily,
         SubTypeValue(QqSubType::Zone)},
        // An address holding both the QQ and the NetEase domain is NetEase.
        {"http://photo.163.com/someone/?from=qq.com/", SiteType::QqFamily, true, SiteType::Netease,
         kNoSubType},
        // A domain at position 0 does not count.
        {"qq.com/ http://example.org/", SiteType::Sina, true, SiteType::Sina, kNoSubType},
        {"http://example.org/", SiteType::Yupoo, true, SiteType::Yupoo, kNoSubType},
        {"http://www.abcjd.com/", SiteType::Yupoo, true, SiteType::Yupoo, kNoSubType},
        {"https://weibo.com/123", SiteType::QqFamily, true, SiteType::Sina, kNoSubType},
        {"https://weibo.com", SiteType::Baidu, true, SiteType::Baidu, kNoSubType},
        {"https://www.douban.com/photos/album/1/", SiteType::QqFamily, true, SiteType::PchomeDouban,
         kNoSubType},
        {"https://www.douban.com", SiteType::QqFamily, true, SiteType::QqFamily,
         SubTypeValue(QqSubType::Zone)},
        {"http://bbs.zol.com.cn/someone/", SiteType::Zol, true, SiteType::JdProduct, kNoSubType},
        {"https://detail.zol.com.cn/1/2.shtml", SiteType::QqFamily, true, SiteType::JdProduct,
         kNoSubType},
        {"https://huabanpro.com/boards/1/", SiteType::QqFamily, true, SiteType::DuitangHuaban,
         kNoSubType},
        {"https://shop1.1688.com/", SiteType::QqFamily, true, SiteType::Shops, kNoSubType},
        {"http://www.topit.me/user/1", SiteType::QqFamily, true, SiteType::Topit, kNoSubType},
    };
    for (const RecognitionCase& c : cases) {
        const RecognizedSite site = RecognizeSite(c.text, SiteTypeValue(c.selection));
        SCOPED_TRACE(c.text);
        EXPECT_EQ(site.changed, c.changed);
        if (c.changed) {
            EXPECT_EQ(site.listType, SiteTypeValue(c.listType));
            EXPECT_EQ(site.subType, c.subType);
        }
    }
}

TEST(SiteText, DomainMatchesOnlyWholeHostParts) {
    EXPECT_TRUE(ContainsDomain(u"http://t.qq.com/x", u"t.qq.com"));
    EXPECT_TRUE(ContainsDomain(u"http://p.t.qq.com/x", u"t.qq.com"));
    EXPECT_FALSE(ContainsDomain(u"http://gift.qq.com/x", u"t.qq.com"));
    // A later whole occurrence still counts after a partial one.
    EXPECT_TRUE(ContainsDomain(u"http://gift.qq.com/?u=http://t.qq.com", u"t.qq.com"));
    EXPECT_FALSE(ContainsDomain(u"t.qq.com/x", u"t.qq.com"));
    EXPECT_TRUE(ContainsAfterStart(u"x/album-1", u"/album-"));
    EXPECT_FALSE(ContainsAfterStart(u"/album-1", u"/album-"));
    EXPECT_FALSE(IsDigitsOnly(u""));
    EXPECT_FALSE(IsDigitsOnly(u"12a"));
    EXPECT_TRUE(IsDigitsOnly(u"0012"));
}

}  // namespace
}  // namespace mosaiq
