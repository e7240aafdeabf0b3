#include "cli/demo_command.h"
#include "support/sandbox.h"
#include "web/pause_clock.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace mosaiq::test {
namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DemoCommandTest : public Sandbox {};

TEST_F(DemoCommandTest, ListsAndDownloadsTheSampleAccountWithoutTheInternet) {
    const QByteArray connectTo = qgetenv("MOSAIQ_CONNECT_TO");
    const QString save = saveDir() + QStringLiteral("demo");
    ASSERT_EQ(RunDemoCommand({QStringLiteral("--save"), save}), 0);

    const QDir account(save + QStringLiteral("/12345"));
    const QByteArray jpeg = Bytes(QStringLiteral(":/demo_site/landscape.jpg"));
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_EQ(Bytes(account.filePath(QStringLiteral("风景/日出.jpg"))), jpeg);
    EXPECT_EQ(Bytes(account.filePath(QStringLiteral("风景/印章.png"))),
              Bytes(QStringLiteral(":/demo_site/stamp.png")));
    EXPECT_TRUE(Bytes(account.filePath(QStringLiteral("风景/旗帜.gif"))).startsWith("GIF89a"));
    // The raw picture is gone: the preview address behind it was fetched.
    EXPECT_EQ(Bytes(account.filePath(QStringLiteral("旧照片/老房子.jpg"))), jpeg);
    EXPECT_FALSE(account.exists(QStringLiteral("加密相册")));
    EXPECT_EQ(QDir(account.filePath(QStringLiteral("说说里的图片")))
                  .entryList({QStringLiteral("*.jpg")}, QDir::Files)
                  .size(),
              2);
    // The site's routing ends with the demo.
    EXPECT_EQ(qgetenv("MOSAIQ_CONNECT_TO"), connectTo);
}

TEST_F(DemoCommandTest, UnknownOptionIsACommandLineError) {
    EXPECT_EQ(RunDemoCommand({QStringLiteral("--bogus")}), 2);
}

}  // namespace
}  // namespace mosaiq::test
