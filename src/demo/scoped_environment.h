#pragma once

#include <QByteArray>

namespace mosaiq {

// Sets an environment variable and gives the former state back when it goes out of scope.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : m_name(name), m_hadValue(qEnvironmentVariableIsSet(name)), m_former(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnvironment() {
        if (m_hadValue) {
            qputenv(m_name, m_former);
        } else {
            qunsetenv(m_name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* m_name;
    bool m_hadValue;
    QByteArray m_former;
};

}  // namespace mosaiq
