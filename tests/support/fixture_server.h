#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace mosaiq::test {

// How a route answers. The defaults give "200 OK" with the body and a Content-Length.
struct Reply {
    int status = 200;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;  // e.g. {"Content-Type", "text/html"}
    int delayMs = 0;              // wait before answering (a long one: a server that hangs)
    bool gzip = false;            // send GzipBytes(body) with "Content-Encoding: gzip"
    bool chunked = false;         // chunked transfer encoding
    qsizetype pieceSize = 65536;  // bytes per write (per chunk when chunked)
    int pieceDelayMs = 0;         // wait between writes
    qsizetype closeAfter = -1;    // drop the connection after this many body bytes
    qint64 declaredLength = -1;   // Content-Length to announce instead of the body's size
};

struct RecordedRequest {
    QString method;
    QString host;    // Host header without the port
    QString path;    // without the query
    QString target;  // path and query as sent
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    bool tls = false;

    // First value of a header (name case-insensitive); empty when absent.
    QByteArray header(const QByteArray& name) const;
    bool hasHeader(const QByteArray& name) const;
};

using Handler = std::function<Reply(const RecordedRequest&)>;

// Loopback HTTP and HTTPS server for tests, on 127.0.0.1 with ephemeral ports.
//
//   FixtureServer server;                       // requests now reach it
//   Reply page;
//   page.body = "<html>...";
//   server.Route("user.qzone.qq.com", "/index", page);
//   server.Route("", "/any-host", [](const RecordedRequest& r) { return Reply{...}; });
//   HttpRequest(response, RequestOptions("https://user.qzone.qq.com/index", "", 20000), 0);
//   EXPECT_EQ(server.Count("user.qzone.qq.com", "/index"), 1);
//
// While it lives, MOSAIQ_CONNECT_TO sends http:// and https:// addresses of any host to it
// and MOSAIQ_CA_FILE trusts its test CA (certificate names cover the site domains and their
// subdomains, see tests/fixtures/tls/); the former values come back when it is destroyed.
// Routes match the Host (empty: any host) and the path exactly; anything else gets 404 and is
// still recorded. Thread-safe.
class FixtureServer {
  public:
    FixtureServer();
    ~FixtureServer();
    FixtureServer(const FixtureServer&) = delete;
    FixtureServer& operator=(const FixtureServer&) = delete;

    void Route(const QString& host, const QString& path, Reply reply);
    void Route(const QString& host, const QString& path, Handler handler);

    std::vector<RecordedRequest> requests() const;
    int Count(const QString& host, const QString& path) const;
    void ClearRequests();

    int httpPort() const { return m_httpPort; }
    int httpsPort() const { return m_httpsPort; }
    // The MOSAIQ_CONNECT_TO value that reaches this server.
    QString connectTo() const;
    static QString caFile();

  private:
    struct RouteEntry {
        QString host, path;
        Handler handler;
    };
    void Serve(httplib::Server& server, bool tls);
    void Answer(const RecordedRequest& request, const Reply& reply, void* response);
    void SleepUnlessStopping(int ms) const;

    mutable std::mutex m_mutex;
    std::vector<RouteEntry> m_routes;
    std::vector<RecordedRequest> m_requests;
    std::unique_ptr<httplib::Server> m_http;
    std::unique_ptr<httplib::Server> m_https;
    std::thread m_httpThread, m_httpsThread;
    int m_httpPort = 0, m_httpsPort = 0;
    std::atomic<bool> m_stopping{false};
    QByteArray m_oldConnectTo, m_oldCaFile;
    bool m_hadConnectTo = false, m_hadCaFile = false;
};

// gzip-compressed form of `bytes` (for bodies tests cut or corrupt themselves).
QByteArray GzipBytes(const QByteArray& bytes);

}  // namespace mosaiq::test
