#pragma once

#include <openssl/types.h>

#include <QByteArray>

#include <atomic>
#include <functional>
#include <list>
#include <thread>

namespace mosaiq {

// The answer to one request.
struct LoopbackReply {
    int status = 404;
    QByteArray contentType;
    QByteArray body;
};

// A small HTTP/1.1 server on 127.0.0.1, HTTPS when given a TLS context. It answers GET only
// and one request per connection, each connection on a thread of its own, so that stopping
// never waits for a client: every wait ends at the stop or after a few seconds.
class LoopbackServer {
  public:
    // `host` is the Host header as sent, `target` the request target.
    using Handler = std::function<LoopbackReply(const QByteArray& host, const QByteArray& target)>;

    // Takes a reference on `tls` when given.
    LoopbackServer(Handler handler, SSL_CTX* tls);
    // Stops, closing every connection, and returns once all its threads have ended.
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // Listens on any free port, once; the port, or 0 when it cannot listen.
    int Listen();

  private:
    struct Worker {
        std::thread thread;
        std::atomic<bool> done{false};
    };

    void Accept();
    void Serve(int socket);
    QByteArray Answer(const QByteArray& head) const;

    Handler m_handler;
    SSL_CTX* m_tls;
    int m_listener = -1;
    int m_stop[2] = {-1, -1};  // written once on stop; never read, so every poll sees it
    std::thread m_acceptor;
    std::list<Worker> m_workers;  // touched by the acceptor only, until it has ended
};

}  // namespace mosaiq
