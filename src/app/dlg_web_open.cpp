#include "app/dlg_web_open.h"

#include "app/browser_profile.h"
#include "web/site_tokens.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace mosaiq {

namespace {

// Dialog units of the window's layout: 470 x 381, the browser from 17 below the top.
constexpr int kWidthDu = 470;
constexpr int kHeightDu = 381;
constexpr int kBrowserTopDu = 17;
constexpr int kMarginDu = 3;
constexpr int kLabelWidthDu = 24;
constexpr int kButtonWidthDu = 40;
constexpr int kButtonHeightDu = 13;
constexpr int kEditGapPx = 5;
// A page that never answers must not keep the window open.
constexpr int kCaptureTimeoutMs = 3000;

const char kBodyHtmlScript[] = "document.body ? document.body.innerHTML : ''";

}  // namespace

CDlgWebOpen::CDlgWebOpen(QWidget* parent) : QDialog(parent) {
    setWindowTitle(
        QStringLiteral("登录成功后请将该登录窗口关闭，如果没有看到登录的地方，可将该窗口最大化"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    m_label = new QLabel(QStringLiteral("网址："), this);
    m_addressEdit = new QLineEdit(this);
    m_addressEdit->setObjectName(QStringLiteral("edit1001"));
    m_openButton = new QPushButton(QStringLiteral("打开"), this);
    m_openButton->setObjectName(QStringLiteral("button1026"));
    m_openButton->setDefault(true);
    m_openButton->setAutoDefault(true);
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("browser1025"));
    m_browser->setPage(new QWebEnginePage(LoginBrowserProfile(), m_browser));
    connect(m_openButton, &QPushButton::clicked, this, &CDlgWebOpen::OnOpen);
    // A page whose browser process died shows nothing at all; say so in its place.
    connect(
        m_browser->page(), &QWebEnginePage::renderProcessTerminated, this,
        [this](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
            if (status == QWebEnginePage::NormalTerminationStatus) {
                return;
            }
            m_browser->setHtml(
                QStringLiteral("<p>网页进程异常退出 (%1)，请点击“打开”重新载入。</p>").arg(code));
        });

    const int du = fontMetrics().averageCharWidth();  // 4 horizontal units
    const int dv = fontMetrics().height();            // 8 vertical units
    const int margin = kMarginDu * du / 4;
    const int top = kBrowserTopDu * dv / 8;
    const int rowHeight = kButtonHeightDu * dv / 8;
    m_label->setGeometry(margin, margin, kLabelWidthDu * du / 4, rowHeight);
    m_addressEdit->setGeometry(m_label->geometry().right() + 1, margin, 100, rowHeight);
    m_openButton->setGeometry(200, margin - 1, kButtonWidthDu * du / 4, rowHeight + 1);
    m_browser->setGeometry(0, top, 200, 200);
    resize(kWidthDu * du / 4, kHeightDu * dv / 8);
}

void CDlgWebOpen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_captureDone = false;
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
}

void CDlgWebOpen::OnInitDialog() {
    if (parentWidget()) {
        move(parentWidget()->window()->frameGeometry().center() - rect().center());
    }
    SyncStoreIntoBrowser();
    if (!m_address.isEmpty()) {
        m_addressEdit->setText(m_address);
        OnOpen();
    } else {
        m_addressEdit->setText(QGuiApplication::clipboard()->text());
    }
    if (m_autoCloseSeconds > 0) {
        m_tickTimer = startTimer(1000);
    }
}

void CDlgWebOpen::OnOpen() {
    const QString text = m_addressEdit->text().trimmed();
    if (!text.isEmpty()) {
        m_browser->setUrl(QUrl::fromUserInput(text));
    }
}

void CDlgWebOpen::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_tickTimer) {
        QDialog::timerEvent(event);
        return;
    }
    if (m_tickCount >= m_autoCloseSeconds) {
        killTimer(m_tickTimer);
        m_tickTimer = 0;
        accept();
    }
    ++m_tickCount;
}

void CDlgWebOpen::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int width = this->width();
    QRect button = m_openButton->geometry();
    button.moveRight(width - 1);
    m_openButton->setGeometry(button);
    QRect edit = m_addressEdit->geometry();
    edit.setRight(button.left() - kEditGapPx - 1);
    m_addressEdit->setGeometry(edit);
    QRect browser = m_browser->geometry();
    browser.setRight(width - 1);
    browser.setBottom(height() - 1);
    m_browser->setGeometry(browser);
}

void CDlgWebOpen::closeEvent(QCloseEvent* event) {
    const QString location = m_browser->url().toString();
    if (m_captureDone || !IsQqPage(location)) {
        QDialog::closeEvent(event);
        return;
    }
    // Reading the page is asynchronous: hold the close until the HTML is in.
    event->ignore();
    if (m_capturing) {
        return;
    }
    m_capturing = true;
    QPointer<CDlgWebOpen> self(this);
    auto finish = [self](const QString& location, const QString& html) {
        if (!self || !self->m_capturing) {
            return;
        }
        CapturePageToken(location, html);
        self->m_capturing = false;
        self->m_captureDone = true;
        self->close();
    };
    m_browser->page()->runJavaScript(
        QString::fromLatin1(kBodyHtmlScript),
        [finish, location](const QVariant& html) { finish(location, html.toString()); });
    QTimer::singleShot(kCaptureTimeoutMs, this, [finish, location] { finish(location, {}); });
}

}  // namespace mosaiq
