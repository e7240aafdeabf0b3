#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace mosaiq {

class CDlgWebOpen;
struct JobState;

// What OpenLoginWindow returns.
enum class LoginResult {
    Ok = 1,      // the window closed itself by its timer
    Cancel = 2,  // the user closed it
};

// Opens the login window for the main window: from its "登录" menu and, on behalf of worker
// threads, for adapters that meet a login wall. Lives on the UI thread.
class LoginWindows : public QObject {
    Q_OBJECT

  public:
    LoginWindows(QWidget* mainWindow, JobState& state);
    ~LoginWindows() override;

    // How a login window that cannot start is told to the user (a message box by default).
    void SetTell(std::function<void(const QString&)> tell) { m_tell = std::move(tell); }

    // Menu items. Destroys the modeless window left by the previous call; with m_loginMode1
    // the new one is modeless and this returns at once, else it runs modally. UI thread only.
    void ShowLoginWindow(const QString& address);

    // Always modal; blocks a calling worker thread until the window closes. Any thread.
    LoginResult OpenLoginWindow(const QString& address, int autoCloseSeconds);

    // The modeless window of the last ShowLoginWindow (m_loginWindow), or null.
    CDlgWebOpen* loginWindow() const { return m_modeless.data(); }

  private:
    LoginResult RunModal(const QString& address, int autoCloseSeconds);
    // False, after telling why, when no browser can start in this process.
    bool BrowserCanStart();

    QWidget* m_mainWindow;
    JobState& m_state;
    QPointer<CDlgWebOpen> m_modeless;
    std::function<void(const QString&)> m_tell;
};

}  // namespace mosaiq
