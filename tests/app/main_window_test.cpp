#include "app/album_table_model.h"
#include "app/album_table_view.h"
#include "app/combo_box2.h"
#include "app/dlg_find.h"
#include "app/gui_application.h"
#include "app/start_up_paths.h"
#include "core/album_sink.h"
#include "core/picture_queue.h"
#include "core/settings_record.h"
#include "core/site_type.h"
#include "support/fixture_site.h"
#include "web/cookie_hook.h"
#include "web/cookie_store.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace mosaiq::test {
namespace {

using MainWindow = WindowTest;

TEST_F(MainWindow, SubTypeBoxShowsOnlyForTheQqFamilyAndTheInputMovesBesideIt) {
    window->show();
    const CMosaiqDlg::Controls& c = window->controls();
    Settle();
    ASSERT_TRUE(c.subType->isVisible());
    EXPECT_EQ(c.subType->count(), 3);
    const int inputBesideSubType = c.input->x();
    EXPECT_GT(inputBesideSubType, c.subType->x() + c.subType->width());
    const int subTypeLeft = c.subType->x();

    c.siteType->setCurrentIndex(4);
    Settle();
    EXPECT_FALSE(c.subType->isVisible());
    EXPECT_EQ(c.input->x(), subTypeLeft);
    EXPECT_EQ(window->SubTypeSelection(), -1);

    // Typing a QQ group address brings the box back with the group entry.
    c.input->setEditText(QStringLiteral("https://qun.qzone.qq.com/group#!/87654321/photo"));
    emit c.input->TextChangedByUser(c.input->currentText());
    Settle();
    EXPECT_EQ(c.siteType->currentIndex(), 0);
    EXPECT_TRUE(c.subType->isVisible());
    EXPECT_EQ(window->SubTypeSelection(), 1);
    EXPECT_EQ(c.input->x(), inputBesideSubType);
}

TEST_F(MainWindow, StartUpPutsAnAddressFromTheClipboardIntoTheInputAndRecognisesIt) {
    CMosaiqDlg fresh;
    QApplication::clipboard()->setText(QStringLiteral("  https://weibo.com/123456789  "));
    if (QApplication::clipboard()->text().isEmpty()) {
        GTEST_SKIP() << "this platform plugin keeps no clipboard";
    }
    fresh.LoadStartUpState(dataDir(), dataDir());
    fresh.FinishStartUp();
    EXPECT_EQ(fresh.controls().input->currentText(), QStringLiteral("https://weibo.com/123456789"));
    EXPECT_EQ(fresh.controls().siteType->currentIndex(), 4);
    EXPECT_EQ(fresh.state().m_ready.load(), 1);
}

// The window used to keep soft.dat and thumbnails in the working directory, propose it as
// the save folder and show "state1"/"state2" in its status lines.
TEST_F(MainWindow, StartUpUsesTheUsersFoldersAndSaysWhenAnOldSettingsFileIsUsed) {
    const QString working = root() + QStringLiteral("/working/");
    ASSERT_TRUE(QDir().mkpath(working));
    CMosaiqDlg fresh;
    fresh.LoadStartUpState(working);
    EXPECT_EQ(fresh.state().m_configDir, homeDir("config") + QStringLiteral("/Mosaiq/"));
    EXPECT_EQ(fresh.state().m_cacheDir, homeDir("cache") + QStringLiteral("/Mosaiq/"));
    EXPECT_EQ(fresh.controls().savePath->currentText(),
              homeDir("Pictures") + QStringLiteral("/Mosaiq/"));
    EXPECT_TRUE(fresh.controls().status1->text().isEmpty());
    EXPECT_TRUE(fresh.controls().status2->text().isEmpty());
    EXPECT_TRUE(QDir(working).isEmpty());

    QFile::copy(fresh.state().m_configDir + QStringLiteral("soft.dat"),
                working + QStringLiteral("soft.dat"));
    CMosaiqDlg carried;
    carried.LoadStartUpState(working);
    EXPECT_EQ(carried.state().m_configDir, working);
    EXPECT_TRUE(carried.controls().status1->text().contains(QStringLiteral("soft.dat")));
}

// A copied password used to land in the input box, and in its history once listed.
TEST(StartUpPaths, ClipboardRuleTakesOnlyAccountsAndAddresses) {
    const QString longAddress = QStringLiteral("https://a.cn/") + QString(186, u'a');
    struct Case {
        QString clipboard;
        QString input;
    };
    const Case cases[] = {
        {QStringLiteral(" 12345 "), QStringLiteral("12345")},
        {QStringLiteral("https://weibo.com/u/1"), QStringLiteral("https://weibo.com/u/1")},
        {QStringLiteral("www.douban.com/people/x/"), QStringLiteral("www.douban.com/people/x/")},
        {longAddress, longAddress},  // 199 characters
        {longAddress + u'a', QString()},
        {QStringLiteral("hunter2!Secret"), QString()},
        {QStringLiteral("correct horse battery"), QString()},
        {QStringLiteral("https://a.cn/x y"), QString()},
        {QString(), QString()},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(ClipboardInput(k.clipboard), k.input) << k.clipboard.toStdString();
    }
}

TEST_F(MainWindow, DroppingAFileOrAFolderSetsTheSavePathAndItsHistory) {
    QDir(saveDir()).mkpath(QStringLiteral("album.2024"));
    QFile picture(saveDir() + QStringLiteral("photo.jpg"));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.close();
    const CMosaiqDlg::Controls& c = window->controls();

    window->DropPaths({picture.fileName(), QStringLiteral("/ignored")});
    EXPECT_EQ(c.savePath->currentText(), saveDir());
    // A folder with a dot in its name is still a folder.
    window->DropPaths({saveDir() + QStringLiteral("album.2024")});
    EXPECT_EQ(c.savePath->currentText(), saveDir() + QStringLiteral("album.2024/"));
    window->DropPaths({saveDir()});
    // A file without a dot is still a file: its folder is taken, not the file's own path.
    QDir(saveDir()).mkpath(QStringLiteral("sub"));
    QFile readme(saveDir() + QStringLiteral("sub/README"));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    window->DropPaths({readme.fileName()});
    EXPECT_EQ(c.savePath->currentText(), saveDir() + QStringLiteral("sub/"));

    EXPECT_EQ(c.savePath->Entries(),
              QStringList({saveDir(), saveDir() + QStringLiteral("album.2024/"),
                           saveDir() + QStringLiteral("sub/")}));
    QFile file(dataDir() + QStringLiteral("soft.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(ParseSettings(file.readAll()).savePathHistory[0], saveDir() + QStringLiteral("sub/"));
}

TEST_F(MainWindow, FolderPickerCancelledChangesNothing) {
    const QString before = window->controls().savePath->currentText();
    window->OnPickFolder();
    EXPECT_EQ(window->controls().savePath->currentText(), before);
    prompter->folderName = saveDir();
    window->OnPickFolder();
    EXPECT_EQ(window->controls().savePath->currentText(), saveDir());
}

// Records the folders the window hands to the system file browser.
class OpenedUrls : public QObject {
    Q_OBJECT

  public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList paths;

  public slots:
    void Open(const QUrl& url) { paths << url.toLocalFile(); }
};

TEST_F(MainWindow, OpenFolderShowsTheAlbumFolderOnlyWhileWorkersRun) {
    OpenedUrls opened;
    window->controls().savePath->setEditText(saveDir());
    g_pictureQueue().folder = saveDir() + QStringLiteral("album/");
    // A download job between two albums: its workers have stopped, the folder is changing.
    window->state().m_downState = DownState::Running;
    window->OnOpenFolder();
    g_workersRunning = 1;
    window->OnOpenFolder();
    g_workersRunning = 0;
    window->state().m_downState = DownState::Idle;
    g_pictureQueue().folder.clear();
    EXPECT_EQ(opened.paths, QStringList({saveDir(), saveDir() + QStringLiteral("album/")}));
}

struct MenuCase {
    int listType;
    bool shopEnabled;
    bool yupooEnabled;
};

class SettingsMenu : public WindowTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(SettingsMenu, ChecksTheCurrentSitesBitsAndEnablesItsOwnItems) {
    const MenuCase& m = GetParam();
    window->controls().siteType->setCurrentIndex(m.listType);
    NamingOf(window->state().m_settings, m.listType).options =
        kOptionFixOrder | kOptionShopMainOnly;
    window->SettingsMenu()->aboutToShow();
    EXPECT_TRUE(window->MenuAction(CMosaiqDlg::kFixOrder)->isChecked());
    EXPECT_TRUE(window->MenuAction(CMosaiqDlg::kShopMainOnly)->isChecked());
    EXPECT_FALSE(window->MenuAction(CMosaiqDlg::kFixFormat)->isChecked());
    EXPECT_FALSE(window->MenuAction(CMosaiqDlg::kThunderOnly)->isChecked());
    EXPECT_EQ(window->MenuAction(CMosaiqDlg::kShopMainOnly)->isEnabled(), m.shopEnabled);
    EXPECT_EQ(window->MenuAction(CMosaiqDlg::kShopDescOnly)->isEnabled(), m.shopEnabled);
    EXPECT_EQ(window->MenuAction(CMosaiqDlg::kYupooBig)->isEnabled(), m.yupooEnabled);
    EXPECT_TRUE(window->MenuAction(CMosaiqDlg::kLoginMode1)->isChecked());
    // The download-list popup is greyed as a whole.
    EXPECT_FALSE(qobject_cast<QMenu*>(window->MenuAction(CMosaiqDlg::kImportDownloadFile)->parent())
                     ->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Types, SettingsMenu,
                         ::testing::Values(MenuCase{0, false, false}, MenuCase{7, false, true},
                                           MenuCase{11, true, false}, MenuCase{16, true, false},
                                           MenuCase{20, false, false}));

TEST_F(MainWindow, OptionItemsToggleTheCurrentSiteOnlyAndSave) {
    window->controls().siteType->setCurrentIndex(11);
    SettingsRecord& settings = window->state().m_settings;
    const uint16_t otherBefore = NamingOf(settings, SiteTypeValue(SiteType::Moko)).options;
    window->MenuAction(CMosaiqDlg::kShopDescOnly)->trigger();
    window->MenuAction(CMosaiqDlg::kShopMainOnly)->trigger();
    EXPECT_TRUE(NamingOf(settings, SiteTypeValue(SiteType::Shops)).options & kOptionShopMainOnly);
    EXPECT_FALSE(NamingOf(settings, SiteTypeValue(SiteType::Shops)).options & kOptionShopDescOnly);
    EXPECT_EQ(NamingOf(settings, SiteTypeValue(SiteType::Moko)).options, otherBefore);
    QFile file(dataDir() + QStringLiteral("soft.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(NamingOf(ParseSettings(file.readAll()), SiteTypeValue(SiteType::Shops)).options,
              NamingOf(settings, SiteTypeValue(SiteType::Shops)).options);
}

TEST_F(MainWindow, JobsBusyAndIdleDisplayFromAWorkerThread) {
    const CMosaiqDlg::Controls& c = window->controls();
    std::thread worker([&] {
        window->SetListBusy(true);
        window->SetStatusText(StatusLine::Main, QStringLiteral("正在获取相册列表，请稍等..."));
    });
    while (c.getList->text() != QStringLiteral("终止获取")) {
        Settle();
    }
    worker.join();
    Settle();
    EXPECT_FALSE(c.siteType->isEnabled());
    EXPECT_FALSE(c.download->isEnabled());
    EXPECT_FALSE(c.input->isEnabled());
    EXPECT_FALSE(c.preview->isEnabled());
    EXPECT_FALSE(c.findLink->isEnabled());
    EXPECT_FALSE(c.exportLink->isEnabled());
    EXPECT_TRUE(c.notice->isHidden());
    EXPECT_EQ(c.status1->text(), QStringLiteral("正在获取相册列表，请稍等..."));

    window->SetListBusy(false);
    EXPECT_EQ(c.getList->text(), QStringLiteral("获取相册"));
    EXPECT_TRUE(c.download->isEnabled());
    EXPECT_TRUE(c.filterLink->isEnabled());
    EXPECT_TRUE(c.siteType->isEnabled());

    window->SetDownloadBusy(true);
    EXPECT_EQ(c.download->text(), QStringLiteral("终止下载"));
    EXPECT_TRUE(c.download->isEnabled());
    EXPECT_FALSE(c.getList->isEnabled());
    EXPECT_FALSE(c.pickFolder->isEnabled());
    EXPECT_FALSE(c.savePath->isEnabled());
    window->SetDownloadBusy(false);
    EXPECT_EQ(c.download->text(), QStringLiteral("下载"));
    EXPECT_TRUE(c.getList->isEnabled());
}

TEST_F(MainWindow, AWorkersQuestionWaitsForTheAnswerOnTheUiThread) {
    prompter->answers = {true};
    bool answer = false;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        answer = window->AskYesNo(QStringLiteral("继续?"), QStringLiteral("提示"));
        done = true;
    });
    while (!done) {
        Settle();
    }
    worker.join();
    EXPECT_TRUE(answer);
    EXPECT_EQ(prompter->questions, QStringList{QStringLiteral("继续?")});
}

TEST_F(MainWindow, FiftyThousandAlbumsLoadWhileTheWindowKeepsAnswering) {
    constexpr int kAlbums = 50000;
    std::atomic<bool> done{false};
    std::atomic<int> answeredWhileLoading{0};
    std::thread adapter([&] {
        for (int i = 0; i < kAlbums; ++i) {
            ST_PERLISTRECORD record;
            record.title = QStringLiteral("album %1").arg(i);
            AppendAndShow(window->state(), record);
            if (i % 5000 == 0) {
                // A question to the window is answered while rows keep coming.
                window->InputText();
                ++answeredWhileLoading;
            }
        }
        done = true;
    });
    while (!done) {
        Settle();
    }
    adapter.join();
    Settle();
    EXPECT_EQ(window->albumModel()->rowCount(), kAlbums);
    EXPECT_EQ(answeredWhileLoading.load(), kAlbums / 5000);
    EXPECT_EQ(window->albumModel()->index(kAlbums - 1, 0).data().toString(),
              QStringLiteral("50000"));
}

// Closing hid the window and waited for the job, but a hidden window's close never ended the
// event loop: the program stayed behind, invisible.
TEST_F(MainWindow, ClosingDuringAJobStopsItAndEndsTheProgram) {
    g_fixtureSite() = FixtureSite{};
    g_fixtureSite().albums.push_back({FixtureRecord(QStringLiteral("A")), {}});
    std::atomic<bool> listing{false}, stopSeen{false};
    g_fixtureSite().afterAlbum = [&listing, &stopSeen](JobState& state, int) {
        listing = true;
        for (int i = 0; i < 2000 && !ListStopRequested(state); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        stopSeen = ListStopRequested(state);
    };
    window->SetDispatch(FixtureDispatch());
    window->controls().siteType->setCurrentIndex(0);
    window->controls().input->setEditText(QStringLiteral("12345"));
    window->show();
    window->OnGetList();
    ASSERT_TRUE(ProcessEventsUntil([&] { return listing.load(); }));

    QTimer::singleShot(0, window.get(), [this] { window->close(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(20000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(stopSeen.load());
    EXPECT_EQ(window->state().m_listState.load(), ListState::Idle);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, EnterInTheInputBoxListsAlbums) {
    g_fixtureSite() = FixtureSite{};
    g_fixtureSite().albums.push_back({FixtureRecord(QStringLiteral("A")), {}});
    window->SetDispatch(FixtureDispatch());
    const CMosaiqDlg::Controls& c = window->controls();
    c.siteType->setCurrentIndex(0);
    c.input->setEditText(QStringLiteral("12345"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(c.input->lineEdit(), &enter);
    ASSERT_TRUE(ProcessEventsUntil([&] {
        return g_fixtureSite().listCalls == 1 &&
               window->state().m_listState.load() == ListState::Idle;
    }));
    Settle();
    EXPECT_EQ(window->albumModel()->rowCount(), 1);
}

TEST_F(MainWindow, DialogsOpenWhereTheUserIs) {
    // The folder picker starts at the save path, or the nearest folder of it that exists.
    window->controls().savePath->setEditText(saveDir() + QStringLiteral("not/made/yet/"));
    window->OnPickFolder();
    window->controls().savePath->setEditText(saveDir());
    window->OnPickFolder();
    EXPECT_EQ(prompter->folderStarts,
              QStringList({QDir(saveDir()).absolutePath(), QDir(saveDir()).absolutePath()}));

    // The filter dialog takes typing at once.
    QString focused;
    prompter->onDialog = [&focused](QDialog& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        auto* find = qobject_cast<CDlgFind*>(&dialog);
        focused = find != nullptr && dialog.focusWidget() == find->keywordEdit()
                      ? QStringLiteral("keyword")
                      : QStringLiteral("other");
        return int(QDialog::Rejected);
    };
    window->OnFilter();
    EXPECT_EQ(focused, QStringLiteral("keyword"));
}

TEST_F(MainWindow, DisabledLinksLookDisabledAndLongTitlesShowWhole) {
    const CMosaiqDlg::Controls& c = window->controls();
    window->SetListBusy(true);
    EXPECT_FALSE(c.filterLink->text().contains(QStringLiteral("<a")));
    window->SetListBusy(false);
    EXPECT_TRUE(c.filterLink->text().contains(QStringLiteral("<a")));

    const QString title = QString(120, u'长');
    AddAlbums({title});
    const QModelIndex cell = window->albumModel()->index(0, 1);
    EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), title);
}

// The window's start-up plugs the shared cookie store into every request the jobs make.
TEST_F(MainWindow, StartUpMakesRequestsCarryTheStoredLogins) {
    SetCookieHooks({}, {});
    SharedCookieStore()->StoreSetCookie(QUrl(QStringLiteral("https://user.qzone.qq.com/")),
                                        "uin=o123; Domain=qzone.qq.com; Path=/");
    window->LoadStartUpState(dataDir(), dataDir());
    EXPECT_EQ(CookiesFor(QStringLiteral("https://user.qzone.qq.com/12345")),
              QStringLiteral("uin=o123"));
}

}  // namespace
}  // namespace mosaiq::test

#include "core/site_type.h"
#include "main_window_test.moc"
