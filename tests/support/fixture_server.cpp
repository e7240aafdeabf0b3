#include "support/fixture_server.h"

#include <httplib.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>

namespace mosaiq::test {
namespace {

constexpr char kHost[] = "127.0.0.1";

QString TlsFile(const char* name) {
    return QStringLiteral(MOSAIQ_FIXTURES_DIR "/tls/") + QLatin1String(name);
}

RecordedRequest Record(const httplib::Request& req, bool tls) {
    RecordedRequest r;
    r.method = QString::fromStdString(req.method);
    QString host = QString::fromStdString(req.get_header_value("Host"));
    const qsizetype colon = host.lastIndexOf(QLatin1Char(':'));
    if (colon > 0 && !host.endsWith(QLatin1Char(']'))) {
        host.truncate(colon);
    }
    r.host = host.toLower();
    r.path = QString::fromStdString(req.path);
    r.target = QString::fromStdString(req.target);
    for (const auto& [name, value] : req.headers) {
        r.headers.append({QByteArray::fromStdString(name), QByteArray::fromStdString(value)});
    }
    r.body = QByteArray::fromStdString(req.body);
    r.tls = tls;
    return r;
}

void SaveEnv(const char* name, QByteArray& old, bool& had) {
    had = qEnvironmentVariableIsSet(name);
    old = qgetenv(name);
}

void RestoreEnv(const char* name, const QByteArray& old, bool had) {
    if (had) {
        qputenv(name, old);
    } else {
        qunsetenv(name);
    }
}

}  // namespace

QByteArray RecordedRequest::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

bool RecordedRequest::hasHeader(const QByteArray& name) const {
    for (const auto& header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

QByteArray GzipBytes(const QByteArray& bytes) {
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(bytes.size()))) + 32, Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    z.avail_in = uInt(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

FixtureServer::FixtureServer()
    : m_http(std::make_unique<httplib::Server>()),
      m_https(
          std::make_unique<httplib::SSLServer>(TlsFile("server.pem").toLocal8Bit().constData(),
                                               TlsFile("server.key").toLocal8Bit().constData())) {
    SaveEnv("MOSAIQ_CONNECT_TO", m_oldConnectTo, m_hadConnectTo);
    SaveEnv("MOSAIQ_CA_FILE", m_oldCaFile, m_hadCaFile);
    Serve(*m_http, false);
    Serve(*m_https, true);
    m_httpPort = m_http->bind_to_any_port(kHost);
    m_httpsPort = m_https->bind_to_any_port(kHost);
    m_httpThread = std::thread([this] { m_http->listen_after_bind(); });
    m_httpsThread = std::thread([this] { m_https->listen_after_bind(); });
    // A stop() before the accept loop runs would be missed and the loop would never end.
    while (!m_http->is_running() || !m_https->is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    qputenv("MOSAIQ_CONNECT_TO", connectTo().toUtf8());
    qputenv("MOSAIQ_CA_FILE", caFile().toLocal8Bit());
}

FixtureServer::~FixtureServer() {
    m_stopping = true;
    m_http->stop();
    m_https->stop();
    m_httpThread.join();
    m_httpsThread.join();
    RestoreEnv("MOSAIQ_CONNECT_TO", m_oldConnectTo, m_hadConnectTo);
    RestoreEnv("MOSAIQ_CA_FILE", m_oldCaFile, m_hadCaFile);
}

QString FixtureServer::connectTo() const {
    return QStringLiteral("http=%1:%2,https=%1:%3")
        .arg(QLatin1String(kHost))
        .arg(m_httpPort)
        .arg(m_httpsPort);
}

QString FixtureServer::caFile() {
    return TlsFile("ca.pem");
}

void FixtureServer::Route(const QString& host, const QString& path, Reply reply) {
    Route(host, path, [reply](const RecordedRequest&) { return reply; });
}

void FixtureServer::Route(const QString& host, const QString& path, Handler handler) {
    std::lock_guard lock(m_mutex);
    m_routes.push_back({host.toLower(), path, std::move(handler)});
}

std::vector<RecordedRequest> FixtureServer::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

int FixtureServer::Count(const QString& host, const QString& path) const {
    std::lock_guard lock(m_mutex);
    int count = 0;
    for (const RecordedRequest& r : m_requests) {
        count += (host.isEmpty() || r.host == host.toLower()) && r.path == path;
    }
    return count;
}

void FixtureServer::ClearRequests() {
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

void FixtureServer::SleepUnlessStopping(int ms) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!m_stopping && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void FixtureServer::Serve(httplib::Server& server, bool tls) {
    // Enough workers for the 15 requests a download has in flight at most, plus slack; every
    // worker is a thread started with the server, so more would cost each test its start-up.
    server.new_task_queue = [] { return new httplib::ThreadPool(20); };
    // An idle keep-alive connection holds a worker, and stop() waits for it. One request per
    // connection leaves none idle, so a test's teardown costs nothing; the wait for that one
    // request stays long, since the server also applies it to a connection's first request
    // (with 0 it dropped connections whose request came 10 ms after the accept: a loaded
    // machine then failed requests at random).
    server.set_keep_alive_max_count(1);
    server.set_keep_alive_timeout(5);
    server.set_payload_max_length(64 * 1024 * 1024);
    const auto handle = [this, tls](const httplib::Request& req, httplib::Response& res) {
        const RecordedRequest request = Record(req, tls);
        // The server would otherwise compress on its own when the client offers gzip; a
        // route sends exactly the bytes it was given.
        const_cast<httplib::Request&>(req).headers.erase("Accept-Encoding");
        Handler handler;
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
            for (const RouteEntry& route : m_routes) {
                if ((route.host.isEmpty() || route.host == request.host) &&
                    route.path == request.path) {
                    handler = route.handler;
                }
            }
        }
        Reply reply;
        if (handler) {
            reply = handler(request);
        } else {
            reply.status = 404;
            reply.body = "no route";
        }
        Answer(request, reply, &res);
    };
    const char* any = ".*";
    server.Get(any, handle);
    server.Post(any, handle);
    server.Put(any, handle);
    server.Delete(any, handle);
    server.Patch(any, handle);
    server.Options(any, handle);
}

void FixtureServer::Answer(const RecordedRequest&, const Reply& reply, void* response) {
    auto& res = *static_cast<httplib::Response*>(response);
    SleepUnlessStopping(reply.delayMs);
    res.status = reply.status;
    std::string contentType = "application/octet-stream";
    for (const auto& [name, value] : reply.headers) {
        if (name.compare("Content-Type", Qt::CaseInsensitive) == 0) {
            contentType = value.toStdString();
        } else {
            res.headers.emplace(name.toStdString(), value.toStdString());
        }
    }
    auto body = std::make_shared<QByteArray>(reply.gzip ? GzipBytes(reply.body) : reply.body);
    if (reply.gzip) {
        res.set_header("Content-Encoding", "gzip");
    }
    const qsizetype piece = qMax<qsizetype>(1, reply.pieceSize);
    const qsizetype limit =
        reply.closeAfter >= 0 ? qMin(reply.closeAfter, body->size()) : body->size();
    const qint64 declared = reply.declaredLength >= 0 ? reply.declaredLength : body->size();
    const int pause = reply.pieceDelayMs;
    if (reply.chunked) {
        res.set_chunked_content_provider(
            contentType, [this, body, piece, limit, pause](size_t offset, httplib::DataSink& sink) {
                if (qsizetype(offset) >= limit) {
                    if (limit < body->size()) {
                        return false;  // drop the connection mid-body
                    }
                    sink.done();
                    return true;
                }
                if (offset > 0) {
                    SleepUnlessStopping(pause);
                }
                const qsizetype n = qMin(piece, limit - qsizetype(offset));
                return sink.write(body->constData() + offset, size_t(n));
            });
        return;
    }
    if (declared == 0) {
        res.set_content(std::string(), contentType);
        return;
    }
    res.set_content_provider(
        size_t(declared), contentType,
        [this, body, piece, limit, pause](size_t offset, size_t length, httplib::DataSink& sink) {
            if (qsizetype(offset) >= limit) {
                return false;  // declared more than there is, or told to drop: cut here
            }
            if (offset > 0) {
                SleepUnlessStopping(pause);
            }
            const qsizetype n = std::min({piece, qsizetype(length), limit - qsizetype(offset)});
            return sink.write(body->constData() + offset, size_t(n));
        });
}

}  // namespace mosaiq::test
