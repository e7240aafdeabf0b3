#include "core/naming.h"

#include "core/job_state.h"
#include "core/picture_queue.h"
#include "support/recording_frontend.h"
#include "support/sandbox.h"
#include "web/codepage.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "sites/site_types.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

using namespace Qt::StringLiterals;

QString Sanitized(QString text, uint32_t n = 0, bool fallback = false) {
    SanitizeName(text, n, fallback);
    return text;
}

struct SanitizeCase {
    const char* input;
    const char* expected;
};

class SanitizeNameRules : public ::testing::TestWithParam<SanitizeCase> {};

TEST_P(SanitizeNameRules, CleanWithoutFallback) {
    EXPECT_EQ(Sanitized(QString::fromUtf8(GetParam().input)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SanitizeNameRules,
    ::testing::Values(SanitizeCase{"Tom &amp; Jerry", "Tom & Jerry"},
                      SanitizeCase{"  a     b  ", "a b"}, SanitizeCase{"...", "。。。"},
                      SanitizeCase{" .. ", "。。"},
                      SanitizeCase{"a\\b/c:d*e?f\"g<h>i|j", "abcdefghij"},
                      SanitizeCase{"x\r\ny\az", "xyz"}, SanitizeCase{"a\tb", "a_b"},
                      SanitizeCase{"..name. .", "name"}, SanitizeCase{"./..", ""},
                      SanitizeCase{"CON", "CON_"}, SanitizeCase{"nul.jpg", "nul_.jpg"},
                      SanitizeCase{"console", "console"}, SanitizeCase{"\x1b[31mred", "[31mred"},
                      SanitizeCase{"相册 &lt;1&gt;", "相册 1"}, SanitizeCase{"s \x01 p", "s p"},
                      SanitizeCase{"a | b", "a b"}, SanitizeCase{"a\u3000", "a"},
                      SanitizeCase{"name.", "name"}, SanitizeCase{"\U0001F600 x", "\U0001F600 x"},
                      SanitizeCase{"lpt9.png", "lpt9_.png"}, SanitizeCase{"pic.jpg", "pic.jpg"}));

TEST_P(SanitizeNameRules, CleaningACleanNameChangesNothing) {
    const QString once = Sanitized(QString::fromUtf8(GetParam().input));
    EXPECT_EQ(Sanitized(once), once);
}

TEST(SanitizeName, FallbackReplacesEmptyAndOverlongNames) {
    EXPECT_EQ(Sanitized(QString(), 7, true), QStringLiteral("pic7"));
    EXPECT_EQ(Sanitized(QStringLiteral("?*"), 3, true), QStringLiteral("pic3"));
    EXPECT_EQ(Sanitized(QString(1000, u'a'), 2, true), QStringLiteral("pic2"));
    EXPECT_EQ(Sanitized(QString(999, u'a'), 2, true), QString(999, u'a'));
    EXPECT_EQ(Sanitized(QString(1000, u'a'), 2, false), QString(1000, u'a'));
    const QString stamp = Sanitized(QStringLiteral("///"), kTimeStampFallback, true);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^20\\d{12}$")).match(stamp).hasMatch())
        << stamp.toStdString();
}

TEST(HasPictureExtension, KnowsTheExtensionsInAnyCase) {
    for (const char* name : {"a.jpg", "a.JPEG", "b.c.Png", ".gif", "x.bmp", "x.tif", "v.MP4"}) {
        EXPECT_TRUE(HasPictureExtension(QString::fromUtf8(name))) << name;
    }
    for (const char* name : {"a.webp", "a.jpg.txt", "jpg", "a.tiff", "a.", ""}) {
        EXPECT_FALSE(HasPictureExtension(QString::fromUtf8(name))) << name;
    }
}

TEST(NameSize, CutsAtCharacterBoundaries) {
#ifndef Q_OS_WIN
    EXPECT_EQ(NameSize(u"a相😀"), 1 + 3 + 4);
    EXPECT_EQ(CutToNameSize(QStringLiteral("a相😀"), 7), QStringLiteral("a相"));
    EXPECT_EQ(CutToNameSize(QStringLiteral("相相"), 5), QStringLiteral("相"));
#endif
    EXPECT_EQ(CutAtCharacter(QStringLiteral("ab😀"), 3), QStringLiteral("ab"));
    EXPECT_EQ(CutAtCharacter(QStringLiteral("ab😀"), 4), QStringLiteral("ab😀"));
}

// One album list, naming settings of site type 1 (not QQ) and an empty queue whose folder
// is the sandbox's save root.
class AddPictureTest : public test::Sandbox {
  protected:
    void SetUp() override {
        test::Sandbox::SetUp();
        state.frontend = &frontend;
        state.m_listType = SiteTypeValue(SiteType::Baidu);
        state.m_account = QStringLiteral("acct");
        g_pictureQueue().Clear();
        g_pictureQueue().folder = saveDir();
    }
    void TearDown() override {
        g_pictureQueue().Clear();
        test::Sandbox::TearDown();
    }

    int AddAlbum(const QString& title, const QString& created = QString()) {
        ST_PERLISTRECORD record;
        record.title = title;
        record.createdText = created;
        return state.m_records.Append(record) - 1;
    }
    NamingEntry& naming() { return NamingOf(state.m_settings, state.m_listType); }
    QStringList Names() const {
        QStringList names;
        for (const PictureEntry& entry : g_pictureQueue().entries) {
            names << entry.fileName;
        }
        return names;
    }
    void Add(const QString& description, int album = 0,
             const QString& address = QStringLiteral("http://p.example.cn/a/b.jpg"),
             const std::optional<QString>& extra = std::nullopt) {
        AddPicture(state, address, description, QStringLiteral("Referer: x"), album, extra);
    }

    test::RecordingFrontend frontend;
    JobState state;
};

TEST_F(AddPictureTest, EmptyDescriptionsAreNamedAfterTheTitleWithCounters) {
    AddAlbum(QStringLiteral("春游"));
    for (int i = 0; i < 4; ++i) {
        Add(QString());
    }
    EXPECT_EQ(Names(),
              (QStringList{u"春游.jpg"_s, u"春游(1).jpg"_s, u"春游(2).jpg"_s, u"春游(3).jpg"_s}));
    EXPECT_EQ(g_pictureQueue().folder, saveDir() + QStringLiteral("春游") + QDir::separator());
    EXPECT_TRUE(QDir(g_pictureQueue().folder).exists());
    EXPECT_EQ(g_pictureQueue().Row(1).headerText, QStringLiteral("Referer: x"));
    EXPECT_EQ(frontend.progressStatus.back(), QStringLiteral("已获取到4张图片信息"));
}

TEST_F(AddPictureTest, SequenceNamesNeverGetACounter) {
    AddAlbum(QStringLiteral("t"));
    naming().picNameSource = 1;
    naming().picSuffix = QStringLiteral("_x");
    for (int i = 0; i < 3; ++i) {
        Add(QStringLiteral("same"));
    }
    EXPECT_EQ(Names(), (QStringList{u"1_x.jpg"_s, u"2_x.jpg"_s, u"3_x.jpg"_s}));
}

TEST_F(AddPictureTest, AddressNamesTakeTheLastPathPiece) {
    AddAlbum(QStringLiteral("t"));
    naming().picNameSource = 2;
    Add(QString(), 0, QStringLiteral("http://h.cn/p/IMG_1.PNG"));
    Add(QString(), 0, QStringLiteral("http://h.cn/q/IMG_1.png"));
    Add(QString(), 0, QStringLiteral("nohost"));  // "http:nohost" has no "/": a number
    EXPECT_EQ(Names(), (QStringList{u"IMG_1.PNG"_s, u"IMG_1.png(1).png"_s, u"3.jpg"_s}));
    EXPECT_EQ(g_pictureQueue().Row(2).address, QStringLiteral("http:nohost"));
}

TEST_F(AddPictureTest, AddressesAreCompleted) {
    AddAlbum(QStringLiteral("t"));
    Add(QStringLiteral("a"), 0, QStringLiteral("//img.cn/1.jpg"));
    Add(QStringLiteral("b"), 0, QStringLiteral("Http://img.cn/2.jpg"));
    Add(QStringLiteral("c"), 0, QStringLiteral("HTTPS://img.cn/3.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(0).address, QStringLiteral("http://img.cn/1.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(1).address, QStringLiteral("http://img.cn/2.jpg"));
    EXPECT_EQ(g_pictureQueue().Row(2).address, QStringLiteral("HTTPS://img.cn/3.jpg"));
}

TEST_F(AddPictureTest, ExtensionsAndCollisions) {
    AddAlbum(QStringLiteral("t"));
    for (const char* description :
         {"x.jpg", "x.jpg", "X.JPG", "shot.PNG", "pic.webp", "pic.webp"}) {
        Add(QString::fromUtf8(description));
    }
    EXPECT_EQ(Names(), (QStringList{u"x.jpg"_s, u"x.jpg(1).jpg"_s, u"X.JPG(2).JPG"_s, u"shot.PNG"_s,
                                    u"pic.webp.jpg"_s, u"pic.webp(1).jpg"_s}));
}

TEST_F(AddPictureTest, EveryEscapeCodeOfFileNames) {
    state.m_listType = SiteTypeValue(SiteType::QqFamily);  // QQ: "?5" is the creation time
    AddAlbum(QStringLiteral("first"));
    AddAlbum(QStringLiteral("second"), QStringLiteral("2012-05-01"));
    AddAlbum(QStringLiteral("third"));
    state.m_records.checkedCount = 2;
    naming().picPrefix = QStringLiteral("?1_?2_?3_?4_?5_?6_?7_?8_?9_?A_?B_?a_");
    Add(QStringLiteral("p"), 1, QStringLiteral("http://h/1.jpg"), QStringLiteral("EX"));
    Add(QStringLiteral("p"), 1, QStringLiteral("http://h/2.jpg"), QStringLiteral(""));
    EXPECT_EQ(Names(), (QStringList{u"second_1_2_2_2012-05-01_2_3_acct_0002_0001_EX_a_p.jpg"_s,
                                    u"second_2_2_2_2012-05-01_2_3_acct_0002_0002__a_p.jpg"_s}));
}

TEST_F(AddPictureTest, CodesWithoutAValueLoseOnlyTheirQuestionMark) {
    AddAlbum(QStringLiteral("t"), QStringLiteral("2012"));
    naming().picSuffix = QStringLiteral("_?5?B");
    Add(QStringLiteral("p"));
    EXPECT_EQ(Names(), QStringList{u"p_5B.jpg"_s});
}

TEST_F(AddPictureTest, AlbumNumberPrefixOnTheSecondAlbum) {
    AddAlbum(QStringLiteral("t"));
    AddAlbum(QStringLiteral("u"));
    naming().picPrefix = QStringLiteral("?9_");
    naming().picSuffix = QStringLiteral("?2");
    Add(QStringLiteral("same"), 1);
    Add(QStringLiteral("same"), 1);
    EXPECT_EQ(Names(), (QStringList{u"0002_same1.jpg"_s, u"0002_same2.jpg"_s}));
}

TEST_F(AddPictureTest, NumberedNamesMadeEqualByReplacementStillDiffer) {
    AddAlbum(QStringLiteral("t"));
    naming().picNameSource = 1;
    naming().replaceFrom = QStringLiteral("1|2");
    naming().replaceTo = QStringLiteral("n|n");
    Add(QString());
    Add(QString());
    EXPECT_EQ(Names(), (QStringList{u"n.jpg"_s, u"n(1).jpg"_s}));
}

TEST_F(AddPictureTest, ReplacementListAppliesToTheBuiltName) {
    AddAlbum(QStringLiteral("t"));
    naming().replaceFrom = QStringLiteral("a|b");
    naming().replaceTo = QStringLiteral("1|/");
    Add(QStringLiteral("abc"));
    EXPECT_EQ(Names(), QStringList{u"1c.jpg"_s});
}

TEST_F(AddPictureTest, NameCleanedToNothingFallsBackToTheTime) {
    AddAlbum(QStringLiteral("t"));
    naming().picNameSource = 2;
    Add(QString(), 0, QStringLiteral("http://h.cn/dir/"));
    ASSERT_EQ(g_pictureQueue().Count(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^20\\d{12}\\.jpg$"))
                    .match(g_pictureQueue().Row(0).fileName)
                    .hasMatch())
        << g_pictureQueue().Row(0).fileName.toStdString();
}

TEST_F(AddPictureTest, AlbumFolderTakesPrefixSuffixAndItsEscapes) {
    AddAlbum(QStringLiteral("a"));
    AddAlbum(QStringLiteral("旅行"));
    naming().albumPrefix = QStringLiteral("?9-?3-?4 ");
    naming().albumSuffix = QStringLiteral(" ?1?2?7");
    Add(QStringLiteral("p"), 1);
    EXPECT_EQ(g_pictureQueue().folder,
              saveDir() + QStringLiteral("0002-2-1 旅行 旅行27") + QDir::separator());
    EXPECT_TRUE(QDir(g_pictureQueue().folder).exists());
}

TEST_F(AddPictureTest, TitlesDifferingPastTheNameLimitGetTwoFolders) {
    // 100 characters of 3 bytes: the difference lies past the 255 bytes a name keeps.
    const QString common(100, QChar(0x76F8));
    AddAlbum(common + QStringLiteral("甲"));
    AddAlbum(common + QStringLiteral("乙"));
    QStringList folders;
    for (const int album : {0, 1, 0}) {
        g_pictureQueue().Clear();
        g_pictureQueue().folder = saveDir();
        Add(QStringLiteral("p"), album);
        folders << g_pictureQueue().folder;
    }
    EXPECT_NE(folders[0], folders[1]);
    EXPECT_TRUE(folders[1].endsWith(QStringLiteral(" (2)") + QDir::separator()));
    EXPECT_EQ(folders[2], folders[0]) << "an album keeps its own folder";
    EXPECT_LE(NameSize(QDir(folders[1]).dirName()), kMaxNameSize);
}

TEST_F(AddPictureTest, NoAlbumFolderWritesIntoTheSaveRoot) {
    AddAlbum(QStringLiteral("t"));
    naming().albumFolder = 1;
    Add(QStringLiteral("p"));
    EXPECT_EQ(g_pictureQueue().folder, saveDir());
}

TEST_F(AddPictureTest, MarkerEndsTheAlbumAtThePictureDownloadedBefore) {
    AddAlbum(QStringLiteral("相册"));
    naming().options = kOptionSkipDownloaded;
    const QString folder = saveDir() + QStringLiteral("相册") + QDir::separator();
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile marker(folder + QStringLiteral("pic.kel"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write(TextToGbk(QStringLiteral("http://h.cn/旧/3.jpg")));
    marker.close();

    state.m_downState = DownState::Running;
    for (int i = 1; i <= 5; ++i) {  // pictures after the marker are ignored
        Add(QStringLiteral("p"), 0, QStringLiteral("http://h.cn/旧/%1.jpg").arg(i));
    }
    EXPECT_EQ(state.m_marker, QStringLiteral("http://h.cn/旧/3.jpg"));
    EXPECT_EQ(state.m_downState, DownState::AlbumDone);
    EXPECT_EQ(g_pictureQueue().Count(), 2);
}

TEST_F(AddPictureTest, MarkerIsIgnoredWithoutTheOption) {
    AddAlbum(QStringLiteral("t"));
    const QString folder = saveDir() + QStringLiteral("t") + QDir::separator();
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile marker(folder + QStringLiteral("pic.kel"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("http://h/1.jpg");
    marker.close();
    Add(QStringLiteral("p"), 0, QStringLiteral("http://h/1.jpg"));
    EXPECT_EQ(g_pictureQueue().Count(), 1);
    EXPECT_NE(state.m_downState, DownState::AlbumDone);
}

TEST_F(AddPictureTest, DescriptionFileIsUtf16WithOneLinePerPicture) {
    AddAlbum(QStringLiteral("t"));
    naming().options = kOptionNameFile;
    Add(QStringLiteral("一"));
    Add(QStringLiteral("b"));
    QFile file(g_pictureQueue().folder + QStringLiteral("t.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xFF\xFE\x00\x4E\r\0\n\0b\0\r\0\n\0", 14));
}

TEST_F(AddPictureTest, DescriptionIsNeverTakenAsAPath) {
    AddAlbum(QStringLiteral("t"));
    Add(QStringLiteral("C:\\Windows\\evil.jpg"));
    Add(QStringLiteral("/etc/cron.d/evil.jpg"));
    EXPECT_EQ(Names(), (QStringList{u"CWindowsevil.jpg"_s, u"etccron.devil.jpg"_s}));
}

TEST_F(AddPictureTest, CompletePathOnlyThroughTheExplicitCall) {
    AddAlbum(QStringLiteral("t"));
    Add(QStringLiteral("p"));
    const QString path = root() + QStringLiteral("/elsewhere/x.jpg");
    EXPECT_TRUE(AddPictureAtPath(state, QStringLiteral("//h/x.jpg"), path, QString()));
    EXPECT_FALSE(AddPictureAtPath(state, QStringLiteral("http://h/y"), u"rel/x.jpg"_s, {}));
    EXPECT_FALSE(
        AddPictureAtPath(state, QStringLiteral("http://h/y"), root() + u"/a/../../x.jpg"_s, {}));
    ASSERT_EQ(g_pictureQueue().Count(), 2);
    EXPECT_EQ(g_pictureQueue().Row(1).address, QStringLiteral("http://h/x.jpg"));
    EXPECT_EQ(PictureTargetPath(g_pictureQueue().folder, g_pictureQueue().Row(1).fileName), path);
    EXPECT_EQ(PictureTargetPath(g_pictureQueue().folder, u"p.jpg"_s),
              g_pictureQueue().folder + u"p.jpg"_s);
}

TEST_F(AddPictureTest, LongChineseNamesFitAndStayUnique) {
    AddAlbum(QString(300, u'相'));
    const QString description = QString(300, u'图');
    Add(description);
    Add(description);
    const QString folder = g_pictureQueue().folder;
    const QString folderName = QDir(folder).dirName();
    EXPECT_LE(NameSize(folderName), kMaxNameSize);
    EXPECT_GT(folderName.size(), 50);  // cut, not dropped
    const QStringList names = Names();
    ASSERT_EQ(names.size(), 2);
    EXPECT_NE(names[0], names[1]);
    EXPECT_TRUE(names[1].endsWith(u"(1).jpg"_s)) << names[1].toStdString();
    for (const QString& name : names) {
        EXPECT_LE(NameSize(name), kMaxNameSize);
        EXPECT_LE(NameSize(folder + name), kMaxPathSize);
        QFile file(folder + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    }
}

// Hostile titles and descriptions: every file lands inside the save root under a name the
// file system accepts (the file is really created).
struct HostileCase {
    const char* label;
    QString text;
};

class HostileNames : public AddPictureTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileNames, LandInsideTheSaveRoot) {
    AddAlbum(GetParam().text);
    naming().options = kOptionNameFile;
    Add(GetParam().text);
    Add(GetParam().text);
    ASSERT_EQ(g_pictureQueue().Count(), 2);
    const QString root = QDir(saveDir()).canonicalPath() + u'/';
    const QString folder = g_pictureQueue().folder;
    ASSERT_TRUE(QDir(folder).exists()) << folder.toStdString();
    EXPECT_TRUE(QDir(folder).canonicalPath().append(u'/').startsWith(root));
    EXPECT_LE(NameSize(QDir(folder).dirName()), kMaxNameSize);
    EXPECT_NE(Names()[0], Names()[1]);
    for (const QString& name : Names()) {
        EXPECT_FALSE(name.contains(u'/') || name.contains(u'\\') || name.contains(u':'));
        EXPECT_FALSE(name.startsWith(u'.'));
        EXPECT_LE(NameSize(name), kMaxNameSize);
        const QString target = PictureTargetPath(folder, name);
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << target.toStdString();
        file.close();
        EXPECT_TRUE(QFileInfo(target).canonicalFilePath().startsWith(root)) << target.toStdString();
    }
    // Nothing else appeared beside the save root.
    EXPECT_EQ(QDir(this->root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{u"data"_s, u"home"_s, u"save"_s}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileNames,
    ::testing::Values(
        HostileCase{"Traversal", u"../../escape"_s},
        HostileCase{"BackslashTraversal", u"..\\..\\escape"_s},
        HostileCase{"Absolute", u"/tmp/escape"_s}, HostileCase{"DrivePath", u"C:\\escape.jpg"_s},
        HostileCase{"DriveRelative", u"C:escape"_s},
        HostileCase{"UncPath", u"\\\\server\\share\\x"_s},
        HostileCase{"Reserved", u"a<b>c:d\"e|f?g*h"_s}, HostileCase{"OnlyDots", u".."_s},
        HostileCase{"Dot", u"."_s}, HostileCase{"DevicName", u"CON"_s},
        HostileCase{"EntityTraversal", u"&#46;&#46;&#47;x"_s},
        HostileCase{"Long", QString(2000, u'a')}, HostileCase{"LongChinese", QString(300, u'图')},
        HostileCase{"LongAstral", QStringLiteral("😀").repeated(150).append(u"..")},
        HostileCase{"Controls", u"a\x01\x1f\x7f\nb\tc"_s}, HostileCase{"Blank", u"   "_s}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace mosaiq
