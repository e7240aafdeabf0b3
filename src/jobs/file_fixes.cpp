#include "jobs/file_fixes.h"

#include "core/naming.h"
#include "core/picture_queue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <filesystem>

namespace mosaiq {
namespace {

constexpr int kMagicLength = 7;

bool StartsWith(const QByteArray& head, std::initializer_list<int> bytes) {
    if (head.size() < qsizetype(bytes.size())) {
        return false;
    }
    int at = 0;
    for (const int byte : bytes) {
        if (uint8_t(head[at++]) != byte) {
            return false;
        }
    }
    return true;
}

// Position of the extension's "." inside the name part of `path`, or -1.
qsizetype ExtensionStart(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype separator =
        std::max(path.lastIndexOf(u'/'), path.lastIndexOf(QDir::separator()));
    return dot > separator ? dot : -1;
}

// The queue keeps a complete path as a complete path, and a name as a name.
QString StoredName(const QString& oldName, const QString& newPath) {
    if (oldName == QFileInfo(oldName).fileName()) {
        return QFileInfo(newPath).fileName();
    }
    return newPath;
}

}  // namespace

QString ExtensionForMagic(const QByteArray& head, const QString& hint) {
    if (StartsWith(head, {'B', 'M'})) {
        return QStringLiteral(".bmp");
    }
    if (StartsWith(head, {'G', 'I', 'F'})) {
        return QStringLiteral(".gif");
    }
    if (StartsWith(head, {'I', 'I'}) || StartsWith(head, {'M', 'M'})) {
        return QStringLiteral(".tiff");
    }
    if (StartsWith(head, {0x89, 'P'})) {
        return QStringLiteral(".png");
    }
    if (StartsWith(head, {0xFF, 0xD8})) {
        return QStringLiteral(".jpg");
    }
    if (StartsWith(head, {0, 0, 2, 0, 0}) || StartsWith(head, {0, 0, 16, 0, 0})) {
        return QStringLiteral(".tga");
    }
    if (StartsWith(head, {0, 0, 1, 0, 1})) {
        return QStringLiteral(".ico");
    }
    if (StartsWith(head, {0, 0, 2, 0, 1})) {
        return QStringLiteral(".cur");
    }
    return hint;
}

void FixFormats(PictureQueue& queue, const QString& hint) {
    for (PictureEntry& entry : queue.entries) {
        const QString path = PictureTargetPath(queue.folder, entry.fileName);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray head = file.read(kMagicLength);
        file.close();
        const qsizetype dot = ExtensionStart(path);
        const QString stem = dot < 0 ? path : path.left(dot);
        QString extension = ExtensionForMagic(head, hint);
        if (extension.isEmpty()) {
            extension = dot < 0 ? QString() : path.mid(dot);
        }
        const QString newPath = stem + extension;
        if (newPath == path || !QFile::rename(path, newPath)) {
            continue;
        }
        entry.fileName = StoredName(entry.fileName, newPath);
    }
}

void FixOrder(const PictureQueue& queue, int64_t nowSeconds) {
    int64_t seconds = nowSeconds;
    for (const PictureEntry& entry : queue.entries) {
        SetFileTimes(PictureTargetPath(queue.folder, entry.fileName), seconds);
        seconds -= 60;
    }
}

void SetFileTimes(const QString& path, int64_t seconds) {
    if (seconds <= 0) {
        return;
    }
    const QDateTime time = QDateTime::fromSecsSinceEpoch(seconds);
    if (QFileInfo(path).isDir()) {
        namespace fs = std::filesystem;
        std::error_code ignored;
        const auto sinceNow = std::chrono::seconds(seconds - QDateTime::currentSecsSinceEpoch());
        fs::last_write_time(fs::path(path.toStdU16String()),
                            fs::file_time_type::clock::now() + sinceNow, ignored);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        return;
    }
    file.setFileTime(time, QFileDevice::FileAccessTime);
    file.setFileTime(time, QFileDevice::FileModificationTime);
    file.setFileTime(time, QFileDevice::FileBirthTime);
}

}  // namespace mosaiq
