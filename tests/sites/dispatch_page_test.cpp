#include "sites/dispatch_page.h"

#include "support/fixture_server.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

class DispatchPageTest : public test::Sandbox {};

TEST_F(DispatchPageTest, AsksForGzipAndDecodesUtf8) {
    test::FixtureServer server;
    test::Reply reply;
    reply.body = QStringLiteral(R"(<a href="/profile/名字">)").toUtf8();
    reply.gzip = true;
    server.Route("xiangce.baidu.com", "/someone", reply);
    QString page;
    ASSERT_TRUE(FetchDispatchPage("https://xiangce.baidu.com/someone", page));
    EXPECT_EQ(page, QStringLiteral(R"(<a href="/profile/名字">)"));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].header("Accept-Encoding"), QByteArray("gzip, deflate"));
}

TEST_F(DispatchPageTest, CutAnswerIsAFailedRequest) {
    test::FixtureServer server;
    test::Reply reply;
    reply.body = QByteArray(1000, 'x');
    reply.closeAfter = 10;
    server.Route("www.renren.com", "/someone", reply);
    QString page;
    EXPECT_FALSE(FetchDispatchPage("https://www.renren.com/someone", page));
    EXPECT_EQ(server.Count("www.renren.com", "/someone"), int(Pauses().size()));
}

}  // namespace
}  // namespace mosaiq
