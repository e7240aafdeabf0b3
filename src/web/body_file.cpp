#include "web/body_file.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace mosaiq {

namespace {

// Short and independent of the target's name: a target whose name is as long as the file
// system allows leaves no room for a suffix.
QString TemporaryTemplate(const QString& target) {
    return QFileInfo(target).absolutePath() + QStringLiteral("/.mosaiq-XXXXXX.part");
}

}  // namespace

BodyFile::BodyFile(const QString& target) : m_target(target), m_file(TemporaryTemplate(target)) {
    m_open = m_file.open();
}

void BodyFile::Write(const char* data, qint64 length) {
    if (m_open && m_file.write(data, length) != length) {
        m_open = false;
    }
}

bool BodyFile::Commit() {
    if (!m_open || !m_file.flush()) {
        return false;
    }
    m_file.close();
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(m_file.fileName().toStdU16String()),
                            std::filesystem::path(m_target.toStdU16String()), error);
    if (error) {
        return false;
    }
    m_file.setAutoRemove(false);
    return true;
}

}  // namespace mosaiq
