#include "web/site_tokens.h"
#include "web/cookie_store.h"

#include "support/sandbox.h"

#include <QUrl>

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

TEST(SiteTokens, ComputeGtk) {
    EXPECT_EQ(ComputeGtk(QString()), 5381u);
    EXPECT_EQ(ComputeGtk(QStringLiteral("a")), 177670u);
    // Wraps modulo 2^32 and keeps 31 bits.
    uint32_t h = 5381;
    const QString key = QStringLiteral("@Zx9AbCdEfGh中");
    for (QChar c : key) {
        h = h * 33u + c.unicode();
    }
    EXPECT_EQ(ComputeGtk(key), h & 0x7FFFFFFFu);
    EXPECT_LT(ComputeGtk(key), 0x80000000u);
}

TEST(SiteTokens, LoginKeyAndAccountFromCookieStrings) {
    struct Case {
        const char* cookies;
        bool preferPSkey;
        const char* key;
    };
    const Case keys[] = {
        {"uin=o0012345; skey=@S1; p_skey=P2", true, "P2"},
        {"uin=o0012345; skey=@S1; p_skey=P2", false, "@S1"},
        {"p_skey=P2; skey=@S1", true, "P2"},    // first pair counts like any other
        {"p_skey=P2; skey=@S1", false, "@S1"},  // "p_skey" is not "skey"
        {"skey=@S1", false, "@S1"},
        {"uin=o1; skey=@S1", true, "@S1"},  // no p_skey: falls back
        {"uin=o1", true, ""},
        {"", false, ""},
    };
    for (const Case& c : keys) {
        EXPECT_EQ(GtkFromCookies(QString::fromUtf8(c.cookies), c.preferPSkey),
                  ComputeGtk(QString::fromUtf8(c.key)))
            << c.cookies;
    }

    struct UinCase {
        const char* cookies;
        bool trimZeros;
        const char* uin;
    };
    const UinCase uins[] = {
        {"skey=x; uin=o0012345; p_uin=o9", false, "0012345"},
        {"skey=x; uin=o0012345; p_uin=o9", true, "12345"},
        {"uin=o0012345", true, "12345"},  // standing first
        {"guin=o777; p_uin=o888", true, ""},
        {"skey=x", true, ""},
    };
    for (const UinCase& c : uins) {
        EXPECT_EQ(UinFromCookies(QString::fromUtf8(c.cookies), c.trimZeros),
                  QString::fromUtf8(c.uin))
            << c.cookies;
    }
    EXPECT_EQ(CookieValue(QStringLiteral("guin=o777; p_uin=o888;"), QStringLiteral("p_uin")),
              QStringLiteral("o888"));
}

TEST(SiteTokens, PageTokenCapture) {
    const QString token = QStringLiteral("a1b2c3d4e5f6a7b8c9d0e1f2");  // 24 characters
    const QString page = QStringLiteral(
        "<div class=\"longclassnameofthepagebody\"></div>"
        "<script>window.g_qzonetoken = (function(){ try{return "
        "\"%1\";} catch(e){}})();</script>");
    struct Case {
        const char* location;
        QString body;
        bool captured;
    };
    const Case cases[] = {
        {"https://user.qzone.qq.com/12345", page.arg(QStringLiteral("x20charactersxxxxxxx")),
         false},
        {"https://user.qzone.qq.com/12345", page.arg(token), true},
        {"https://example.com/?qq.com", page.arg(QStringLiteral("evil-token-evil-token-1")), false},
        {"qq.com/12345", page.arg(QStringLiteral("evil-token-evil-token-2")), false},
        // Without the marker the first quoted text is not a token.
        {"https://qzone.qq.com/", QStringLiteral("<a href=\"https://example.com/long/address\">"),
         false},
        {"https://qzone.qq.com/", QString(), false},
    };
    // A failed capture keeps the former token.
    QString expected;
    for (const Case& c : cases) {
        EXPECT_EQ(CapturePageToken(QString::fromLatin1(c.location), c.body), c.captured)
            << c.location;
        if (c.captured) {
            expected = token;
        }
        EXPECT_EQ(PageToken(), expected) << c.location;
    }
}

using SiteCookiesTest = test::Sandbox;

TEST_F(SiteCookiesTest, ReadsAndClearsTheSharedStore) {
    const QUrl h5(QStringLiteral("https://h5.qzone.qq.com/"));
    SharedCookieStore()->StoreSetCookie(h5, "p_skey=P2; Domain=qzone.qq.com; Path=/");
    SharedCookieStore()->StoreSetCookie(h5, "uin=o0012345; Domain=qq.com; Path=/");
    const QString cookies = GetSiteCookies(QStringLiteral("https://h5.qzone.qq.com/groupphoto"));
    EXPECT_EQ(cookies, QStringLiteral("p_skey=P2; uin=o0012345"));
    EXPECT_EQ(GetSiteCookies(QStringLiteral("https://www.baidu.com/")), QString());
    EXPECT_EQ(GetSiteCookies(QStringLiteral("not an address")), QString());

    EXPECT_EQ(ClearSiteCookies(QStringLiteral("https://user.qzone.qq.com/")), 2);
    EXPECT_EQ(GetSiteCookies(QStringLiteral("https://h5.qzone.qq.com/")), QString());
}

}  // namespace
}  // namespace mosaiq
