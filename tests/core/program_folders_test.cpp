#include "core/program_folders.h"

#include "core/job_state.h"
#include "core/settings_record.h"

#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace mosaiq::test {
namespace {

using ProgramFoldersTest = Sandbox;

// Started from a desktop, the program used to put soft.dat in the home folder and thumbnails
// in ~/tmp/, and proposed the home folder itself as the save folder.
TEST_F(ProgramFoldersTest, TheUsersFoldersUnlessAnOptionOrAnOldSettingsFileSaysOtherwise) {
    const QString working = root() + QStringLiteral("/working");
    ASSERT_TRUE(QDir().mkpath(working));
    const QString pictures = homeDir("Pictures") + QStringLiteral("/Mosaiq/");

    const ProgramFolders user = ResolveProgramFolders(QString(), working);
    EXPECT_EQ(user.config, homeDir("config") + QStringLiteral("/Mosaiq/"));
    EXPECT_EQ(user.data, homeDir("data") + QStringLiteral("/Mosaiq/"));
    EXPECT_EQ(user.cache, homeDir("cache") + QStringLiteral("/Mosaiq/"));
    EXPECT_EQ(user.savePath, pictures);
    EXPECT_TRUE(user.notice.isEmpty());
    EXPECT_TRUE(QFileInfo(user.config).isDir());
    EXPECT_FALSE(QFileInfo::exists(pictures));  // made by the first download into it
    JobState state;
    UseProgramFolders(state, user);
    LoadSettings(state.m_settings, ConfigFolder(state));
    EXPECT_TRUE(QFileInfo::exists(user.config + QStringLiteral("soft.dat")));
    EXPECT_TRUE(QDir(working).isEmpty());

    // A settings file carried over into the working directory keeps being used, and said.
    QFile old(working + QStringLiteral("/soft.dat"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    const ProgramFolders carried = ResolveProgramFolders(QString(), working);
    EXPECT_EQ(carried.config, working + QDir::separator());
    EXPECT_EQ(carried.data, user.data);
    EXPECT_TRUE(carried.notice.contains(QDir::toNativeSeparators(working + "/soft.dat")))
        << carried.notice.toStdString();

    // --data-dir: everything in one folder, as a portable copy has it.
    const ProgramFolders portable = ResolveProgramFolders(dataDir(), working);
    for (const QString& folder : {portable.config, portable.data, portable.cache}) {
        EXPECT_EQ(folder, dataDir());
    }
    EXPECT_EQ(portable.savePath, pictures);
    EXPECT_TRUE(portable.notice.isEmpty());
}

}  // namespace
}  // namespace mosaiq::test
