#include "app/browser_start.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>

#include <unistd.h>

namespace mosaiq {
namespace {

constexpr char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";

bool HasNoSandbox(const QByteArray& flags) {
    return flags.split(' ').contains("--no-sandbox");
}

bool SandboxDisabled() {
    return HasNoSandbox(qgetenv(kFlagsVariable)) ||
           qEnvironmentVariableIntValue("QTWEBENGINE_DISABLE_SANDBOX") != 0 ||
           QCoreApplication::arguments().contains(QStringLiteral("--no-sandbox"));
}

// Where Qt WebEngine looks for its helper program, in its own order.
QString HelperProgram() {
    const QString fromEnvironment = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    const QString name = QStringLiteral("/QtWebEngineProcess");
    const QString beside = QCoreApplication::applicationDirPath() + name;
    if (QFileInfo(beside).isExecutable()) {
        return beside;
    }
    return QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + name;
}

}  // namespace

QByteArray ChromiumFlagsFor(const QByteArray& flags, bool root) {
    if (!root || HasNoSandbox(flags)) {
        return flags;
    }
    return (flags + " --no-sandbox").trimmed();
}

void PrepareLoginBrowser() {
    const QByteArray flags = qgetenv(kFlagsVariable);
    const QByteArray wanted = ChromiumFlagsFor(flags, geteuid() == 0);
    if (wanted != flags) {
        qputenv(kFlagsVariable, wanted);
    }
}

QString LoginBrowserProblem() {
    if (geteuid() == 0 && !SandboxDisabled()) {
        return QStringLiteral("以 root 身份运行时，内置浏览器需要关闭沙箱 (--no-sandbox)。");
    }
    const QString helper = HelperProgram();
    if (!QFileInfo(helper).isExecutable()) {
        return QStringLiteral("找不到内置浏览器的辅助程序 %1，请安装 Qt WebEngine。").arg(helper);
    }
    return {};
}

}  // namespace mosaiq
