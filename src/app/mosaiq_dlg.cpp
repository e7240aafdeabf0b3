#include "app/mosaiq_dlg.h"
// login_window.h needs the complete window class.
#include "app/dlg_web_open.h"
#include "app/login_window.h"

#include "app/album_table_model.h"
#include "app/album_table_view.h"
#include "app/app_icon.h"
#include "app/combo_box2.h"
#include "app/dlg_find.h"
#include "app/prompter.h"
#include "app/splash_window.h"
#include "app/start_up_paths.h"
#include "core/folder_path.h"
#include "core/picture_queue.h"
#include "core/program_folders.h"
#include "core/settings_record.h"
#include "core/version.h"
#include "jobs/download_job.h"
#include "jobs/list_job.h"
#include "sites/recognition.h"
#include "sites/site_types.h"
#include "web/cookie_store.h"
#include "web/shared_cookie_hooks.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace mosaiq {
namespace {

// A link drawn as a link only while enabled: a disabled rich-text link keeps its link colour.
class LinkLabel : public QLabel {
  public:
    LinkLabel(const QString& caption, QWidget* parent) : QLabel(parent), m_caption(caption) {
        setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        Show();
    }

  protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::EnabledChange) {
            Show();
        }
        QLabel::changeEvent(event);
    }

  private:
    void Show() {
        if (isEnabled()) {
            setText(QStringLiteral("<a href=\"#\">%1</a>").arg(m_caption.toHtmlEscaped()));
        } else {
            setText(m_caption);
        }
    }
    QString m_caption;
};

QLabel* MakeLink(const QString& caption, QWidget* parent) {
    return new LinkLabel(caption, parent);
}

}  // namespace

CMosaiqDlg::CMosaiqDlg(QWidget* parent) : QMainWindow(parent), m_prompter(new Prompter) {
    setWindowTitle(QString::fromLatin1(kProgramName));
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    m_state.frontend = this;
    m_state.m_loginMode1 = 1;
    g_pictureQueue().progressWindow = this;
    g_pictureQueue().progressControl = int32_t(StatusLine::Progress);
    m_logins = new LoginWindows(this, m_state);
    m_logins->SetTell(
        [this](const QString& text) { m_prompter->Message(this, text, QStringLiteral("提示")); });
    BuildControls();
    BuildMenu();
    resize(860, 600);
}

CMosaiqDlg::~CMosaiqDlg() {
    m_state.m_thumbState = m_state.m_thumbState.load() != 0 ? 2 : 0;
    if (m_loader.joinable()) {
        m_loader.join();
    }
    // Cover threads call this window; they end before it does.
    m_state.m_covers.Close();
    if (g_pictureQueue().progressWindow == this) {
        g_pictureQueue().progressWindow = nullptr;
    }
}

void CMosaiqDlg::SetPrompter(std::unique_ptr<Prompter> prompter) {
    m_prompter = std::move(prompter);
}

void CMosaiqDlg::BuildControls() {
    auto* central = new QWidget(this);
    Controls& c = m_controls;
    c.siteType = new QComboBox(central);
    c.siteType->setMinimumContentsLength(16);
    c.subType = new QComboBox(central);
    c.subType->setMinimumContentsLength(8);
    c.input = new CComboBox2(central);
    c.input->setMinimumWidth(220);
    c.input->setToolTip(QStringLiteral("QQ号码、用户名或相册地址"));
    c.getList = new QPushButton(QStringLiteral("获取相册"), central);
    c.download = new QPushButton(QStringLiteral("下载"), central);
    c.download->setEnabled(false);
    c.savePath = new CComboBox2(central);
    c.pickFolder = new QPushButton(QStringLiteral("设置"), central);
    c.openFolder = new QPushButton(QStringLiteral("打开"), central);
    c.albumGroup = new QGroupBox(QStringLiteral("相册列表"), central);
    m_model = new AlbumTableModel(m_state, this);
    c.table = new AlbumTableView(m_model, c.albumGroup);
    c.selectAll = new QCheckBox(QStringLiteral("全选"), c.albumGroup);
    c.preview = new QCheckBox(QStringLiteral("预览图"), c.albumGroup);
    c.findLink = MakeLink(QStringLiteral("查找"), c.albumGroup);
    c.filterLink = MakeLink(QStringLiteral("筛选"), c.albumGroup);
    c.exportLink = MakeLink(QStringLiteral("导出"), c.albumGroup);
    c.status1 = new QLabel(central);
    c.status2 = new QLabel(central);
    c.notice = new QLabel(
        QStringLiteral("提示：先选择网站类型，输入QQ号码、用户名或相册地址，点击“获取相册”；"
                       "勾选要下载的相册后点击“下载”。"),
        central);
    c.notice->setWordWrap(true);
    c.homeLink = MakeLink(QStringLiteral("使用说明"), central);

    auto* top = new QHBoxLayout;
    top->setSpacing(3);
    top->addWidget(c.siteType);
    top->addWidget(c.subType);
    top->addWidget(c.input, 1);
    top->addWidget(c.getList);
    top->addWidget(c.download);
    auto* save = new QHBoxLayout;
    save->addWidget(new QLabel(QStringLiteral("保存路径:"), central));
    save->addWidget(c.savePath, 1);
    save->addWidget(c.pickFolder);
    save->addWidget(c.openFolder);
    auto* tools = new QHBoxLayout;
    tools->addWidget(c.selectAll);
    tools->addWidget(c.preview);
    tools->addStretch(1);
    tools->addWidget(c.findLink);
    tools->addWidget(c.filterLink);
    tools->addWidget(c.exportLink);
    auto* group = new QVBoxLayout(c.albumGroup);
    group->addWidget(c.table, 1);
    group->addLayout(tools);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(c.notice, 1);
    bottom->addWidget(c.homeLink, 0, Qt::AlignRight | Qt::AlignBottom);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addLayout(save);
    layout->addWidget(c.albumGroup, 1);
    layout->addWidget(c.status1);
    layout->addWidget(c.status2);
    layout->addLayout(bottom);
    setCentralWidget(central);

    connect(c.getList, &QPushButton::clicked, this, &CMosaiqDlg::OnGetList);
    connect(c.download, &QPushButton::clicked, this, &CMosaiqDlg::OnDownload);
    connect(c.pickFolder, &QPushButton::clicked, this, &CMosaiqDlg::OnPickFolder);
    connect(c.openFolder, &QPushButton::clicked, this, &CMosaiqDlg::OnOpenFolder);
    connect(c.selectAll, &QCheckBox::clicked, this, &CMosaiqDlg::OnSelectAll);
    connect(c.preview, &QCheckBox::clicked, this, &CMosaiqDlg::OnPreviewClicked);
    connect(c.findLink, &QLabel::linkActivated, this, &CMosaiqDlg::OnFind);
    connect(c.filterLink, &QLabel::linkActivated, this, &CMosaiqDlg::OnFilter);
    connect(c.exportLink, &QLabel::linkActivated, this, &CMosaiqDlg::OnExport);
    connect(c.homeLink, &QLabel::linkActivated, this, [this] { OpenManual(QString()); });
    connect(c.input, &CComboBox2::TextChangedByUser, this, &CMosaiqDlg::OnInputChanged);
    // Enter lists; it never stops a running job as a second click of the button would.
    connect(c.input->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (m_state.m_listState.load() == ListState::Idle && m_controls.getList->isEnabled()) {
            OnGetList();
        }
    });
    connect(c.siteType, &QComboBox::currentIndexChanged, this, &CMosaiqDlg::OnSiteTypeChanged);
    RefreshSubType();
}

void CMosaiqDlg::LoadStartUpState(const QString& workingDir, const QString& dataDirOption) {
    // Every request of the jobs carries the logins made in the login window.
    InstallSharedCookieStore();
    const QStringList cookieProblems = SharedCookieStore()->LoadProblems();
    if (!cookieProblems.isEmpty()) {
        m_prompter->Message(this,
                            QStringLiteral("登录信息文件有损坏，已读取能读取的部分：\n") +
                                cookieProblems.join(u'\n'),
                            QStringLiteral("提示"));
    }
    const QString clipboard = ClipboardInput(ClipboardText());
    if (!clipboard.isEmpty()) {
        m_controls.input->setEditText(clipboard);
    }
    const ProgramFolders folders = ResolveProgramFolders(dataDirOption, workingDir);
    UseProgramFolders(m_state, folders);
    m_controls.status1->setText(folders.notice);
    m_controls.savePath->setEditText(folders.savePath);
    if (!LoadSettings(m_state.m_settings, m_state.m_configDir) &&
        !QFileInfo::exists(m_state.m_configDir + QString::fromLatin1(kSettingsFileName))) {
        m_controls.status1->setText(QStringLiteral("无法保存设置：%1 不可写")
                                        .arg(QDir::toNativeSeparators(m_state.m_configDir)));
    }
    m_controls.input->ClearEntries();
    m_controls.savePath->ClearEntries();
    for (const QString& entry : m_state.m_settings.addressHistory) {
        if (!entry.isEmpty()) {
            m_controls.input->AddEntry(entry);
        }
    }
    for (const QString& entry : m_state.m_settings.savePathHistory) {
        if (!entry.isEmpty()) {
            m_controls.savePath->AddEntry(entry);
        }
    }
    if (!m_state.m_settings.savePathHistory[0].isEmpty()) {
        m_controls.savePath->setEditText(m_state.m_settings.savePathHistory[0]);
    }
}

void CMosaiqDlg::StartWithSplash() {
    auto* splash = new SplashWindow(this);
    splash->ShowFading();
    FinishStartUp();
    // Long enough to be read; start-up itself is done by now.
    QTimer::singleShot(1200, this, [this, splash = QPointer<SplashWindow>(splash)] {
        if (splash) {
            splash->CloseFading();
        }
        show();
    });
}

void CMosaiqDlg::FinishStartUp() {
    {
        const QSignalBlocker blocker(m_controls.siteType);
        m_controls.siteType->clear();
        m_controls.siteType->addItems(SiteTypeNames());
        m_controls.siteType->setCurrentIndex(0);
    }
    RefreshSubType();
    OnInputChanged(m_controls.input->currentText());
    m_state.m_ready = 1;
}

void CMosaiqDlg::RefreshSubType() {
    const int qq = SiteTypeValue(SiteType::QqFamily);
    const int listType = std::max(m_controls.siteType->currentIndex(), qq);
    m_state.m_listType = listType;
    if (listType == qq) {
        if (m_controls.subType->count() == 0) {
            m_controls.subType->addItems(QqSubTypeNames());
        }
        m_controls.subType->setCurrentIndex(SubTypeValue(QqSubType::Zone));
        m_controls.subType->show();
    } else {
        m_controls.subType->hide();
    }
}

void CMosaiqDlg::OnSiteTypeChanged() {
    RefreshSubType();
}

void CMosaiqDlg::OnInputChanged(const QString& text) {
    const RecognizedSite site = RecognizeSite(text, m_controls.siteType->currentIndex());
    if (!site.changed) {
        return;
    }
    {
        const QSignalBlocker blocker(m_controls.siteType);
        m_controls.siteType->setCurrentIndex(site.listType);
    }
    RefreshSubType();
    if (site.listType == SiteTypeValue(SiteType::QqFamily) && site.subType != kNoSubType) {
        m_controls.subType->setCurrentIndex(site.subType);
    }
}

bool CMosaiqDlg::JobsRunning() const {
    return m_state.m_listState.load() != ListState::Idle ||
           m_state.m_downState.load() != DownState::Idle || m_state.m_thumbState.load() != 0;
}

void CMosaiqDlg::OnGetList() {
    if (m_state.m_thumbState.load() != 0 && m_state.m_listState.load() == ListState::Idle) {
        // The loader walks the album list; a new job would free it under its feet.
        m_prompter->Message(this, QStringLiteral("预览图模式转换未完成，请稍候再获取相册"),
                            QStringLiteral("提示"));
        return;
    }
    m_listJob = GetListCommand(m_state, m_dispatch);
}

void CMosaiqDlg::OnDownload() {
    m_downloadJob = DownloadCommand(m_state, m_dispatch);
}

void CMosaiqDlg::RememberSavePath(const QString& folder) {
    const QString path = WithSeparator(folder);
    m_controls.savePath->setEditText(path);
    if (RememberInHistory(m_state.m_settings, kSavePathHistory, path)) {
        m_controls.savePath->AddEntry(path);
        SaveSettings(m_state.m_settings, m_state.m_configDir);
    }
}

void CMosaiqDlg::OnPickFolder() {
    // The nearest existing folder of the save path: the picker cannot open at one not made yet.
    QString start = QDir::cleanPath(m_controls.savePath->currentText().trimmed());
    while (!start.isEmpty() && !QFileInfo(start).isDir() && QFileInfo(start).path() != start) {
        start = QFileInfo(start).path();
    }
    const QString folder =
        m_prompter->FolderName(this, QStringLiteral("请选择文件保存目录："), start);
    if (!folder.isEmpty()) {
        RememberSavePath(folder);
    }
}

void CMosaiqDlg::OnOpenFolder() {
    // The album folder is only read while workers run: between albums the job rewrites it.
    if (g_workersRunning.load() != 0) {
        OpenFolder(g_pictureQueue().folder);
        return;
    }
    const QString savePath = m_controls.savePath->currentText().trimmed();
    if (!savePath.isEmpty()) {
        OpenFolder(savePath);
    }
}

void CMosaiqDlg::DropPaths(const QStringList& paths) {
    if (paths.isEmpty() || paths.first().isEmpty()) {
        return;
    }
    RememberSavePath(DroppedSaveFolder(paths.first()));
}

void CMosaiqDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMosaiqDlg::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    DropPaths(paths);
    event->acceptProposedAction();
}

void CMosaiqDlg::closeEvent(QCloseEvent* event) {
    if (!JobsRunning() || m_closing) {
        if (m_findDlg) {
            m_findDlg->close();
        }
        event->accept();
        return;
    }
    // The jobs work on this window's state: stop them and close once they have let go. The
    // event loop runs meanwhile, so their last questions are still answered.
    event->ignore();
    hide();
    if (m_state.m_listState.load() != ListState::Idle) {
        m_state.m_listState = ListState::StopRequested;
    }
    if (m_state.m_downState.load() != DownState::Idle) {
        m_state.m_downState = DownState::Stopped;
        g_stopWorkers = 1;
    }
    if (m_state.m_thumbState.load() != 0) {
        m_state.m_thumbState = 2;
    }
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll] {
        if (JobsRunning()) {
            return;
        }
        poll->stop();
        QThread* waiter = QThread::create([this] {
            m_listJob.Wait();
            m_downloadJob.Wait();
        });
        connect(waiter, &QThread::finished, this, [this, waiter] {
            waiter->deleteLater();
            m_closing = true;
            close();
            // Closing a hidden window does not end the program by itself.
            if (QGuiApplication::quitOnLastWindowClosed()) {
                QCoreApplication::quit();
            }
        });
        waiter->start();
    });
    poll->start(100);
}

}  // namespace mosaiq
