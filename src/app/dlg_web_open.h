#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWebEngineView;

namespace mosaiq {

// The login window: a browser on the shared cookie store. Closing it through the close box on
// a QQ page captures the page token first; Escape cancels without it. With an auto-close time
// it ends itself with Accepted after that many ticks of one second.
class CDlgWebOpen : public QDialog {
    Q_OBJECT

  public:
    explicit CDlgWebOpen(QWidget* parent = nullptr);

    QString m_address;               // opened at once when not empty
    int32_t m_autoCloseSeconds = 0;  // 0: no automatic close
    int32_t m_tickCount = 0;

    QWebEngineView* browser() const { return m_browser; }
    QLineEdit* addressEdit() const { return m_addressEdit; }
    QPushButton* openButton() const { return m_openButton; }

    // "打开": navigates to the address edit's text.
    void OnOpen();

  protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnInitDialog();

    QLabel* m_label = nullptr;
    QLineEdit* m_addressEdit = nullptr;   // control 1001
    QPushButton* m_openButton = nullptr;  // control 1026
    QWebEngineView* m_browser = nullptr;  // control 1025
    bool m_initialised = false;
    bool m_capturing = false;  // the page's HTML is being read before the close goes on
    bool m_captureDone = false;
    int m_tickTimer = 0;
};

}  // namespace mosaiq
