#include "sites/recognition.h"

#include "sites/site_text.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

struct RecognitionCase {
    const char* text;
    int selection;
    bool changed;
    int listType;
    int subType;
};

TEST(RecognizeSite, AddressesSelectTheirSiteType) {
    const RecognitionCase cases[] = {
        // Bare inputs keep the selection; the QQ family's sub-type box is left alone.
        {"123456789", 0, false, 0, -1},
        {"123456789", 5, true, 5, -1},
        {"https://user.qzone.qq.com/123456789", 3, true, 0, 0},
        {"http://t.qq.com/someone", 3, true, 0, 2},
        {"https://qun.qq.com/photo/123", 3, true, 0, 1},
        {"https://group.qq.com/123/", 0, true, 0, 1},
        // Weibo wins over the group domain; "gift.qq.com" is not Tencent Weibo.
        {"http://t.qq.com/x?from=qun.qq.com", 0, true, 0, 2},
        {"http://gift.qq.com/x", 4, true, 0, 0},
        // An address holding both the QQ and the NetEase domain is NetEase.
        {"http://photo.163.com/someone/?from=qq.com/", 0, true, 2, -1},
        // A domain at position 0 does not count.
        {"qq.com/ http://example.org/", 4, true, 4, -1},
        {"http://example.org/", 7, true, 7, -1},
        {"http://www.abcjd.com/", 7, true, 7, -1},
        {"https://weibo.com/123", 0, true, 4, -1},
        {"https://weibo.com", 1, true, 1, -1},
        {"https://www.douban.com/photos/album/1/", 0, true, 10, -1},
        {"https://www.douban.com", 0, true, 0, 0},
        {"http://bbs.zol.com.cn/someone/", 9, true, 16, -1},
        {"https://detail.zol.com.cn/1/2.shtml", 0, true, 16, -1},
        {"https://huabanpro.com/boards/1/", 0, true, 18, -1},
        {"https://shop1.1688.com/", 0, true, 11, -1},
        {"http://www.topit.me/user/1", 0, true, 20, -1},
    };
    for (const RecognitionCase& c : cases) {
        const RecognizedSite site = RecognizeSite(c.text, c.selection);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(site.changed, c.changed);
        if (c.changed) {
            EXPECT_EQ(site.listType, c.listType);
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
