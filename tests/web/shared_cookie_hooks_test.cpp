#include "web/shared_cookie_hooks.h"
#include "web/cookie_hook.h"
#include "web/http_client.h"

#include "support/fixture_server.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

class SharedCookieHooksTest : public test::Sandbox {
  protected:
    void SetUp() override {
        test::Sandbox::SetUp();
        InstallSharedCookieStore();
    }
    void TearDown() override {
        SetCookieHooks(nullptr, nullptr);
        test::Sandbox::TearDown();
    }
};

TEST_F(SharedCookieHooksTest, AnswersSetCookiesThatLaterRequestsCarry) {
    test::FixtureServer server;
    test::Reply login;
    login.body = "<html>welcome</html>";
    login.headers = {{"Set-Cookie", "login=1; Domain=example.com; Path=/; Max-Age=3600"},
                     {"Set-Cookie", "host=2; Path=/"},
                     {"Set-Cookie", "foreign=3; Domain=other.com"}};
    server.Route(QStringLiteral("www.example.com"), QStringLiteral("/login"), login);

    HttpResponse response;
    ASSERT_TRUE(HttpRequest(
        response, RequestOptions(QStringLiteral("http://www.example.com/login"), {}, 20000), 0));
    struct Case {
        const char* url;
        QByteArray sent;
    };
    const Case cases[] = {
        {"http://www.example.com/again", "login=1; host=2"},
        {"http://pic.example.com/a.jpg", "login=1"},
        {"http://badexample.com/", ""},
        {"http://other.com/", ""},
    };
    for (const Case& c : cases) {
        server.ClearRequests();
        HttpRequest(response, RequestOptions(QString::fromLatin1(c.url), {}, 20000), 0);
        ASSERT_EQ(server.requests().size(), 1u) << c.url;
        EXPECT_EQ(server.requests()[0].header("Cookie"), c.sent) << c.url;
    }
}

}  // namespace
}  // namespace mosaiq
