#pragma once

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mosaiq::test {

// Gives each test its own data folder, save folder and user data home (XDG_DATA_HOME, where
// the cookie store lives), removed when the test ends.
class Sandbox : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Folders, each ending with a separator.
    QString dataDir() const { return m_dataDir; }
    QString saveDir() const { return m_saveDir; }
    QString root() const { return m_root.path(); }

  private:
    QTemporaryDir m_root;
    QString m_dataDir;
    QString m_saveDir;
    QByteArray m_oldXdgDataHome;
    bool m_hadXdgDataHome = false;
};

}  // namespace mosaiq::test
