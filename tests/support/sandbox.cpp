#include "support/sandbox.h"

#include "web/pause_clock.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <iterator>

namespace mosaiq::test {

QString Sandbox::homeDir(const char* name) const {
    return QDir(m_root.path()).filePath(QStringLiteral("home/") + QLatin1String(name));
}

void Sandbox::SetEnv(const char* name, const QByteArray& value) {
    m_oldEnv.emplace_back(name, qEnvironmentVariableIsSet(name)
                                    ? std::optional<QByteArray>(qgetenv(name))
                                    : std::nullopt);
    qputenv(name, value);
}

void Sandbox::SetUp() {
    ASSERT_TRUE(m_root.isValid());
    const QDir root(m_root.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("data")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("save")));
    for (const char* name : {"data", "config", "cache"}) {
        ASSERT_TRUE(QDir().mkpath(homeDir(name)));
    }
    m_dataDir = root.filePath(QStringLiteral("data")) + QDir::separator();
    m_saveDir = root.filePath(QStringLiteral("save")) + QDir::separator();
    // The program adds "Mosaiq" below each; Pictures is made only when a download uses it.
    SetEnv("XDG_DATA_HOME", homeDir("data").toLocal8Bit());
    SetEnv("XDG_CONFIG_HOME", homeDir("config").toLocal8Bit());
    SetEnv("XDG_CACHE_HOME", homeDir("cache").toLocal8Bit());
    QFile userDirs(homeDir("config") + QStringLiteral("/user-dirs.dirs"));
    ASSERT_TRUE(userDirs.open(QIODevice::WriteOnly));
    userDirs.write("XDG_PICTURES_DIR=\"" + homeDir("Pictures").toLocal8Bit() + "\"\n");
    m_formerSleeper = InstallSleeper([this](std::chrono::milliseconds pause) {
        {
            std::lock_guard lock(m_pausesMutex);
            m_pauses.push_back(pause.count());
        }
        if (onPause) {
            onPause();
        }
    });
}

std::vector<long long> Sandbox::Pauses() const {
    std::lock_guard lock(m_pausesMutex);
    return m_pauses;
}

std::vector<long long> Sandbox::Waits() const {
    std::vector<long long> waits;
    const std::vector<long long> pauses = Pauses();
    std::copy_if(pauses.begin(), pauses.end(), std::back_inserter(waits),
                 [](long long ms) { return ms > 0; });
    return waits;
}

void Sandbox::ClearPauses() {
    std::lock_guard lock(m_pausesMutex);
    m_pauses.clear();
}

void Sandbox::TearDown() {
    InstallSleeper(m_formerSleeper);
    for (auto it = m_oldEnv.rbegin(); it != m_oldEnv.rend(); ++it) {
        if (it->second) {
            qputenv(it->first, *it->second);
        } else {
            qunsetenv(it->first);
        }
    }
    m_oldEnv.clear();
}

}  // namespace mosaiq::test
