#include "app/login_window.h"

#include "app/dlg_web_open.h"
#include "core/job_state.h"

#include <QThread>
#include <QWidget>

namespace mosaiq {

LoginWindows::LoginWindows(QWidget* mainWindow, JobState& state)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_state(state) {}

LoginWindows::~LoginWindows() {
    delete m_modeless.data();
}

void LoginWindows::ShowLoginWindow(const QString& address) {
    delete m_modeless.data();
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
    CDlgWebOpen dialog(m_mainWindow);
    dialog.m_address = address;
    dialog.m_autoCloseSeconds = autoCloseSeconds;
    return dialog.exec() == QDialog::Accepted ? LoginResult::Ok : LoginResult::Cancel;
}

}  // namespace mosaiq
