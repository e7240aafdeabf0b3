// Menu 129 of CMosaiqDlg: logins, the option items of the current site, help.
#include "app/combo_box2.h"
#include "app/dlg_down_set.h"
#include "app/dlg_save_set.h"
#include "app/mosaiq_dlg.h"
// login_window.h needs the complete window class.
#include "app/dlg_web_open.h"
#include "app/login_window.h"
#include "app/prompter.h"
#include "app/start_up_paths.h"
#include "core/settings_rules.h"
#include "core/version.h"
#include "sites/login_address.h"
#include "sites/site_types.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QMenuBar>
#include <QMessageBox>
#include <QUrl>

namespace mosaiq {

void CMosaiqDlg::BuildMenu() {
    QMenu* login = menuBar()->addMenu(QStringLiteral("登录"));
    QAction* mode1 =
        login->addAction(QStringLiteral("登录方式1（如果登录失败，可勾选该项后再登录）"));
    mode1->setCheckable(true);
    mode1->setChecked(m_state.m_loginMode1.load() != 0);
    connect(mode1, &QAction::triggered, this, [this](bool on) { m_state.m_loginMode1 = on; });
    m_actions.insert(kLoginMode1, mode1);
    login->addSeparator();
    QAction* qq = login->addAction(QStringLiteral("QQ空间/QQ群"));
    connect(qq, &QAction::triggered, this,
            [this] { m_logins->ShowLoginWindow(QqLoginMenuAddress()); });
    m_actions.insert(kLoginQq, qq);
    struct LoginItem {
        int command;
        const char* caption;
        LoginSite site;
    };
    static const LoginItem items[] = {
        {kLoginTencentWeibo, "腾讯微博（登录时勾上下次自动登录）", LoginSite::TencentWeibo},
        {kLoginBaidu, "百度", LoginSite::Baidu},
        {kLoginNetEase, "网易", LoginSite::NetEase},
        {kLoginRenren, "人人", LoginSite::Renren},
        {kLoginYupoo, "又拍（下载器没弹窗提示你登录，就不要在这里登录）", LoginSite::Yupoo},
        {kLoginMoko, "美空", LoginSite::Moko},
        {kLoginSinaWeibo, "新浪微博（登录时勾上下次自动登录）", LoginSite::SinaWeibo},
        {kLoginTaobao, "淘宝（强烈建议用小号登录）", LoginSite::Taobao},
        {kLogin56, "56", LoginSite::Site56},
        {kLoginHupu, "虎扑", LoginSite::Hupu},
        {kLoginCustom, "自定义登录", LoginSite::Custom},
    };
    for (const LoginItem& item : items) {
        AddLoginItem(login, item.command, QString::fromUtf8(item.caption),
                     LoginPageAddress(item.site));
    }

    m_settingsMenu = menuBar()->addMenu(QStringLiteral("设置"));
    QAction* downSet = m_settingsMenu->addAction(QStringLiteral("下载参数设置"));
    connect(downSet, &QAction::triggered, this, [this] {
        CDlgDownSet dialog(SlotOf(m_state.m_settings, m_controls.siteType->currentIndex()),
                           *m_prompter, this);
        if (m_prompter->Run(dialog) == QDialog::Accepted) {
            SaveSettings(m_state.m_settings, m_state.m_configDir);
        }
    });
    m_actions.insert(kDownloadSettings, downSet);
    QAction* saveSet = m_settingsMenu->addAction(QStringLiteral("文件名设置"));
    connect(saveSet, &QAction::triggered, this, [this] {
        CDlgSaveSet dialog(NamingOf(m_state.m_settings, m_controls.siteType->currentIndex()),
                           *m_prompter, this);
        if (m_prompter->Run(dialog) == QDialog::Accepted) {
            SaveSettings(m_state.m_settings, m_state.m_configDir);
        }
    });
    m_actions.insert(kNameSettings, saveSet);
    m_settingsMenu->addSeparator();
    AddOptionItem(m_settingsMenu, kThunderOnly, QStringLiteral("只生成迅雷下载列表"),
                  kOptionThunderOnly);
    AddOptionItem(m_settingsMenu, kNameFile, QStringLiteral("生成图片原始名文件"), kOptionNameFile);
    AddOptionItem(m_settingsMenu, kFixOrder, QStringLiteral("修正图片顺序"), kOptionFixOrder);
    AddOptionItem(m_settingsMenu, kFixFormat, QStringLiteral("修正图片格式"), kOptionFixFormat);
    AddOptionItem(m_settingsMenu, kSkipDownloaded, QStringLiteral("不下载以前下载过的图片"),
                  kOptionSkipDownloaded);
    AddOptionItem(m_settingsMenu, kOpenFolderAfter, QStringLiteral("下载完成后打开保存路径"),
                  kOptionOpenFolder);
    AddOptionItem(m_settingsMenu, kShopMainOnly, QStringLiteral("只下载宝贝(商品)主图"),
                  kOptionShopMainOnly);
    AddOptionItem(m_settingsMenu, kShopDescOnly, QStringLiteral("只下载宝贝(商品)描述里的图片"),
                  kOptionShopDescOnly);
    AddOptionItem(m_settingsMenu, kYupooBig,
                  QStringLiteral("又拍相册下载大图（不勾选为下载原图，下载原图速度更慢）"),
                  kOptionYupooBig);
    connect(m_settingsMenu, &QMenu::aboutToShow, this, &CMosaiqDlg::UpdateSettingsMenu);

    // Download lists are not built yet: the popup stays greyed, as its items do nothing.
    QMenu* lists = menuBar()->addMenu(QStringLiteral("导入/导出"));
    m_actions.insert(kImportDownloadFile,
                     lists->addAction(QStringLiteral("导入下载文件并开始下载")));
    m_actions.insert(kExportDownloadFile, lists->addAction(QStringLiteral("导出下载文件")));
    m_actions.insert(kExportThunderList, lists->addAction(QStringLiteral("导出迅雷下载列表")));
    lists->setEnabled(false);
    lists->menuAction()->setEnabled(false);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("辅助功能"));
    QAction* files = tools->addAction(QStringLiteral("文件处理"));
    connect(files, &QAction::triggered, this, [this] { OpenManual(QStringLiteral("files")); });
    m_actions.insert(kFileTools, files);

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助"));
    const struct {
        int command;
        const char* caption;
        const char* anchor;
    } pages[] = {
        {kManual, "使用说明", ""},
        {kConsulting, "软件咨询", "questions"},
        {kFeedback, "问题反馈", "feedback"},
    };
    for (const auto& page : pages) {
        QAction* action = help->addAction(QString::fromUtf8(page.caption));
        const QString anchor = QString::fromLatin1(page.anchor);
        connect(action, &QAction::triggered, this, [this, anchor] { OpenManual(anchor); });
        m_actions.insert(page.command, action);
    }
    help->addSeparator();
    QAction* about = help->addAction(QStringLiteral("版本信息"));
    connect(about, &QAction::triggered, this, &CMosaiqDlg::ShowAbout);
    m_actions.insert(kVersionInfo, about);
}

QString CMosaiqDlg::QqLoginMenuAddress() const {
    // The hidden sub-type box keeps its selection, and that still decides here.
    return QqLoginAddress(m_controls.input->currentText(), m_controls.subType->currentIndex());
}

void CMosaiqDlg::AddOptionItem(QMenu* menu, int command, const QString& caption, uint16_t bit) {
    QAction* action = menu->addAction(caption);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, bit] {
        ToggleOption(NamingOf(m_state.m_settings, m_controls.siteType->currentIndex()),
                     SettingsOption(bit));
        SaveSettings(m_state.m_settings, m_state.m_configDir);
        UpdateSettingsMenu();
    });
    action->setData(bit);
    m_actions.insert(command, action);
}

void CMosaiqDlg::AddLoginItem(QMenu* menu, int command, const QString& caption,
                              const QString& address) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this,
            [this, address] { m_logins->ShowLoginWindow(address); });
    m_actions.insert(command, action);
}

void CMosaiqDlg::UpdateSettingsMenu() {
    const int listType = m_controls.siteType->currentIndex();
    const uint16_t options = NamingOf(m_state.m_settings, listType).options;
    for (QAction* action : m_settingsMenu->actions()) {
        if (action->isCheckable()) {
            action->setChecked(options & action->data().toUInt());
        }
    }
    m_actions.value(kLoginMode1)->setChecked(m_state.m_loginMode1.load() != 0);
    const bool shop = listType == SiteTypeValue(SiteType::Shops) ||
                      listType == SiteTypeValue(SiteType::JdProduct);
    m_actions.value(kShopMainOnly)->setEnabled(shop);
    m_actions.value(kShopDescOnly)->setEnabled(shop);
    m_actions.value(kYupooBig)->setEnabled(listType == SiteTypeValue(SiteType::Yupoo));
}

void CMosaiqDlg::OpenManual(const QString& anchor) {
    const QString manual = ManualPath();
    if (manual.isEmpty()) {
        m_prompter->Message(this,
                            QStringLiteral("找不到使用说明文件 manual.html，请重新安装本程序。"),
                            QStringLiteral("提示"));
        return;
    }
    QUrl url = QUrl::fromLocalFile(manual);
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    OpenWebPage(url.toString());
}

void CMosaiqDlg::ShowAbout() {
    QMessageBox::about(this, QStringLiteral("关于 %1").arg(QString::fromLatin1(kProgramName)),
                       QStringLiteral("<b>%1</b> %2<br>批量下载相册图片的工具。")
                           .arg(QString::fromLatin1(kProgramName), QString::fromLatin1(kVersion)));
}

}  // namespace mosaiq
