#include "web/codepage.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

TEST(CodePage, ConvertsEachSupportedCodePage) {
    struct Case {
        int codePage;
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {kCodePageGbk, QByteArray("\xD6\xD0\xCE\xC4"), QStringLiteral("中文")},
        {kCodePageAnsi, QByteArray("\xD6\xD0\xCE\xC4"), QStringLiteral("中文")},
        {kCodePageBig5, QByteArray("\xA4\xA4\xA4\xE5"), QStringLiteral("中文")},
        {kCodePageEucKr, QByteArray("\xC7\xD1\xB1\xB9"), QStringLiteral("한국")},
        {kCodePageUtf8, QByteArray("\xE4\xB8\xAD\xE6\x96\x87"), QStringLiteral("中文")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BytesToText(c.bytes, c.codePage), c.text) << c.codePage;
    }
}

TEST(CodePage, TextEndsAtFirstZeroCharacter) {
    const QByteArray bytes("ab\0cd", 5);
    EXPECT_EQ(BytesToText(bytes, kCodePageUtf8), QStringLiteral("ab"));
    EXPECT_EQ(AnsiToText(bytes), QStringLiteral("ab"));
    EXPECT_EQ(BytesToText(QByteArray(), kCodePageUtf8), QString());
    EXPECT_EQ(BytesToText(QByteArray("x"), 1234), QString());
}

TEST(CodePage, GbkRoundTripAndUnmappable) {
    EXPECT_EQ(TextToGbk(QStringLiteral("相册A")), QByteArray("\xCF\xE0\xB2\xE1"
                                                             "A"));
    EXPECT_EQ(BytesToText(TextToGbk(QStringLiteral("说说里的图片")), kCodePageGbk),
              QStringLiteral("说说里的图片"));
    EXPECT_EQ(TextToGbk(QString()), QByteArray());
}

}  // namespace
}  // namespace mosaiq
