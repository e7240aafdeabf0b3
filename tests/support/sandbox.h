#pragma once

#include "web/pause_clock.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace mosaiq::test {

// Gives each test its own data folder, save folder and user home folders (XDG_DATA_HOME,
// where the cookie store lives, XDG_CONFIG_HOME, XDG_CACHE_HOME, and a Pictures folder under
// home/), removed when the test ends. No wait of the program is slept: each is recorded.
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

    // Every wait of the program (retry delays, pauses between pages or pictures), in
    // milliseconds and in order, recorded instead of slept; a test about time installs its
    // own sleeper. `onPause` runs in the waiting thread after the wait is recorded.
    std::vector<long long> Pauses() const;
    // The waits that last (a page walk without a pause still passes zero to the clock).
    std::vector<long long> Waits() const;
    void ClearPauses();
    std::function<void()> onPause;

  protected:
    // Sets an environment variable for this test; tear-down gives the former value back, also
    // after a failed assertion ended the test early.
    void SetEnv(const char* name, const QByteArray& value);

  private:
    QTemporaryDir m_root;
    QString m_dataDir;
    QString m_saveDir;
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_oldEnv;
    mutable std::mutex m_pausesMutex;
    std::vector<long long> m_pauses;
    Sleeper m_formerSleeper;
};

}  // namespace mosaiq::test
