#include "app/dlg_down_set.h"
#include "app/dlg_save_set.h"
#include "core/settings_rules.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace mosaiq::test {
namespace {

struct DownCase {
    const char* threads;
    const char* timeout;
    bool accepted;
};

class DownloadDialog : public ::testing::TestWithParam<DownCase> {};

TEST_P(DownloadDialog, StoresOnlyValidValuesAndStaysOpenOtherwise) {
    ScriptedPrompter prompter;
    DownloadSlot slot{1, 2, 5, 30};
    CDlgDownSet dialog(slot, prompter, nullptr);
    EXPECT_EQ(dialog.threadEdit()->text(), QStringLiteral("5"));
    EXPECT_EQ(dialog.timeoutEdit()->text(), QStringLiteral("30"));
    dialog.threadEdit()->setText(QString::fromUtf8(GetParam().threads));
    dialog.timeoutEdit()->setText(QString::fromUtf8(GetParam().timeout));
    dialog.minSizeEdit()->setText(QStringLiteral("7"));
    dialog.show();
    dialog.ConfirmClicked();
    if (GetParam().accepted) {
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(slot.threadCount, QString::fromUtf8(GetParam().threads).toUInt());
        EXPECT_EQ(slot.minSizeK, 7);
        EXPECT_TRUE(prompter.messages.isEmpty());
    } else {
        EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("参数错误")});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(slot.threadCount, 5);
        EXPECT_EQ(slot.minSizeK, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DownloadDialog,
                         ::testing::Values(DownCase{"15", "10", true}, DownCase{"1", "30", true},
                                           DownCase{"0", "30", false}, DownCase{"16", "30", false},
                                           DownCase{"-1", "30", false}, DownCase{"5", "9", false},
                                           DownCase{"abc", "30", false}));

TEST(NameDialog, ShowsTheEntryCutsTextsTo38AndStoresTheRadios) {
    ScriptedPrompter prompter;
    NamingEntry entry;
    entry.picPrefix = QStringLiteral("?2) ");
    entry.picNameSource = 1;
    entry.albumFolder = 0;
    CDlgSaveSet dialog(entry, prompter, nullptr);
    EXPECT_EQ(dialog.picPrefixEdit()->text(), QStringLiteral("?2) "));
    EXPECT_TRUE(dialog.nameSourceGroup()->button(1)->isChecked());
    EXPECT_TRUE(dialog.albumFolderGroup()->button(0)->isChecked());

    dialog.picPrefixEdit()->setText(QString(45, u'p'));
    dialog.albumSuffixEdit()->setText(QStringLiteral("_com"));
    dialog.replaceFromEdit()->setText(QStringLiteral("a"));
    dialog.replaceToEdit()->setText(QStringLiteral("b"));
    dialog.nameSourceGroup()->button(2)->setChecked(true);
    dialog.albumFolderGroup()->button(1)->setChecked(true);
    dialog.ConfirmClicked();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(entry.picPrefix, QString(38, u'p'));
    EXPECT_EQ(entry.albumSuffix, QStringLiteral("_com"));
    EXPECT_EQ(entry.replaceFrom, QStringLiteral("a"));
    EXPECT_EQ(entry.replaceTo, QStringLiteral("b"));
    EXPECT_EQ(entry.picNameSource, 2);
    EXPECT_EQ(entry.albumFolder, 1);

    dialog.HelpClicked();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0], NamingHelpText());
    EXPECT_TRUE(
        prompter.messages[0].startsWith(QStringLiteral("设置前后缀，可以在图片本来的文件名前后")));
}

using SettingsMenuDialogs = WindowTest;

TEST_F(SettingsMenuDialogs, OkSavesTheCurrentSitesSlotAndCancelSavesNothing) {
    window->controls().siteType->setCurrentIndex(3);
    const QString file = dataDir() + QStringLiteral("soft.dat");
    QFile::remove(file);
    window->MenuAction(CMosaiqDlg::kDownloadSettings)->trigger();
    EXPECT_FALSE(QFile::exists(file));

    prompter->onDialog = [](QDialog& dialog) {
        auto& downSet = dynamic_cast<CDlgDownSet&>(dialog);
        downSet.threadEdit()->setText(QStringLiteral("9"));
        downSet.ConfirmClicked();
        return dialog.result();
    };
    window->MenuAction(CMosaiqDlg::kDownloadSettings)->trigger();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const SettingsRecord record = ParseSettings(saved.readAll());
    EXPECT_EQ(record.downloadSlots[3].threadCount, 9);
    EXPECT_EQ(record.downloadSlots[4].threadCount, 5);
}

}  // namespace
}  // namespace mosaiq::test
