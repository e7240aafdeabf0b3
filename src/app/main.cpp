#include "app/app_icon.h"
#include "app/mosaiq_dlg.h"
#include "core/version.h"
#include "web/shared_cookie_hooks.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    // The login window's browser shares the GUI's OpenGL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    mosaiq::InstallSharedCookieStore();
    QApplication::setApplicationName(QString::fromLatin1(mosaiq::kProgramName));
    QApplication::setApplicationVersion(QString::fromLatin1(mosaiq::kVersion));
    QApplication::setWindowIcon(mosaiq::AppIcon());
    QApplication::setDesktopFileName(QStringLiteral("mosaiq"));

    mosaiq::CMosaiqDlg window;
    window.LoadStartUpState(QDir::currentPath());
    window.StartWithSplash();
    return app.exec();
}
