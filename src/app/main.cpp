#include "app/app_icon.h"
#include "app/browser_start.h"
#include "app/combo_box2.h"
#include "app/mosaiq_dlg.h"
#include "app/qt_translations.h"
#include "core/version.h"
#include "demo/demo_site.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

// "--demo": the bundled sample account, served on this machine, is typed into the input box
// and listed. With "--screenshot FILE" the window is saved as a picture once the list is
// there, and the program ends.
void RunDemo(mosaiq::CMosaiqDlg& window, const QString& screenshot) {
    window.controls().input->setEditText(mosaiq::DemoSite::Account());
    emit window.controls().input->TextChangedByUser(mosaiq::DemoSite::Account());
    window.OnGetList();
    if (screenshot.isEmpty()) {
        return;
    }
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, screenshot] {
        if (window.state().m_listState.load() != mosaiq::ListState::Idle) {
            return;
        }
        poll->stop();
        window.FlushPendingAlbums();
        const bool saved = window.grab().save(screenshot);
        QCoreApplication::exit(saved ? 0 : 1);
    });
    poll->start(200);
}

}  // namespace

int main(int argc, char** argv) {
    // The login window's browser needs both before the application object exists.
    mosaiq::PrepareLoginBrowser();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(mosaiq::kProgramName));
    QApplication::setApplicationVersion(QString::fromLatin1(mosaiq::kVersion));
    QApplication::setWindowIcon(mosaiq::AppIcon());
    QApplication::setDesktopFileName(QStringLiteral("mosaiq"));
    mosaiq::InstallQtTranslations(QLocale::system());

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("List the bundled sample account."));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("With --demo: save the window to FILE once listed, then quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("Keep settings, logs and thumbnails in DIR instead of the user's folders."),
        QStringLiteral("DIR"));
    parser.addOptions({demo, screenshot, dataDir});
    parser.process(app);

    mosaiq::CMosaiqDlg window;
    window.LoadStartUpState(QDir::currentPath(), parser.value(dataDir));
    mosaiq::DemoSite site;
    if (parser.isSet(demo)) {
        QString error;
        if (!site.Start(error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    if (parser.isSet(screenshot)) {
        window.FinishStartUp();
        window.show();
    } else {
        window.StartWithSplash();
    }
    if (parser.isSet(demo)) {
        QTimer::singleShot(0, &window, [&] { RunDemo(window, parser.value(screenshot)); });
    }
    return app.exec();
}
