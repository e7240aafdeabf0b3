#include "app/login_window.h"

#include "app/browser_start.h"
#include "app/dlg_web_open.h"
#include "core/job_state.h"

#include <QMessageBox>
#include <QThread>
#include <QWidget>

namespace mosaiq {

LoginWindows::LoginWindows(QWidget* mainWindow, JobState& state)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_state(state) {}

LoginWindows::~LoginWindows() {
    delete m_modeless.data();
}

bool LoginWindows::BrowserCanStart() {
    const QString problem = LoginBrowserProblem();
    if (problem.isEmpty()) {
        return true;
    }
    const QString text = QStringLiteral("无法打开登录窗口：") + problem;
    if (m_tell) {
        m_tell(text);
    } else {
        QMessageBox::warning(m_mainWindow, QStringLiteral("提示"), text);
    }
    return false;
}

void LoginWindows::ShowLoginWindow(const QString& address) {
    delete m_modeless.data();
    if (!BrowserCanStart()) {
        return;
    }
    if (m_state.m_loginMode1.load() != 0) {
        m_modeless = new CDlgWebOpen(m_mainWindow);
        m_modeless->m_address = address;
        m_modeless->show();
        return;
    }
    RunModal(address, 0);
}

LoginResult LoginWindows::OpenLoginWindow(const QString& address, int autoCloseSeconds) {
    if (QThread::currentThread() == thread()) {
        return RunModal(address, autoCloseSeconds);
    }
    LoginResult result = LoginResult::Cancel;
    QMetaObject::invokeMethod(
        this, [this, address, autoCloseSeconds] { return RunModal(address, autoCloseSeconds); },
        Qt::BlockingQueuedConnection, &result);
    return result;
}

LoginResult LoginWindows::RunModal(const QString& address, int autoCloseSeconds) {
    if (!BrowserCanStart()) {
        return LoginResult::Cancel;
    }
    CDlgWebOpen dialog(m_mainWindow);
    dialog.m_address = address;
    dialog.m_autoCloseSeconds = autoCloseSeconds;
    return dialog.exec() == QDialog::Accepted ? LoginResult::Ok : LoginResult::Cancel;
}

}  // namespace mosaiq
