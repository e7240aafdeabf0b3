#pragma once

#include "core/job_state.h"
#include "core/picture_queue.h"
#include "support/fixture_server.h"
#include "support/page_routes.h"
#include "support/recording_frontend.h"
#include "support/sandbox.h"
#include "web/pause_clock.h"

#include <QFile>
#include <QStringList>

#include <initializer_list>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace mosaiq::test {

// A site adapter under test, as curl's test suite tests a protocol: the canned pages it is
// served, and the whole log of the requests it made compared with the expected one.
//
//   Serve("https://tieba.baidu.com/photo/g?kw=abc&pn=1&_=*", Page("baidu/forum1.json"));
//   FetchTiebaForumAlbums(state, "abc");
//   ExpectRequests({"GET https://tieba.baidu.com/photo/g?kw=abc&pn=1&_=*",
//                   "  Referer: https://tieba.baidu.com/"});
//
// Volatile query values (cache breakers, time stamps, tokens) are written "*" in both the
// served and the expected addresses; `masked` names them. Each logged request is its method
// and address, then one indented line per header of `loggedHeaders` it carried, then its body
// when it had one. Pauses are recorded, not slept.
class SiteTest : public Sandbox {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Serves `reply` at the address (query as written, masked values "*"); every other address
    // gets 404. A later Serve of the same address replaces the reply.
    void Serve(const QString& address, Reply reply);
    // Serves the replies one after the other at that address; the last one stays.
    void ServeInTurn(const QString& address, std::vector<Reply> replies);

    // The whole request log, one line per entry, compared as one text so a failure shows a
    // line diff.
    void ExpectRequests(std::initializer_list<const char*> lines) const;
    std::string RequestLog() const;

    static QByteArray Fixture(const QString& name);
    static Reply Page(const QString& name, bool gzip = false);
    static Reply Text(const QByteArray& body);
    // An answer cut short: the request fails.
    static Reply Broken();

    // Session cookies for every host of `domain` (".qq.com"), as the login window leaves them.
    static void LogIn(const QString& domain, const QList<QPair<QByteArray, QByteArray>>& pairs);

    int AddRecord(const ST_PERLISTRECORD& record) { return state.m_records.Append(record) - 1; }
    // A listed album as the picture adapters find it.
    static ST_PERLISTRECORD Album(const char* title, const char* ref, int count = -1) {
        ST_PERLISTRECORD record;
        record.title = QString::fromUtf8(title);
        record.albumRef = QString::fromUtf8(ref);
        record.pictureCount = count;
        return record;
    }
    // The queued pictures: address, then " <- " and the description, then " | " and the
    // request-header text when there is one.
    QStringList Queued() const;
    QStringList Titles() const;

    QStringList masked{QStringLiteral("_"), QStringLiteral("t")};
    QStringList loggedHeaders{QStringLiteral("Referer")};

    FixtureServer server;
    RecordingFrontend frontend;
    JobState state;

  private:
    QString Masked(const QString& target) const;

    PageRoutes m_routes{server, [this](const QString& target) { return Masked(target); }};
};

}  // namespace mosaiq::test
