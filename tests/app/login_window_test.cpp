#include "app/login_window.h"
#include "app/browser_start.h"
#include "app/combo_box2.h"
#include "app/dlg_web_open.h"
#include "app/gui_application.h"
#include "core/job_state.h"
#include "web/cookie_store.h"
#include "web/http_client.h"
#include "web/shared_cookie_hooks.h"
#include "web/site_tokens.h"
#include "window_fixture.h"

#include "support/fixture_server.h"
#include "support/sandbox.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

#include <unistd.h>

namespace mosaiq {
namespace {

class LoginWindowTest : public test::Sandbox {
  protected:
    void SetUp() override {
        test::Sandbox::SetUp();
        test::EnsureGuiApplication();
        InstallSharedCookieStore();
    }
};

bool HasCookie(const char* name) {
    for (const QNetworkCookie& cookie : SharedCookieStore()->AllCookies()) {
        if (cookie.name() == name) {
            return true;
        }
    }
    return false;
}

// Closes the modal login window through its close box as soon as one is up. The timer fires
// inside the window's own event loop.
class ModalCloser {
  public:
    ModalCloser() {
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        m_timer.start(50);
    }

  private:
    QTimer m_timer;
};

TEST_F(LoginWindowTest, BrowserAndHttpClientShareTheCookieStore) {
    test::FixtureServer server;
    test::Reply page;
    page.headers = {{"Content-Type", "text/html"},
                    {"Set-Cookie", "fromheader=1; Max-Age=3600; Path=/"}};
    page.body =
        "<html><body><script>"
        "document.cookie = 'fromscript=2; max-age=3600; path=/';"
        "document.title = document.cookie;"
        "</script></body></html>";
    server.Route(QString(), QStringLiteral("/login"), page);
    test::Reply next;
    next.body = "<html>next</html>";
    server.Route(QString(), QStringLiteral("/next"), next);
    const QString origin = QStringLiteral("http://127.0.0.1:%1").arg(server.httpPort());
    SharedCookieStore()->StoreSetCookie(QUrl(origin + "/"), "fromstore=3; Max-Age=3600");

    CDlgWebOpen dialog;
    dialog.m_address = origin + QStringLiteral("/login");
    dialog.show();
    ASSERT_TRUE(test::ProcessEventsUntil(
        [] { return HasCookie("fromheader") && HasCookie("fromscript"); }));
    ASSERT_TRUE(test::ProcessEventsUntil(
        [&] { return dialog.browser()->title().contains(QStringLiteral("fromscript=2")); }));
    // The store's cookie was in the browser before the page loaded.
    EXPECT_TRUE(dialog.browser()->title().contains(QStringLiteral("fromstore=3")));
    EXPECT_EQ(server.requests().front().header("Cookie"), "fromstore=3");
    dialog.close();

    HttpResponse response;
    ASSERT_TRUE(HttpRequest(response, RequestOptions(origin + "/next", QString(), 20000), 0));
    const QByteArray sent = server.requests().back().header("Cookie");
    for (const char* cookie : {"fromheader=1", "fromscript=2", "fromstore=3"}) {
        EXPECT_TRUE(sent.contains(cookie)) << sent.constData();
    }
}

TEST_F(LoginWindowTest, CloseBoxOnQqPageCapturesTokenEscapeDoesNot) {
    const QString first = QStringLiteral("escapedtoken-escapedtoken");
    const QString second = QStringLiteral("closedtoken-closedtoken-1");
    const QString html =
        QStringLiteral("<html><body><script>var g_qzonetoken = \"%1\";</script></body></html>");
    const QUrl qqPage(QStringLiteral("https://user.qzone.qq.com/12345"));

    for (const bool escape : {true, false}) {
        CDlgWebOpen dialog;
        dialog.show();
        bool loaded = false;
        QObject::connect(dialog.browser(), &QWebEngineView::loadFinished,
                         [&loaded](bool) { loaded = true; });
        dialog.browser()->setHtml(html.arg(escape ? first : second), qqPage);
        ASSERT_TRUE(test::ProcessEventsUntil([&] { return loaded; }));
        if (escape) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&dialog, &key);
        } else {
            dialog.close();
        }
        ASSERT_TRUE(test::ProcessEventsUntil([&] { return !dialog.isVisible(); }));
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(PageToken(), escape ? QString() : second);
    }
}

TEST_F(LoginWindowTest, OpensOnTheClipboardTextAndFollowsTheWindowSize) {
    QGuiApplication::clipboard()->setText(QStringLiteral("about:blank"));
    CDlgWebOpen dialog;
    dialog.show();
    EXPECT_EQ(dialog.addressEdit()->text(), QStringLiteral("about:blank"));
    EXPECT_TRUE(dialog.browser()->url().isEmpty());  // nothing opened yet
    EXPECT_TRUE(dialog.openButton()->isDefault());
    dialog.openButton()->click();
    EXPECT_EQ(dialog.browser()->url(), QUrl(QStringLiteral("about:blank")));

    dialog.resize(900, 700);
    const QRect button = dialog.openButton()->geometry();
    const QRect edit = dialog.addressEdit()->geometry();
    const QRect browser = dialog.browser()->geometry();
    EXPECT_EQ(button.right() + 1, 900);
    EXPECT_EQ(edit.right() + 1, button.left() - 5);
    EXPECT_EQ(browser.right() + 1, 900);
    EXPECT_EQ(browser.bottom() + 1, 700);
    EXPECT_GT(browser.top(), edit.bottom());
}

TEST_F(LoginWindowTest, WorkerWaitsForTheWindowTimerGivesOkUserCloseCancel) {
    QWidget mainWindow;
    JobState state;
    LoginWindows windows(&mainWindow, state);

    for (const int seconds : {1, 0}) {
        std::atomic<LoginResult> result{LoginResult::Cancel};
        std::atomic<bool> finished{false};
        std::thread worker([&] {
            result = windows.OpenLoginWindow(QString(), seconds);
            finished = true;
        });
        std::optional<ModalCloser> user;
        if (seconds == 0) {
            user.emplace();
        }
        const bool done = test::ProcessEventsUntil([&] { return finished.load(); });
        worker.join();
        ASSERT_TRUE(done);
        EXPECT_EQ(result, seconds > 0 ? LoginResult::Ok : LoginResult::Cancel) << seconds;
    }
}

TEST_F(LoginWindowTest, MenuWindowIsModelessAndReplacedByTheNextOne) {
    QWidget mainWindow;
    JobState state;
    LoginWindows windows(&mainWindow, state);
    state.m_loginMode1 = 1;
    windows.ShowLoginWindow(QStringLiteral("about:blank"));
    QPointer<CDlgWebOpen> first = windows.loginWindow();
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->isModal());
    first->close();  // hidden, kept until the next call
    EXPECT_TRUE(first);
    windows.ShowLoginWindow(QString());
    EXPECT_FALSE(first);
    EXPECT_TRUE(windows.loginWindow()->isVisible());

    // Without login mode 1 the window is modal and the call returns when it closes.
    state.m_loginMode1 = 0;
    ModalCloser user;
    windows.ShowLoginWindow(QString());
    EXPECT_EQ(windows.loginWindow(), nullptr);
}

TEST(LoginBrowserFlags, NoSandboxIsAddedForRootOnlyAndOnce) {
    struct Case {
        const char* flags;
        bool root;
        const char* expected;
    };
    const Case cases[] = {
        {"", true, "--no-sandbox"},
        {"--lang=zh", true, "--lang=zh --no-sandbox"},
        {"--no-sandbox", true, "--no-sandbox"},
        {"--no-sandboxing", true, "--no-sandboxing --no-sandbox"},
        {"", false, ""},
        {"--lang=zh", false, "--lang=zh"},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(ChromiumFlagsFor(k.flags, k.root), QByteArray(k.expected)) << k.flags << k.root;
    }
}

// The child run of the test below: nothing but the program's own set-up prepared the browser.
TEST(LoginWindowChild, OpensAPage) {
    if (qgetenv("MOSAIQ_LOGIN_CHILD") != "1") {
        GTEST_SKIP() << "run by LoginWindowTest.OpensAsRootWithoutFlagsFromOutside";
    }
    test::FixtureServer server;
    test::Reply page;
    page.headers = {{"Content-Type", "text/html"}};
    page.body = "<html><head><title>loaded</title></head><body></body></html>";
    server.Route(QString(), QStringLiteral("/login"), page);
    CDlgWebOpen dialog;
    dialog.m_address = QStringLiteral("http://127.0.0.1:%1/login").arg(server.httpPort());
    dialog.show();
    // A first browser start on a busy machine can take a while.
    EXPECT_TRUE(test::ProcessEventsUntil(
        [&] { return dialog.browser()->title() == QStringLiteral("loaded"); }, 60000));
}

// Run as root with no Chromium flags in the environment, the browser used to end the whole
// process ("Running as root without --no-sandbox is not supported").
TEST_F(LoginWindowTest, OpensAsRootWithoutFlagsFromOutside) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"));
    environment.remove(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"));
    environment.insert(QStringLiteral("MOSAIQ_LOGIN_CHILD"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=LoginWindowChild.OpensAPage")});
    ASSERT_TRUE(child.waitForFinished(90000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

// A browser that cannot start is said, and the worker gets its answer; nothing ends.
TEST_F(LoginWindowTest, ABrowserThatCannotStartIsToldNotStarted) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "the sandbox problem exists for root only";
    }
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const QByteArray disable = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
    qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    QWidget mainWindow;
    JobState state;
    LoginWindows windows(&mainWindow, state);
    QStringList told;
    windows.SetTell([&told](const QString& text) { told << text; });
    state.m_loginMode1 = 1;
    windows.ShowLoginWindow(QStringLiteral("about:blank"));
    const LoginResult result = windows.OpenLoginWindow(QString(), 0);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    if (!disable.isEmpty()) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", disable);
    }
    EXPECT_EQ(result, LoginResult::Cancel);
    EXPECT_EQ(windows.loginWindow(), nullptr);
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].contains(QStringLiteral("--no-sandbox"))) << told[0].toStdString();
    EXPECT_TRUE(LoginBrowserProblem().isEmpty());  // with the flags back
}

using QqLoginMenu = test::WindowTest;

TEST_F(QqLoginMenu, AddressFollowsTheInputAndTheSubTypeSelectionEvenWhenHidden) {
    struct Case {
        int siteType;
        int subType;
        const char* input;
        const char* address;
    };
    const Case cases[] = {
        {0, 0, " 12345 ", "http://user.qzone.qq.com/12345"},
        {0, 1, "12345", "http://user.qzone.qq.com/"},
        {4, 0, "12345", "http://user.qzone.qq.com/12345"},  // box hidden, selection kept
        {0, 0, "", "https://qzone.qq.com/"},
    };
    const CMosaiqDlg::Controls& c = window->controls();
    for (const Case& k : cases) {
        c.siteType->setCurrentIndex(k.siteType);
        c.subType->setCurrentIndex(k.subType);
        c.input->setEditText(QString::fromUtf8(k.input));
        EXPECT_EQ(window->QqLoginMenuAddress(), QString::fromUtf8(k.address))
            << k.siteType << "/" << k.subType << "/" << k.input;
    }
}

}  // namespace
}  // namespace mosaiq
