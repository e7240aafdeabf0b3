#include "app/gui_application.h"

#include "app/browser_start.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

namespace mosaiq::test {

void EnsureGuiApplication() {
    if (QApplication::instance()) {
        return;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // What the program itself does at start-up.
    PrepareLoginBrowser();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the process ends
}

bool ProcessEventsUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    return done();
}

}  // namespace mosaiq::test
