#include "support/page_routes.h"

#include <QUrl>

namespace mosaiq::test {

PageRoutes::PageRoutes(FixtureServer& server, std::function<QString(const QString&)> mask)
    : m_server(server), m_mask(std::move(mask)) {}

QString PageRoutes::Masked(const QString& target) const {
    return m_mask ? m_mask(target) : target;
}

QString PageRoutes::AddressOf(const RecordedRequest& request) const {
    return (request.tls ? QStringLiteral("https://") : QStringLiteral("http://")) + request.host +
           Masked(request.target);
}

void PageRoutes::Serve(const QString& address, std::vector<Reply> replies) {
    const QUrl url(address);
    const QString host = url.host();
    const QString path = url.path(QUrl::FullyEncoded);
    const QString target =
        path + (url.hasQuery() ? u'?' + url.query(QUrl::FullyEncoded) : QString());
    const QString key = url.scheme() + QStringLiteral("://") + host + Masked(target);
    {
        std::lock_guard lock(m_mutex);
        m_replies[key] = std::move(replies);
        if (!m_routed.insert({host, path}).second) {
            return;
        }
    }
    m_server.Route(host, path, [this](const RecordedRequest& r) {
        std::lock_guard lock(m_mutex);
        const auto found = m_replies.find(AddressOf(r));
        if (found == m_replies.end() || found->second.empty()) {
            Reply missing;
            missing.status = 404;
            missing.body = "no page at this address";
            return missing;
        }
        Reply reply = found->second.front();
        if (found->second.size() > 1) {
            found->second.erase(found->second.begin());
        }
        return reply;
    });
}

}  // namespace mosaiq::test
