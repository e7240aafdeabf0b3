#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace mosaiq::test {

// Gives each test its own data folder, save folder and user home folders (XDG_DATA_HOME,
// where the cookie store lives, XDG_CONFIG_HOME, XDG_CACHE_HOME, and a Pictures folder under
// home/), removed when the test ends.
class Sandbox : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Folders, each ending with a separator.
    QString dataDir() const { return m_dataDir; }
    QString saveDir() const { return m_saveDir; }
    QString root() const { return m_root.path(); }
    // The user's folders of the sandbox: "home/data", "home/config", "home/cache",
    // "home/Pictures", without a separator at the end.
    QString homeDir(const char* name) const;

  private:
    void SetEnv(const char* name, const QByteArray& value);

    QTemporaryDir m_root;
    QString m_dataDir;
    QString m_saveDir;
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_oldEnv;
};

}  // namespace mosaiq::test
