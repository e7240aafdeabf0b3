#include "demo/loopback_server.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QList>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <memory>
#include <system_error>

namespace mosaiq {
namespace {

using Clock = std::chrono::steady_clock;

// How long a client gets for its TLS handshake and request head, and for each step of
// taking the answer.
constexpr auto kPatience = std::chrono::seconds(5);
// A longer request head is not answered: nothing of the site needs one.
constexpr qsizetype kHeadCap = 16 * 1024;

// One connection's bytes, plain or TLS, on a non-blocking socket. Every wait ends at its
// deadline or at the server's stop, which is then taken as the end of the connection.
class Channel {
  public:
    Channel(int socket, SSL* ssl, int stop) : m_socket(socket), m_ssl(ssl), m_stop(stop) {}

    bool Handshake(Clock::time_point deadline) {
        return m_ssl == nullptr ||
               Step(POLLIN, deadline, [this] { return long(SSL_accept(m_ssl)); }) > 0;
    }
    // The count of bytes read; 0 at the end, on an error, at the deadline or at the stop.
    long Read(char* data, int size, Clock::time_point deadline) {
        return Step(POLLIN, deadline, [&]() -> long {
            return m_ssl != nullptr ? SSL_read(m_ssl, data, size) : recv(m_socket, data, size, 0);
        });
    }
    bool Write(const QByteArray& data) {
        for (qsizetype sent = 0; sent < data.size();) {
            const char* from = data.constData() + sent;
            const int size = int(std::min<qsizetype>(data.size() - sent, 64 * 1024));
            const long n = Step(POLLOUT, Clock::now() + kPatience, [&]() -> long {
                return m_ssl != nullptr ? SSL_write(m_ssl, from, size)
                                        : send(m_socket, from, size, MSG_NOSIGNAL);
            });
            if (n <= 0) {
                return false;
            }
            sent += n;
        }
        return true;
    }

  private:
    // Runs `io` until it moves bytes, waiting for the socket whenever it would block; TLS
    // may have to read to write, or the other way round.
    template <typename Io>
    long Step(short events, Clock::time_point deadline, Io io) {
        for (;;) {
            ERR_clear_error();
            errno = 0;
            const long n = io();
            if (n > 0) {
                return n;
            }
            if (m_ssl != nullptr) {
                const int error = SSL_get_error(m_ssl, int(n));
                if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) {
                    return 0;
                }
                events = error == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT;
            } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                return 0;
            }
            if (!Wait(events, deadline)) {
                return 0;
            }
        }
    }

    bool Wait(short events, Clock::time_point deadline) const {
        pollfd fds[] = {{m_socket, events, 0}, {m_stop, POLLIN, 0}};
        for (;;) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                return false;
            }
            const int n = poll(fds, 2, int(left));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            return n > 0 && fds[1].revents == 0;
        }
    }

    int m_socket;
    SSL* m_ssl;
    int m_stop;
};

// The request head without its blank line; false when it does not come whole, in time and
// within the cap.
bool ReadHead(Channel& channel, QByteArray& head, Clock::time_point deadline) {
    char buffer[4096];
    while (head.size() < kHeadCap) {
        const int size = int(std::min<qsizetype>(sizeof buffer, kHeadCap - head.size()));
        const long n = channel.Read(buffer, size, deadline);
        if (n <= 0) {
            return false;
        }
        const qsizetype from = std::max<qsizetype>(0, head.size() - 3);
        head.append(buffer, n);
        const qsizetype end = head.indexOf("\r\n\r\n", from);
        if (end >= 0) {
            head.truncate(end);
            return true;
        }
    }
    return false;
}

QByteArray Reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        default:
            return "";
    }
}

}  // namespace

LoopbackServer::LoopbackServer(Handler handler, SSL_CTX* tls)
    : m_handler(std::move(handler)), m_tls(tls) {
    if (m_tls != nullptr) {
        SSL_CTX_up_ref(m_tls);
    }
}

LoopbackServer::~LoopbackServer() {
    if (m_stop[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = write(m_stop[1], &byte, 1);
    }
    if (m_acceptor.joinable()) {
        m_acceptor.join();
    }
    for (Worker& worker : m_workers) {
        worker.thread.join();
    }
    for (const int fd : {m_listener, m_stop[0], m_stop[1]}) {
        if (fd >= 0) {
            close(fd);
        }
    }
    SSL_CTX_free(m_tls);
}

int LoopbackServer::Listen() {
    if (pipe2(m_stop, O_CLOEXEC) != 0) {
        return 0;
    }
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (m_listener < 0 || bind(m_listener, generic, length) != 0 ||
        listen(m_listener, SOMAXCONN) != 0 || getsockname(m_listener, generic, &length) != 0) {
        return 0;
    }
    m_acceptor = std::thread(&LoopbackServer::Accept, this);
    return ntohs(address.sin_port);
}

void LoopbackServer::Accept() {
    pollfd fds[] = {{m_listener, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        const int socket = accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket < 0) {
            if (errno == EMFILE || errno == ENFILE) {
                poll(&fds[1], 1, 100);  // out of descriptors: let connections end, not spin
            }
            continue;
        }
        m_workers.remove_if([](Worker& worker) {
            const bool done = worker.done;
            if (done) {
                worker.thread.join();
            }
            return done;
        });
        Worker& worker = m_workers.emplace_back();
        try {
            worker.thread = std::thread([this, socket, &worker] {
                Serve(socket);
                worker.done = true;
            });
        } catch (const std::system_error&) {
            close(socket);
            m_workers.pop_back();
        }
    }
}

void LoopbackServer::Serve(int socket) {
    // A client gone before its answer must not end the program. TLS writes can raise SIGPIPE;
    // blocked, it stays pending on this thread and ends with it.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    const std::unique_ptr<SSL, decltype(&SSL_free)> ssl(m_tls != nullptr ? SSL_new(m_tls) : nullptr,
                                                        SSL_free);
    if (m_tls == nullptr || (ssl != nullptr && SSL_set_fd(ssl.get(), socket) == 1)) {
        Channel channel(socket, ssl.get(), m_stop[0]);
        const auto deadline = Clock::now() + kPatience;
        QByteArray head;
        if (channel.Handshake(deadline) && ReadHead(channel, head, deadline) &&
            channel.Write(Answer(head)) && ssl != nullptr) {
            SSL_shutdown(ssl.get());
        }
    }
    close(socket);
}

QByteArray LoopbackServer::Answer(const QByteArray& head) const {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> request = lines.first().trimmed().split(' ');
    LoopbackReply reply;
    if (request.size() != 3 || !request[2].startsWith("HTTP/1.")) {
        reply = {400, "text/plain", "bad request"};
    } else if (request[0] != "GET") {
        // The site only ever sends pages and pictures.
        reply = {405, "text/plain", "method not allowed"};
    } else {
        QByteArray host;
        for (const QByteArray& line : lines.mid(1)) {
            const qsizetype colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed().toLower() == "host") {
                host = line.mid(colon + 1).trimmed();
            }
        }
        reply = m_handler(host, request[1]);
    }
    // One request per connection: no connection is left idle for the stop to wait on.
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' +
                        Reason(reply.status) + "\r\nContent-Type: " + reply.contentType +
                        "\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                        "\r\nConnection: close\r\n";
    if (reply.status == 405) {
        answer += "Allow: GET\r\n";
    }
    return answer + "\r\n" + reply.body;
}

}  // namespace mosaiq
