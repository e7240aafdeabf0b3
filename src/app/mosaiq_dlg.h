#pragma once

#include "app/dlg_find.h"
#include "core/frontend.h"
#include "core/job_state.h"
#include "jobs/job_thread.h"
#include "jobs/site_dispatch.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace mosaiq {

class AlbumTableModel;
class AlbumTableView;
class CComboBox2;
class LoginWindows;
class Prompter;
class SplashWindow;

// The main window. Owns the job state, the settings and the album table, and is the
// Frontend of the jobs: calls from worker threads are carried over to the UI thread.
class CMosaiqDlg : public QMainWindow, public Frontend {
    Q_OBJECT

  public:
    // Menu command identifiers.
    enum Command : int {
        kFeedback = 32772,
        kConsulting = 32773,
        kSkipDownloaded = 32774,
        kVersionInfo = 32775,
        kYupooBig = 32776,
        kDownloadSettings = 32778,
        kNameSettings = 32779,
        kLoginQq = 32781,
        kLoginTencentWeibo = 32782,
        kLoginBaidu = 32789,
        kLoginNetEase = 32790,
        kLoginRenren = 32791,
        kLoginYupoo = 32792,
        kLoginMoko = 32793,
        kLoginSinaWeibo = 32794,
        kLoginCustom = 32795,
        kLoginMode1 = 32796,
        kFixOrder = 32799,
        kFixFormat = 32800,
        kThunderOnly = 32802,
        kLoginTaobao = 32803,
        kNameFile = 32804,
        kManual = 32806,
        kFileTools = 32807,
        kShopMainOnly = 32808,
        kExportDownloadFile = 32809,
        kExportThunderList = 32810,
        kImportDownloadFile = 32811,
        kOpenFolderAfter = 32812,
        kLogin56 = 32813,
        kShopDescOnly = 32814,
        kLoginHupu = 32815,
    };

    // The controls of dialog 102 by their role.
    struct Controls {
        QComboBox* siteType = nullptr;      // 1002
        QComboBox* subType = nullptr;       // 1035
        CComboBox2* input = nullptr;        // 1001
        QPushButton* getList = nullptr;     // 1004
        QPushButton* download = nullptr;    // 1005
        CComboBox2* savePath = nullptr;     // 1000
        QPushButton* pickFolder = nullptr;  // 1007
        QPushButton* openFolder = nullptr;  // 1008
        QGroupBox* albumGroup = nullptr;    // 1011
        AlbumTableView* table = nullptr;    // 1003
        QCheckBox* selectAll = nullptr;     // 1012
        QCheckBox* preview = nullptr;       // 1014
        QLabel* findLink = nullptr;         // 1034
        QLabel* filterLink = nullptr;       // 1036
        QLabel* exportLink = nullptr;       // 1037
        QLabel* status1 = nullptr;          // 1009
        QLabel* status2 = nullptr;          // 1006
        QLabel* notice = nullptr;           // 1013
        QLabel* homeLink = nullptr;         // 1032
    };

    explicit CMosaiqDlg(QWidget* parent = nullptr);
    ~CMosaiqDlg() override;

    JobState& state() { return m_state; }
    const Controls& controls() const { return m_controls; }
    AlbumTableModel* albumModel() const { return m_model; }
    CDlgFind* findDialog() const { return m_findDlg; }
    QAction* MenuAction(int command) const { return m_actions.value(command); }
    QMenu* SettingsMenu() const { return m_settingsMenu; }
    // Questions, pickers and modal dialogs go through this; tests give their own.
    void SetPrompter(std::unique_ptr<Prompter> prompter);
    // The sites the jobs reach: the site table unless tests give their own.
    void SetDispatch(const SiteDispatch& dispatch) { m_dispatch = dispatch; }
    Prompter& prompter() { return *m_prompter; }

    // Start-up: clipboard, the program's folders (all in `dataDirOption` when given, see
    // ResolveProgramFolders), save path and settings.
    void LoadStartUpState(const QString& workingDir, const QString& dataDirOption = QString());
    // Shows the splash, then finishes start-up and shows the window.
    void StartWithSplash();
    // Fills the site-type box, recognises the input and lets jobs start.
    void FinishStartUp();

    // Command handlers.
    void OnGetList();
    void OnDownload();
    void OnPickFolder();
    void OnOpenFolder();
    void DropPaths(const QStringList& paths);
    void OnSelectAll(bool checked);
    void OnFind();
    void OnFilter();
    // The filter's rebuild: only titles containing `keyword` (all for an empty one).
    void ApplyFilter(const QString& keyword);
    void OnExport();
    void OnPreviewClicked(bool checked);
    void OnInputChanged(const QString& text);
    void OnSiteTypeChanged();
    void UpdateSettingsMenu();
    // The address the "QQ空间/QQ群" login item opens, from the input and sub-type boxes.
    QString QqLoginMenuAddress() const;

    // Shows the rows that AlbumAdded queued; the UI thread calls it by itself soon after.
    void FlushPendingAlbums();
    // True while the thumbnail loader runs.
    bool LoaderRunning() const { return m_state.m_thumbState.load() != 0; }

    // Frontend
    void SetStatusText(StatusLine line, const QString& text) override;
    void ShowMessage(const QString& text, const QString& caption) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    bool OpenLoginWindow(const QString& address, int autoCloseSeconds) override;
    QString InputText() override;
    QString SavePathText() override;
    int SiteTypeSelection() override;
    int SubTypeSelection() override;
    void ResetAlbumTable() override;
    void AlbumAdded(int index) override;
    void ThumbnailReady(int index, const QString& imageFile, uint64_t listing) override;
    void SetAlbumGroupText(const QString& text) override;
    std::vector<int> SelectedAlbums() override;
    void SelectAllAlbums() override;
    void SetListBusy(bool busy) override;
    void SetDownloadBusy(bool busy) override;
    void InputHistoryAdded(const QString& text) override;
    QString ClipboardText() override;
    bool IsCtrlDown() override;
    void OpenFolder(const QString& path) override;
    void OpenWebPage(const QString& address) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildControls();
    void BuildMenu();
    void AddOptionItem(QMenu* menu, int command, const QString& caption, uint16_t bit);
    void AddLoginItem(QMenu* menu, int command, const QString& caption, const QString& address);
    void OpenManual(const QString& anchor);
    void ShowAbout();
    void RememberSavePath(const QString& folder);
    void RefreshSubType();
    void StartThumbnailLoader();
    void SetLinksEnabled(bool enabled);
    bool JobsRunning() const;

    JobState m_state;
    Controls m_controls;
    AlbumTableModel* m_model = nullptr;
    QPointer<CDlgFind> m_findDlg;
    QMenu* m_settingsMenu = nullptr;
    QHash<int, QAction*> m_actions;
    std::unique_ptr<Prompter> m_prompter;
    LoginWindows* m_logins = nullptr;

    SiteDispatch m_dispatch = SiteTableDispatch();
    JobThread m_listJob;
    JobThread m_downloadJob;
    std::thread m_loader;
    bool m_closing = false;

    std::mutex m_pendingMutex;
    std::vector<int> m_pendingAlbums;
    bool m_flushPosted = false;
};

}  // namespace mosaiq
