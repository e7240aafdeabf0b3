#include "site_test.h"

#include "support/fixture_files.h"

#include "web/cookie_store.h"
#include "web/shared_cookie_hooks.h"

#include <QNetworkCookie>
#include <QUrl>
#include <QUrlQuery>

namespace mosaiq::test {

void SiteTest::SetUp() {
    Sandbox::SetUp();
    InstallSharedCookieStore();
    state.frontend = &frontend;
    state.m_ready = 1;
    state.m_dataDir = dataDir();
    g_pictureQueue().Clear();
    g_pictureQueue().folder = saveDir();
}

void SiteTest::TearDown() {
    g_pictureQueue().Clear();
    Sandbox::TearDown();
}

QString SiteTest::Masked(const QString& target) const {
    const qsizetype question = target.indexOf(u'?');
    if (question < 0) {
        return target;
    }
    QStringList items = target.mid(question + 1).split(u'&');
    for (QString& item : items) {
        const qsizetype equals = item.indexOf(u'=');
        if (equals > 0 && masked.contains(item.left(equals))) {
            item = item.left(equals + 1) + u'*';
        }
    }
    return target.left(question + 1) + items.join(u'&');
}

void SiteTest::Serve(const QString& address, Reply reply) {
    ServeInTurn(address, {std::move(reply)});
}

void SiteTest::ServeInTurn(const QString& address, std::vector<Reply> replies) {
    m_routes.Serve(address, std::move(replies));
}

std::string SiteTest::RequestLog() const {
    QStringList lines;
    for (const RecordedRequest& r : server.requests()) {
        lines << r.method + u' ' + m_routes.AddressOf(r);
        for (const QString& name : loggedHeaders) {
            if (r.hasHeader(name.toLatin1())) {
                lines << QStringLiteral("  ") + name + QStringLiteral(": ") +
                             QString::fromUtf8(r.header(name.toLatin1()));
            }
        }
        if (!r.body.isEmpty()) {
            lines << QStringLiteral("  body: ") + QString::fromUtf8(r.body);
        }
    }
    return lines.join(u'\n').toStdString();
}

void SiteTest::ExpectRequests(std::initializer_list<const char*> lines) const {
    QStringList expected;
    for (const char* line : lines) {
        expected << QString::fromUtf8(line);
    }
    EXPECT_EQ(RequestLog(), expected.join(u'\n').toStdString());
}

QByteArray SiteTest::Fixture(const QString& name) {
    return FixtureBytes(name);
}

Reply SiteTest::Page(const QString& name, bool gzip) {
    Reply reply;
    reply.body = Fixture(name);
    reply.gzip = gzip;
    return reply;
}

Reply SiteTest::Text(const QByteArray& body) {
    Reply reply;
    reply.body = body;
    return reply;
}

Reply SiteTest::Broken() {
    Reply reply;
    reply.body = QByteArray(200, 'x');
    reply.closeAfter = 10;
    return reply;
}

void SiteTest::LogIn(const QString& domain, const QList<QPair<QByteArray, QByteArray>>& pairs) {
    QList<QNetworkCookie> cookies;
    for (const auto& [name, value] : pairs) {
        QNetworkCookie cookie(name, value);
        cookie.setDomain(domain);
        cookie.setPath(QStringLiteral("/"));
        cookies.append(cookie);
    }
    SharedCookieStore()->Insert(cookies);
}

QStringList SiteTest::Queued() const {
    QStringList queued;
    for (const PictureEntry& entry : g_pictureQueue().entries) {
        QString line = entry.address + QStringLiteral(" <- ") + entry.fileName;
        if (!entry.headerText.isEmpty()) {
            line += QStringLiteral(" | ") + entry.headerText;
        }
        queued << line;
    }
    return queued;
}

QStringList SiteTest::Titles() const {
    QStringList titles;
    for (int i = 0; i < state.m_records.Size(); ++i) {
        titles << state.m_records.At(i)->title;
    }
    return titles;
}

}  // namespace mosaiq::test
