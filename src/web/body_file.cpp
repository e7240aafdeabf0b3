#include "web/body_file.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace mosaiq {

BodyFile::BodyFile(const QString& target)
    : m_target(target), m_file(target + QStringLiteral(".XXXXXX.part")) {
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
