#include "core/extension_settings.h"

#include "core/job_state.h"
#include "support/sandbox.h"
#include "web/codepage.h"

#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

struct NumberCase {
    const char* value;
    uint32_t expected;
};

TEST(CIniNumber, ReadsUnsignedDecimalLikeThePrivateProfileReads) {
    const NumberCase cases[] = {
        {"7", 7},
        {"  42  ", 42},
        {"12abc", 12},
        {"abc", 0},
        {"-5", uint32_t(-5)},
        {"99999999999", 0xFFFFFFFFu},
        {"\"3\"", 3},
        {"", 9},  // empty value: the fallback
    };
    for (const NumberCase& c : cases) {
        const CIni ini = CIni::FromBytes(QByteArray("[s]\nk=") + c.value + "\n");
        EXPECT_EQ(ini.Number("s", "k", 9), c.expected) << c.value;
    }
    EXPECT_EQ(CIni::FromBytes("[s]\n").Number("s", "missing", 9), 9u);
}

TEST(CIniNumber, ReadsAtMostSixtyFourCharacters) {
    const QByteArray zeros(64, '0');
    EXPECT_EQ(CIni::FromBytes("[s]\nk=" + zeros + "7\n").Number("s", "k", 1), 0u);
    EXPECT_EQ(CIni::FromBytes("[s]\nk=" + zeros.left(63) + "7\n").Number("s", "k", 1), 7u);
}

TEST(CIniText, FindsSectionsAndKeysIgnoringCaseFirstKeyWins) {
    const CIni ini = CIni::FromBytes(
        "; comment\r\nstray=1\r\n[Alpha]\r\n Key = one \r\nkey=two\r\n;key=three\r\n"
        "[beta]\r\nkey=\"quoted value\"\r\nnoequals\r\n[broken\r\nkey=lost\r\n");
    EXPECT_EQ(ini.Text("alpha", "KEY"), QString("one"));
    EXPECT_EQ(ini.Text("BETA", "key"), QString("quoted value"));
    EXPECT_EQ(ini.Text("alpha", "stray"), std::nullopt);
    EXPECT_EQ(ini.Text("broken", "key"), std::nullopt);
    EXPECT_EQ(ini.Text("gamma", "key"), std::nullopt);
}

struct EncodingCase {
    const char* text;
    int flags;
};

TEST(EncodingText, LaterMatchOverridesEarlier) {
    const EncodingCase cases[] = {
        {"UTF8", 2},      {"ANSI", 0},     {"AUTO", 0x10}, {"BIG5", 8},
        {"UTF8,BIG5", 8}, {"ANSIUTF8", 0}, {"utf8", 0},    {"whatever", 0},
    };
    for (const EncodingCase& c : cases) {
        EXPECT_EQ(EncodingTextToFlags(c.text), c.flags) << c.text;
    }
}

const QString kSample = QStringLiteral(
    "[QQ空间]\r\nV2编码=UTF8\r\nV3编码=AUTO\r\n取原始名方式=0\r\n下载大图=1\r\n"
    "[淘宝]\r\n图片名中是否有价格=有价格\r\n繁体=1\r\n价格增减=-20\r\n[京东]\r\n图片获取方式="
    "2\r\n");

class ExtensionSettingsFile : public test::Sandbox {
  protected:
    void Write(const QByteArray& bytes) {
        QFile file(dataDir() + QString::fromUtf16(kExtensionSettingsFile));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const JobState& Read() {
        state.m_dataDir = dataDir();
        // Leftovers of a former job must not survive a read.
        state.m_qzoneV2Encoding = 99;
        state.m_jdSource = 99;
        state.m_taobaoPriceInName = 1;
        ReadExtensionSettings(state);
        return state;
    }
    JobState state;
};

TEST_F(ExtensionSettingsFile, MissingFileGivesDefaults) {
    Read();
    EXPECT_EQ(state.m_qzoneV2Encoding, 0);
    EXPECT_EQ(state.m_qzoneV3Encoding, 0);
    EXPECT_EQ(state.m_qzoneOrigName, 1);
    EXPECT_EQ(state.m_qzoneBigPicture, 0);
    EXPECT_EQ(state.m_taobaoPriceInName, 0);
    EXPECT_EQ(state.m_taobaoTraditional, 0);
    EXPECT_EQ(state.m_taobaoPriceDelta, 0);
    EXPECT_EQ(state.m_jdSource, 1);
}

TEST_F(ExtensionSettingsFile, ReadsEveryKeyInEachFileEncoding) {
    QByteArray utf16 = "\xFF\xFE";
    utf16 += QByteArray(reinterpret_cast<const char*>(kSample.utf16()), kSample.size() * 2);
    QStringEncoder utf16be(QStringEncoder::Utf16BE);
    const QByteArray forms[] = {
        utf16,
        "\xFE\xFF" + QByteArray(utf16be(kSample)),
        kSample.toUtf8(),
        "\xEF\xBB\xBF" + kSample.toUtf8(),
        TextToGbk(kSample),
    };
    for (const QByteArray& bytes : forms) {
        Write(bytes);
        Read();
        SCOPED_TRACE(bytes.left(4).toHex().toStdString());
        EXPECT_EQ(state.m_qzoneV2Encoding, 2);
        EXPECT_EQ(state.m_qzoneV3Encoding, 0x10);
        EXPECT_EQ(state.m_qzoneOrigName, 0);
        EXPECT_EQ(state.m_qzoneBigPicture, 1);
        EXPECT_EQ(state.m_taobaoPriceInName, 1);
        EXPECT_EQ(state.m_taobaoTraditional, 1);
        EXPECT_EQ(state.m_taobaoPriceDelta, -20);
        EXPECT_EQ(state.m_jdSource, 2);
    }
}

TEST_F(ExtensionSettingsFile, EmptyAndOddValuesFallBackAsDocumented) {
    Write(QStringLiteral("[QQ空间]\nV2编码=\n取原始名方式=\n下载大图=x\n"
                         "[淘宝]\n图片名中是否有价格=无\n繁体=300\n")
              .toUtf8());
    Read();
    EXPECT_EQ(state.m_qzoneV2Encoding, 0);
    EXPECT_EQ(state.m_qzoneOrigName, 1);    // empty: default
    EXPECT_EQ(state.m_qzoneBigPicture, 0);  // not a number: 0
    EXPECT_EQ(state.m_taobaoPriceInName, 0);
    EXPECT_EQ(state.m_taobaoTraditional, 300 % 256);  // truncated to the byte
    EXPECT_EQ(state.m_jdSource, 1);
}

}  // namespace
}  // namespace mosaiq
