#include "sites/login_address.h"

#include <QUrl>

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

TEST(LoginAddress, QqItemBuildsItsAddressFromTheInputBox) {
    struct Case {
        const char* input;
        int subType;
        const char* address;
    };
    const Case cases[] = {
        {"  12345 ", 0, "http://user.qzone.qq.com/12345"},
        {"  12345 ", 1, "http://user.qzone.qq.com/"},
        {"12345", -1, "http://user.qzone.qq.com/"},
        {"12a45", 0, "http://user.qzone.qq.com/"},
        {"１２３", 0, "http://user.qzone.qq.com/"},  // full-width digits are not digits here
        {"", 0, "https://qzone.qq.com/"},
        {" \t ", 0, "https://qzone.qq.com/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QqLoginAddress(QString::fromUtf8(c.input), c.subType),
                  QString::fromUtf8(c.address))
            << c.input << " / " << c.subType;
    }
}

TEST(LoginAddress, EveryMenuSiteHasAWebAddress) {
    for (int site = 0; site <= int(LoginSite::Custom); ++site) {
        const QUrl url(LoginPageAddress(LoginSite(site)));
        EXPECT_TRUE(url.isValid() && url.scheme().startsWith(QStringLiteral("http")) &&
                    !url.host().isEmpty())
            << site;
    }
}

}  // namespace
}  // namespace mosaiq
