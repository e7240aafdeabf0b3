#include "app/start_up_paths.h"

#include "core/folder_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace mosaiq {

QString ClipboardInput(const QString& clipboard) {
    const QString text = clipboard.trimmed();
    if (text.isEmpty() || text.size() >= 200) {
        return {};
    }
    // An account number, or an address of a site: "http(s)://...", or a host name with a dot
    // and no blank ("www.douban.com/people/x"). Any other copied text (a password, a
    // sentence) stays out of the input box and so out of its history.
    static const QRegularExpression account(QStringLiteral("^[0-9]{4,15}$"));
    static const QRegularExpression address(
        QStringLiteral("^(https?://\\S+|[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+(/\\S*)?)$"),
        QRegularExpression::CaseInsensitiveOption);
    return account.match(text).hasMatch() || address.match(text).hasMatch() ? text : QString();
}

QString DroppedSaveFolder(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) {
        return WithSeparator(path);
    }
    // A file on disk is one even without a dot in its name.
    if (info.isFile()) {
        return WithSeparator(info.absolutePath());
    }
    // Not a folder on disk: a name with a dot is taken for a file.
    const QString native = QDir::toNativeSeparators(path);
    const int lastSeparator = native.lastIndexOf(QDir::separator());
    if (native.mid(lastSeparator + 1).contains(QLatin1Char('.')) && lastSeparator >= 0) {
        return WithSeparator(native.left(lastSeparator + 1));
    }
    return WithSeparator(native);
}

QString ManualPath() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QStringList candidates = {
        programDir.filePath(QStringLiteral("manual.html")),
        programDir.filePath(QStringLiteral("../share/doc/mosaiq/manual.html")),
        programDir.filePath(QStringLiteral("../docs/manual.html")),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return {};
}

}  // namespace mosaiq
