#pragma once

#include "demo/scoped_environment.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace mosaiq {

class LoopbackServer;

// The sample QQ Zone account of "mosaiq-cli demo": pages and pictures bundled with the
// program, served on 127.0.0.1 over HTTP and HTTPS (a certificate made for this run only).
// While it runs, every request of the program goes to it (MOSAIQ_CONNECT_TO, MOSAIQ_CA_FILE);
// the former values come back when it stops.
class DemoSite {
  public:
    DemoSite();
    ~DemoSite();
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // False with `error` set when the site could not start.
    bool Start(QString& error);

    static QString Account() { return QStringLiteral("12345"); }

  private:
    QTemporaryDir m_folder;  // the certificate file
    std::unique_ptr<LoopbackServer> m_http, m_https;
    std::optional<ScopedEnvironment> m_connectTo, m_caFile;
};

}  // namespace mosaiq
