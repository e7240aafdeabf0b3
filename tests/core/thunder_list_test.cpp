#include "core/thunder_list.h"

#include "core/naming.h"
#include "core/picture_queue.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace mosaiq::test {
namespace {

class ThunderListTest : public Sandbox {};

TEST_F(ThunderListTest, LongTitlesStillGiveAListFile) {
    PictureQueue queue;
    queue.Append({QStringLiteral("http://p.example.cn/1.jpg"), QStringLiteral("1.jpg"), {}});
    // 100 Chinese characters: 300 bytes, more than one name takes.
    const QString path = ThunderListPath(saveDir(), QString(100, QChar(0x76F8)) + u'.');
    const QString name = QFileInfo(path).fileName();
    EXPECT_TRUE(name.endsWith(QStringLiteral(".lst")));
    EXPECT_LE(NameSize(name), kMaxNameSize);
    EXPECT_FALSE(name.contains(QStringLiteral("..")));
    ASSERT_TRUE(WriteThunderList(path, queue));
    EXPECT_EQ(QDir(saveDir()).entryList(QDir::Files), QStringList{name});

    EXPECT_EQ(ThunderListPath(saveDir(), QStringLiteral("相册")),
              saveDir() + QStringLiteral("相册.lst"));
}

}  // namespace
}  // namespace mosaiq::test
