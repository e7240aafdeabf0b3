#include "core/settings_rules.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

struct DownloadCase {
    const char* threads;
    const char* timeout;
    const char* minSize;
    const char* maxSize;
    bool valid;
};

class DownloadSettingsInput : public ::testing::TestWithParam<DownloadCase> {};

TEST_P(DownloadSettingsInput, IsValidatedBeforeAnythingIsStored) {
    const DownloadCase& c = GetParam();
    const auto slot =
        ParseDownloadSettings({QString::fromUtf8(c.threads), QString::fromUtf8(c.timeout),
                               QString::fromUtf8(c.minSize), QString::fromUtf8(c.maxSize)});
    ASSERT_EQ(slot.has_value(), c.valid);
    if (c.valid) {
        EXPECT_EQ(slot->threadCount, QString::fromUtf8(c.threads).trimmed().toUInt());
        EXPECT_EQ(slot->timeoutSec, QString::fromUtf8(c.timeout).trimmed().toUInt());
        EXPECT_EQ(slot->minSizeK, QString::fromUtf8(c.minSize).toUInt());
        EXPECT_EQ(slot->maxSizeK, QString::fromUtf8(c.maxSize).toUInt());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DownloadSettingsInput,
                         ::testing::Values(DownloadCase{"15", "10", "0", "0", true},
                                           DownloadCase{"1", "65535", "20", "65535", true},
                                           DownloadCase{" 5 ", "30", "0", "0", true},
                                           DownloadCase{"0", "30", "0", "0", false},
                                           DownloadCase{"16", "30", "0", "0", false},
                                           DownloadCase{"-1", "30", "0", "0", false},
                                           DownloadCase{"5", "9", "0", "0", false},
                                           // would narrow to 1 thread
                                           DownloadCase{"65537", "30", "0", "0", false},
                                           // would narrow to 4464 K
                                           DownloadCase{"5", "30", "0", "70000", false},
                                           DownloadCase{"5", "30", "-1", "0", false},
                                           DownloadCase{"5", "", "0", "0", false},
                                           DownloadCase{"五", "30", "0", "0", false},
                                           DownloadCase{"5", "30", "1k", "0", false}));

TEST(DownloadSettingsDialog, ShowsTheSlotAsDecimalNumbers) {
    DownloadSlot slot{12, 3000, 7, 45};
    const DownloadSettingsTexts shown = DownloadSettingsShown(slot);
    EXPECT_EQ(shown.threadCount, QStringLiteral("7"));
    EXPECT_EQ(shown.timeoutSec, QStringLiteral("45"));
    EXPECT_EQ(shown.minSizeK, QStringLiteral("12"));
    EXPECT_EQ(shown.maxSizeK, QStringLiteral("3000"));
    EXPECT_EQ(ParameterErrorText(), QStringLiteral("参数错误"));
}

TEST(SaveSettingsDialog, CutsEachTextTo38CharactersAndStoresTheRadios) {
    NamingEntry entry;
    SaveSettingsInput input = SaveSettingsShown(entry);
    input.picPrefix = QString(45, u'p');
    input.picSuffix = QStringLiteral("_com");
    input.replaceFrom = QString(37, u'r') + QStringLiteral("😀");  // pair across the cut
    input.albumSuffix = QString(38, u'相');
    input.picNameSource = 2;
    input.albumFolder = 1;
    ASSERT_TRUE(ApplySaveSettings(entry, input));
    EXPECT_EQ(entry.picPrefix, QString(38, u'p'));
    EXPECT_EQ(entry.picSuffix, QStringLiteral("_com"));
    EXPECT_EQ(entry.replaceFrom, QString(37, u'r'));
    EXPECT_EQ(entry.albumSuffix, QString(38, u'相'));
    EXPECT_EQ(entry.picNameSource, 2);
    EXPECT_EQ(entry.albumFolder, 1);

    const SaveSettingsInput shown = SaveSettingsShown(entry);
    EXPECT_EQ(shown.picPrefix, entry.picPrefix);
    EXPECT_EQ(shown.picNameSource, 2);
    EXPECT_EQ(shown.albumFolder, 1);
}

TEST(SaveSettingsDialog, OutOfRangeRadioKeepsTheDialogOpenAndStoresNothing) {
    for (const auto& [source, folder] : {std::pair{0, 2}, {0, -1}, {3, 0}, {-1, 0}}) {
        NamingEntry entry;
        entry.picPrefix = QStringLiteral("old");
        SaveSettingsInput input;
        input.picPrefix = QStringLiteral("new");
        input.picNameSource = source;
        input.albumFolder = folder;
        EXPECT_FALSE(ApplySaveSettings(entry, input)) << source << "/" << folder;
        EXPECT_EQ(entry.picPrefix, QStringLiteral("old"));
    }
}

TEST(SaveSettingsDialog, HelpTextIsTheFivePartsInOrder) {
    const QString help = NamingHelpText();
    EXPECT_TRUE(help.startsWith(
        QStringLiteral("设置前后缀，可以在图片本来的文件名前后加上指定的字符\n如：")));
    const qsizetype second = help.indexOf(QStringLiteral("如果前缀为www_，后缀为_com\n"));
    const qsizetype third = help.indexOf(QStringLiteral("相册名那里前后缀一样\n"));
    const qsizetype fourth = help.indexOf(QStringLiteral(
        "转义字符如下（问号为英文的问号，相册名的转义字符只支持?1,?3,?9）：\n?1:相册名称\n"));
    EXPECT_LT(0, second);
    EXPECT_LT(second, third);
    EXPECT_LT(third, fourth);
    EXPECT_TRUE(
        help.endsWith(QStringLiteral("?9:相册在列表中的序号(格式为：0001,0002,0003...)\n"
                                     "?A:图片在相册中的序号(格式为：0001,0002,0003...)\n")));
    EXPECT_FALSE(help.contains(QStringLiteral("?8")));
    EXPECT_FALSE(help.contains(QStringLiteral("?B")));
}

struct ToggleCase {
    uint16_t before;
    SettingsOption bit;
    uint16_t after;
};

class MenuToggle : public ::testing::TestWithParam<ToggleCase> {};

TEST_P(MenuToggle, FlipsItsBitAndKeepsTheShopChoicesExclusive) {
    NamingEntry entry;
    entry.options = GetParam().before;
    ToggleOption(entry, GetParam().bit);
    EXPECT_EQ(entry.options, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Cases, MenuToggle,
                         ::testing::Values(ToggleCase{0x0010, kOptionSkipDownloaded, 0x0050},
                                           ToggleCase{0x0050, kOptionSkipDownloaded, 0x0010},
                                           ToggleCase{0x0110, kOptionShopMainOnly, 0x0030},
                                           ToggleCase{0x0030, kOptionShopDescOnly, 0x0110},
                                           ToggleCase{0x0020, kOptionShopMainOnly, 0x0000},
                                           ToggleCase{0x0100, kOptionShopDescOnly, 0x0000},
                                           ToggleCase{0x0000, kOptionShopDescOnly, 0x0100}));

}  // namespace
}  // namespace mosaiq
