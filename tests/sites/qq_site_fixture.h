#pragma once

#include "core/job_state.h"
#include "core/picture_queue.h"
#include "sites/qq_common.h"
#include "support/fixture_server.h"
#include "support/recording_frontend.h"
#include "support/sandbox.h"
#include "web/cookie_store.h"
#include "web/shared_cookie_hooks.h"

#include <QFile>
#include <QNetworkCookie>
#include <QUrlQuery>

#include <mutex>
#include <vector>

namespace mosaiq::test {

// The fixture server, a recording Frontend and a ready job state over a sandbox. The QQ
// adapters' pauses are recorded instead of slept, and their retries come at once.
class QqSiteTest : public Sandbox {
  protected:
    void SetUp() override {
        Sandbox::SetUp();
        InstallSharedCookieStore();
        state.frontend = &frontend;
        state.m_ready = 1;
        state.m_dataDir = dataDir();
        g_pictureQueue().Clear();
        g_pictureQueue().folder = saveDir();
        Pauses().clear();
        m_formerTiming = SetQqTiming({&RecordPause, 0});
    }
    void TearDown() override {
        SetQqTiming(m_formerTiming);
        g_pictureQueue().Clear();
        Sandbox::TearDown();
    }

    static std::vector<int>& Pauses() {
        static std::vector<int> pauses;
        return pauses;
    }
    static void RecordPause(int milliseconds) { Pauses().push_back(milliseconds); }

    static QByteArray Fixture(const QString& name) {
        QFile file(QStringLiteral(MOSAIQ_FIXTURES_DIR "/") + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }
    static Reply Page(const QString& name, bool gzip = false) {
        Reply reply;
        reply.body = Fixture(name);
        reply.gzip = gzip;
        return reply;
    }
    // An answer cut short: the request fails.
    static Reply Broken() {
        Reply reply;
        reply.body = QByteArray(200, 'x');
        reply.closeAfter = 10;
        return reply;
    }

    // Session cookies for every QQ host, as the login window leaves them.
    static void LogIn(const QList<QPair<QByteArray, QByteArray>>& pairs) {
        QList<QNetworkCookie> cookies;
        for (const auto& [name, value] : pairs) {
            QNetworkCookie cookie(name, value);
            cookie.setDomain(QStringLiteral(".qq.com"));
            cookie.setPath(QStringLiteral("/"));
            cookies.append(cookie);
        }
        SharedCookieStore()->Insert(cookies);
    }

    static QString QueryItem(const RecordedRequest& request, const QString& name) {
        const QString target = request.target;
        return QUrlQuery(target.mid(target.indexOf(u'?') + 1))
            .queryItemValue(name, QUrl::FullyDecoded);
    }
    std::vector<RecordedRequest> RequestsTo(const QString& host, const QString& path) const {
        std::vector<RecordedRequest> found;
        for (const RecordedRequest& r : server.requests()) {
            if (r.host == host && r.path == path) {
                found.push_back(r);
            }
        }
        return found;
    }
    QStringList Addresses() const {
        QStringList addresses;
        for (const PictureEntry& entry : g_pictureQueue().entries) {
            addresses << entry.address;
        }
        return addresses;
    }
    int AddRecord(const ST_PERLISTRECORD& record) { return state.m_records.Append(record) - 1; }

    FixtureServer server;
    RecordingFrontend frontend;
    JobState state;

  private:
    QqTiming m_formerTiming{};
};

}  // namespace mosaiq::test
