#include "jobs/file_fixes.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

TEST(ExtensionForMagicTest, FirstBytesChooseTheExtension) {
    struct Case {
        QByteArray head;
        const char* extension;
    };
    const Case cases[] = {
        {"BM6\x0c", ".bmp"},
        {"GIF89a", ".gif"},
        {"II*", ".tiff"},
        {QByteArray("MM\0*", 4), ".tiff"},
        {"\x89PNG\r\n\x1a", ".png"},
        {"\xff\xd8\xff\xe0", ".jpg"},
        {QByteArray("\0\0\x02\0\0\0\0", 7), ".tga"},
        {QByteArray("\0\0\x10\0\0\0\0", 7), ".tga"},
        {QByteArray("\0\0\x01\0\x01\0", 6), ".ico"},
        {QByteArray("\0\0\x02\0\x01\0", 6), ".cur"},
        {QByteArray("\0\0\0\x18"
                    "ftyp",
                    8),
         ".mp4"},       // unknown: the hint
        {"B", ".mp4"},  // too short for any rule
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtensionForMagic(c.head, ".mp4"), QString(c.extension)) << c.head.toHex().data();
    }
    EXPECT_EQ(ExtensionForMagic("<html>", QString()), QString());
}

}  // namespace
}  // namespace mosaiq
