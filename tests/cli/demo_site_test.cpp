#include "demo/demo_site.h"

#include <QFile>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <optional>

namespace mosaiq::test {
namespace {

using namespace std::chrono_literals;

// Far more than any exchange on loopback takes, far less than the site's read time-out.
constexpr auto kBound = 500ms;

// The site's HTTP and HTTPS ports, read back from the routing it sets.
std::pair<int, int> SitePorts() {
    static const QRegularExpression routing(
        QStringLiteral("^http=127\\.0\\.0\\.1:(\\d+),https=127\\.0\\.0\\.1:(\\d+)$"));
    const auto match = routing.match(QString::fromUtf8(qgetenv("MOSAIQ_CONNECT_TO")));
    return match.hasMatch() ? std::pair(match.captured(1).toInt(), match.captured(2).toInt())
                            : std::pair(0, 0);
}

// A bare TCP client, to send what no HTTP library would.
class RawClient {
  public:
    explicit RawClient(int port) : m_socket(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(uint16_t(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = m_socket >= 0 &&
                      connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() {
        if (m_socket >= 0) {
            close(m_socket);
        }
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const { return m_connected; }
    void Send(const QByteArray& data) {
        // A site closing early cuts this short; what comes back is what counts.
        send(m_socket, data.constData(), size_t(data.size()), MSG_NOSIGNAL);
    }
    // Everything received until the site closes the connection; none when it is still open
    // after the bound.
    std::optional<QByteArray> ReceiveAll() {
        QByteArray received;
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd ready{m_socket, POLLIN, 0};
            if (left <= 0ms || poll(&ready, 1, int(left.count())) <= 0) {
                return std::nullopt;
            }
            char buffer[4096];
            const ssize_t n = recv(m_socket, buffer, sizeof buffer, 0);
            if (n <= 0) {
                return received;
            }
            received.append(buffer, n);
        }
    }

  private:
    int m_socket;
    bool m_connected = false;
};

QByteArray Resource(const QString& name) {
    QFile file(QStringLiteral(":/demo_site/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Answer(const QByteArray& status, const QByteArray& type, const QByteArray& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n" +
           (status.startsWith("405") ? "Allow: GET\r\n" : "") + "\r\n" + body;
}

TEST(DemoSiteTest, AnswersOneGetPerConnectionAndClosesOnAnythingElse) {
    DemoSite site;
    QString error;
    ASSERT_TRUE(site.Start(error)) << error.toStdString();
    const QByteArray jpeg = Resource(QStringLiteral("landscape.jpg"));
    ASSERT_FALSE(jpeg.isEmpty());
    const struct {
        const char* name;
        QByteArray request;
        QByteArray answer;  // empty: closed without a word
    } cases[] = {
        {"picture: host lower-cased, its port ignored, path decoded",
         "GET /demo/a/land%73cape.jpg HTTP/1.1\r\nHost: B1.Photo.Store.QQ.com:8080\r\n"
         "Accept: */*\r\n\r\n",
         Answer("200 OK", "image/jpeg", jpeg)},
        {"page with a query",
         "GET /proxy/domain/alist.photo.qq.com/fcgi-bin/fcg_list_album_v3?uin=12345&pageStart=1 "
         "HTTP/1.1\r\nhost: user.qzone.qq.com\r\n\r\n",
         Answer("200 OK", "application/javascript; charset=utf-8",
                Resource(QStringLiteral("albums_end.jsonp")))},
        {"picture path on a host of no picture",
         "GET /demo/a/landscape.jpg HTTP/1.1\r\nHost: example.com\r\n\r\n",
         Answer("404 Not Found", "text/plain", "not found")},
        {"no GET", "POST /demo/a/landscape.jpg HTTP/1.1\r\nHost: a1.qpic.cn\r\n\r\n",
         Answer("405 Method Not Allowed", "text/plain", "method not allowed")},
        {"head past the cap, never ended",
         "GET /demo/a/landscape.jpg HTTP/1.1\r\nHost: a1.qpic.cn\r\nX-Pad: " +
             QByteArray(20 * 1024, 'a'),
         ""},
    };
    const int httpPort = SitePorts().first;
    ASSERT_GT(httpPort, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RawClient client(httpPort);
        ASSERT_TRUE(client.connected());
        client.Send(c.request);
        EXPECT_EQ(client.ReceiveAll(), std::optional(c.answer));
    }
}

TEST(DemoSiteTest, SilentClientsHoldUpNeitherOtherClientsNorTheStop) {
    std::optional<DemoSite> site(std::in_place);
    QString error;
    ASSERT_TRUE(site->Start(error)) << error.toStdString();
    const auto [httpPort, httpsPort] = SitePorts();
    RawClient silentHttp(httpPort), silentHttps(httpsPort);
    ASSERT_TRUE(silentHttp.connected() && silentHttps.connected());

    RawClient client(httpPort);
    client.Send("GET /nothing HTTP/1.1\r\nHost: qzone.qq.com\r\n\r\n");
    EXPECT_EQ(client.ReceiveAll(), Answer("404 Not Found", "text/plain", "not found"));

    auto stopped = std::async(std::launch::async, [&site] { site.reset(); });
    EXPECT_EQ(stopped.wait_for(kBound), std::future_status::ready);
    EXPECT_EQ(silentHttp.ReceiveAll(), QByteArray());
    EXPECT_EQ(silentHttps.ReceiveAll(), QByteArray());
}

}  // namespace
}  // namespace mosaiq::test
