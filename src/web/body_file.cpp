#include "web/body_file.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <filesystem>
#include <mutex>
#include <system_error>

namespace mosaiq {
namespace {

// The process's umask, read without changing it where the system tells it (changing it, even
// for a moment, would race with other threads creating files).
mode_t ProcessUmask() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok) {
                    return mode_t(mask);
                }
            }
        }
    }
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

// What a file made with open(2) would get: the temporary file is made for its owner only.
QFileDevice::Permissions UmaskPermissions() {
    const mode_t mode = 0666 & ~ProcessUmask();
    QFileDevice::Permissions permissions;
    const std::pair<mode_t, QFileDevice::Permissions> bits[] = {
        {S_IRUSR, QFileDevice::ReadOwner | QFileDevice::ReadUser},
        {S_IWUSR, QFileDevice::WriteOwner | QFileDevice::WriteUser},
        {S_IRGRP, QFileDevice::ReadGroup},
        {S_IWGRP, QFileDevice::WriteGroup},
        {S_IROTH, QFileDevice::ReadOther},
        {S_IWOTH, QFileDevice::WriteOther},
    };
    for (const auto& [bit, permission] : bits) {
        if (mode & bit) {
            permissions |= permission;
        }
    }
    return permissions;
}

}  // namespace

namespace {

// Short and independent of the target's name: a target whose name is as long as the file
// system allows leaves no room for a suffix.
QString TemporaryTemplate(const QString& target) {
    return QFileInfo(target).absolutePath() + QStringLiteral("/.mosaiq-XXXXXX.part");
}

}  // namespace

BodyFile::BodyFile(const QString& target) : m_target(target), m_file(TemporaryTemplate(target)) {
    m_open = m_file.open();
    if (!m_open) {
        m_error = m_file.errorString();
    }
}

void BodyFile::Fail(const QString& error) {
    if (m_error.isEmpty()) {
        m_error = error;
    }
    m_open = false;
}

void BodyFile::Write(const char* data, qint64 length) {
    if (m_open && m_file.write(data, length) != length) {
        Fail(m_file.errorString());
    }
}

bool BodyFile::Commit() {
    // A full disk often shows only when the buffered rest is written out.
    if (m_open && !m_file.flush()) {
        Fail(m_file.errorString());
    }
    if (!m_open) {
        return false;
    }
    m_file.setPermissions(UmaskPermissions());
    m_file.close();
    if (m_file.error() != QFileDevice::NoError) {
        Fail(m_file.errorString());
        return false;
    }
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(m_file.fileName().toStdU16String()),
                            std::filesystem::path(m_target.toStdU16String()), error);
    if (error) {
        Fail(QString::fromStdString(error.message()));
        return false;
    }
    m_file.setAutoRemove(false);
    return true;
}

}  // namespace mosaiq
