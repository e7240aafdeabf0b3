#pragma once

#include "support/fixture_server.h"

#include <QString>

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <vector>

namespace mosaiq::test {

// Pages of a fixture server by whole address (path and query): what site tests and
// command-line tests serve. Every other address of a routed path gets 404.
class PageRoutes {
  public:
    // `mask` turns a request target (path and query) into the form the addresses are
    // written in (volatile query values replaced); none keeps it as it is.
    explicit PageRoutes(FixtureServer& server,
                        std::function<QString(const QString&)> mask = nullptr);

    // Serves the replies one after the other at the address; the last one stays.
    void Serve(const QString& address, std::vector<Reply> replies);

    // "http://host/path?query" of a recorded request, masked.
    QString AddressOf(const RecordedRequest& request) const;

  private:
    QString Masked(const QString& target) const;

    FixtureServer& m_server;
    std::function<QString(const QString&)> m_mask;
    mutable std::mutex m_mutex;
    std::map<QString, std::vector<Reply>> m_replies;
    std::set<std::pair<QString, QString>> m_routed;
};

}  // namespace mosaiq::test
