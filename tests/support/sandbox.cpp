#include "support/sandbox.h"

#include <QDir>

namespace mosaiq::test {

void Sandbox::SetUp() {
    ASSERT_TRUE(m_root.isValid());
    const QDir root(m_root.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("data")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("save")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("home")));
    m_dataDir = root.filePath(QStringLiteral("data")) + QDir::separator();
    m_saveDir = root.filePath(QStringLiteral("save")) + QDir::separator();
    m_hadXdgDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    m_oldXdgDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
}

void Sandbox::TearDown() {
    if (m_hadXdgDataHome) {
        qputenv("XDG_DATA_HOME", m_oldXdgDataHome);
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
}

}  // namespace mosaiq::test
