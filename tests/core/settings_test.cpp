#include "core/settings_record.h"

#include "support/sandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace mosaiq {
namespace {

constexpr int kSlotBytes = 8;
constexpr int kNamingOffset = 192;
constexpr int kNamingBytes = 484;
constexpr int kAddressHistoryOffset = 11808;
constexpr int kSavePathHistoryOffset = 15808;

void PutU16(QByteArray& bytes, int offset, uint16_t value) {
    bytes[offset] = char(value & 0xFF);
    bytes[offset + 1] = char(value >> 8);
}

uint16_t GetU16(const QByteArray& bytes, int offset) {
    return uint16_t(uint8_t(bytes[offset]) | (uint8_t(bytes[offset + 1]) << 8));
}

void PutText(QByteArray& bytes, int offset, const QString& text) {
    for (int i = 0; i < text.size(); ++i) {
        PutU16(bytes, offset + 2 * i, text[i].unicode());
    }
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class SettingsFile : public test::Sandbox {
  protected:
    QString path() const { return dataDir() + QStringLiteral("soft.dat"); }
};

// The first-run file, built from the layout by hand rather than by the code under test.
QByteArray FirstRunImage() {
    QByteArray bytes(kSettingsFileSize, '\0');
    for (int i = 0; i < kSettingsSlots; ++i) {
        PutU16(bytes, i * kSlotBytes + 4, i == 18 ? 3 : 5);
        PutU16(bytes, i * kSlotBytes + 6, 30);
        const int entry = kNamingOffset + i * kNamingBytes;
        uint16_t options = 0x0010;
        if (i == 7) {
            options = 0x0092;
        } else if (i == 11 || i == 16) {
            options = 0x0012;
        } else if (i == 17) {
            options = 0x0011;
            PutText(bytes, entry, QStringLiteral("?2) "));
        }
        PutU16(bytes, entry + 480, options);
        bytes[entry + 482] = char(i == 8 ? 1 : 0);
    }
    return bytes;
}

TEST_F(SettingsFile, FirstRunWritesTheDefaultsByteForByte) {
    SettingsRecord record;
    EXPECT_FALSE(LoadSettings(record, dataDir()));
    const QByteArray written = ReadFile(path());
    ASSERT_EQ(written.size(), kSettingsFileSize);
    const QByteArray expected = FirstRunImage();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(written[i], expected[i]) << "byte " << i;
    }
    EXPECT_EQ(NamingOf(record, 17).picPrefix, QStringLiteral("?2) "));
    EXPECT_EQ(SlotOf(record, 18).threadCount, 3);
}

TEST_F(SettingsFile, OutOfRangeSlotsAreRepairedAndWrittenBackOtherFieldsKept) {
    QByteArray bytes(kSettingsFileSize, '\0');
    for (int i = 0; i < kSettingsSlots; ++i) {
        PutU16(bytes, i * kSlotBytes + 4, 4);
        PutU16(bytes, i * kSlotBytes + 6, 60);
    }
    PutU16(bytes, 3 * kSlotBytes + 0, 7);   // minSizeK: not checked
    PutU16(bytes, 3 * kSlotBytes + 4, 20);  // threads
    PutU16(bytes, 3 * kSlotBytes + 6, 5);   // time-out
    PutU16(bytes, 5 * kSlotBytes + 4, 0);
    PutU16(bytes, kNamingOffset + 3 * kNamingBytes + 480, 0x0044);
    WriteFile(path(), bytes);

    SettingsRecord record;
    EXPECT_TRUE(LoadSettings(record, dataDir()));
    EXPECT_EQ(SlotOf(record, 3).threadCount, 5);
    EXPECT_EQ(SlotOf(record, 3).timeoutSec, 30);
    EXPECT_EQ(SlotOf(record, 3).minSizeK, 7);
    EXPECT_EQ(SlotOf(record, 5).threadCount, 5);
    EXPECT_EQ(SlotOf(record, 4).threadCount, 4);
    EXPECT_EQ(SlotOf(record, 4).timeoutSec, 60);
    // No first-run defaults on an existing file.
    EXPECT_EQ(NamingOf(record, 3).options, 0x0044);
    EXPECT_EQ(NamingOf(record, 7).options, 0);

    const QByteArray written = ReadFile(path());
    ASSERT_EQ(written.size(), kSettingsFileSize);
    EXPECT_EQ(GetU16(written, 3 * kSlotBytes + 4), 5);
    EXPECT_EQ(GetU16(written, 3 * kSlotBytes + 6), 30);
    EXPECT_EQ(GetU16(written, kNamingOffset + 3 * kNamingBytes + 480), 0x0044);
}

// A start that changes nothing writes nothing; a file others could read is made private.
TEST_F(SettingsFile, UnchangedPrivateFileIsLeftAloneOtherwiseRewritten) {
    SettingsRecord record;
    LoadSettings(record, dataDir());
    struct stat before {};
    ASSERT_EQ(stat(QFile::encodeName(path()).constData(), &before), 0);
    LoadSettings(record, dataDir());
    struct stat after {};
    ASSERT_EQ(stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);

    ASSERT_EQ(chmod(QFile::encodeName(path()).constData(), 0644), 0);
    LoadSettings(record, dataDir());
    ASSERT_EQ(stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadFile(path()), SerializeSettings(record));
}

TEST_F(SettingsFile, ShortFileIsTakenAsFarAsItGoes) {
    QByteArray bytes(kNamingOffset + 10, '\0');
    PutU16(bytes, 2 * kSlotBytes + 4, 9);
    PutU16(bytes, 2 * kSlotBytes + 6, 45);
    PutText(bytes, kNamingOffset, QStringLiteral("ab"));  // prefix of entry 0, cut after "ab"
    bytes.append("c");                                    // half a code unit
    WriteFile(path(), bytes);

    SettingsRecord record;
    EXPECT_TRUE(LoadSettings(record, dataDir()));
    EXPECT_EQ(SlotOf(record, 2).threadCount, 9);
    EXPECT_EQ(SlotOf(record, 2).timeoutSec, 45);
    EXPECT_EQ(NamingOf(record, 0).picPrefix, QStringLiteral("ab"));
    EXPECT_EQ(NamingOf(record, 1).options, 0);
    EXPECT_EQ(ReadFile(path()).size(), kSettingsFileSize);
}

TEST(SettingsImage, TextsRoundTripAtTheirOffsetsAndKeepATerminator) {
    SettingsRecord record;
    NamingOf(record, 23).albumSuffix = QStringLiteral("相册_?1");
    NamingOf(record, 0).replaceTo = QString(45, u'x');  // too long for 40 units
    NamingOf(record, 2).picNameSource = 2;
    NamingOf(record, 2).albumFolder = 1;
    record.addressHistory[1] = QStringLiteral("http://例子.cn/a");
    record.savePathHistory[4] = QString(399, u'p');
    SlotOf(record, 23).maxSizeK = 0xABCD;

    const QByteArray bytes = SerializeSettings(record);
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(GetU16(bytes, 23 * kSlotBytes + 2), 0xABCD);
    const int entry23 = kNamingOffset + 23 * kNamingBytes;
    EXPECT_EQ(GetU16(bytes, entry23 + 400), u'相');
    EXPECT_EQ(GetU16(bytes, kNamingOffset + 2 * kNamingBytes + 482), 0x0102);
    EXPECT_EQ(GetU16(bytes, kNamingOffset + 240 + 39 * 2), 0);  // terminator kept
    EXPECT_EQ(GetU16(bytes, kAddressHistoryOffset + 800), u'h');
    EXPECT_EQ(GetU16(bytes, kSavePathHistoryOffset + 4 * 800 + 398 * 2), u'p');
    EXPECT_EQ(GetU16(bytes, kSavePathHistoryOffset + 4 * 800 + 399 * 2), 0);

    const SettingsRecord back = ParseSettings(bytes);
    EXPECT_EQ(NamingOf(back, 23).albumSuffix, NamingOf(record, 23).albumSuffix);
    EXPECT_EQ(NamingOf(back, 0).replaceTo, QString(39, u'x'));
    EXPECT_EQ(NamingOf(back, 2).picNameSource, 2);
    EXPECT_EQ(NamingOf(back, 2).albumFolder, 1);
    EXPECT_EQ(back.addressHistory[1], record.addressHistory[1]);
    EXPECT_EQ(back.savePathHistory[4], record.savePathHistory[4]);
    EXPECT_EQ(SerializeSettings(back), bytes);
}

TEST_F(SettingsFile, SaveReplacesTheWholeFileAndFailsQuietly) {
    WriteFile(path(), QByteArray(40000, 'z'));  // longer than a record: must not survive
    SettingsRecord record;
    SlotOf(record, 1).threadCount = 9;
    EXPECT_TRUE(SaveSettings(record, dataDir()));
    EXPECT_EQ(ReadFile(path()), SerializeSettings(record));

    const QString missing = root() + QStringLiteral("/no/such/folder/");
    EXPECT_FALSE(SaveSettings(record, missing));
    EXPECT_FALSE(QFile::exists(missing + QStringLiteral("soft.dat")));
    // Only the settings file is left behind, no temporary.
    EXPECT_EQ(QDir(dataDir()).entryList(QDir::Files), QStringList{QStringLiteral("soft.dat")});
}

struct HistoryCase {
    const char* name;
    std::vector<QString> before;  // entries 0.. of the address history
    QString text;
    int which;
    bool inserted;
    std::vector<QString> after;
};

class History : public ::testing::TestWithParam<HistoryCase> {};

TEST_P(History, FollowsTheInsertionRules) {
    const HistoryCase& c = GetParam();
    SettingsRecord record;
    for (size_t i = 0; i < c.before.size(); ++i) {
        record.addressHistory[i] = c.before[i];
    }
    EXPECT_EQ(RememberInHistory(record, c.which, c.text), c.inserted);
    auto& history = c.which == kSavePathHistory ? record.savePathHistory : record.addressHistory;
    for (size_t i = 0; i < c.after.size(); ++i) {
        EXPECT_EQ(history[i], c.after[i]) << "entry " << i;
    }
}

const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c"),
              d = QStringLiteral("d"), e = QStringLiteral("e"), f = QStringLiteral("f");

INSTANTIATE_TEST_SUITE_P(
    Cases, History,
    ::testing::Values(
        HistoryCase{"NewTextGoesFirst", {a, b}, c, kAddressHistory, true, {c, a, b, {}, {}}},
        HistoryCase{"OtherCaseIsADuplicate",
                    {QStringLiteral("QQ123"), a, b, c, d},
                    QStringLiteral("qq123"),
                    kAddressHistory,
                    false,
                    {QStringLiteral("QQ123"), a, b, c, d}},
        HistoryCase{
            "SixthPushesOutTheOldest", {a, b, c, d, e}, f, kAddressHistory, true, {f, a, b, c, d}},
        HistoryCase{"EmptyTextMatchesAnEmptyEntry", {a}, {}, kAddressHistory, false, {a, {}}},
        HistoryCase{
            "EmptyTextWhenFull", {a, b, c, d, e}, {}, kAddressHistory, true, {{}, a, b, c, d}},
        HistoryCase{"399UnitsAreStored",
                    {},
                    QString(399, u'x'),
                    kAddressHistory,
                    true,
                    {QString(399, u'x')}},
        HistoryCase{"400UnitsAreNot", {a}, QString(400, u'x'), kAddressHistory, false, {a, {}}},
        HistoryCase{"SavePathHistory",
                    {},
                    QStringLiteral("/home/me/图片"),
                    kSavePathHistory,
                    true,
                    {QStringLiteral("/home/me/图片")}},
        HistoryCase{"UnknownHistoryInsertsNothing", {a}, b, 2, false, {a, {}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mosaiq
