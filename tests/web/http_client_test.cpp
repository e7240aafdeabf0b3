#include "web/http_client.h"
#include "web/body_validity.h"
#include "web/cookie_hook.h"
#include "web/reach_record.h"
#include "web/response_decoding.h"

#include "support/fixture_server.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace mosaiq {
namespace {

using test::FixtureServer;
using test::GzipBytes;
using test::RecordedRequest;
using test::Reply;

constexpr char kHost[] = "www.example.test";

Reply Body(const QByteArray& bytes) {
    Reply reply;
    reply.body = bytes;
    return reply;
}

RequestOptions Options(const QString& path, const QString& target = QString()) {
    RequestOptions options(QStringLiteral("http://www.example.test") + path, target, 5000);
    options.retryDelaySeconds = 0;
    return options;
}

class HttpClientTest : public test::Sandbox {
  protected:
    FixtureServer server;
    HttpResponse response;

    bool Fetch(const RequestOptions& options, unsigned flags = 0) {
        return HttpRequest(response, options, flags);
    }
    QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Hidden files too: a temporary file left behind must show.
    QStringList FilesIn(const QString& dir) {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden);
    }
};

TEST_F(HttpClientTest, ZeroAttemptsMakesNoRequest) {
    server.Route(kHost, "/a", Body("data"));
    RequestOptions options = Options("/a");
    options.attempts = 0;
    options.retryDelaySeconds = 5;
    EXPECT_FALSE(Fetch(options));
    EXPECT_TRUE(Pauses().empty());
    EXPECT_EQ(server.Count(kHost, "/a"), 0);
}

TEST_F(HttpClientTest, FailedLastAttemptStillSleeps) {
    server.Route(kHost, "/empty", Body(""));
    RequestOptions options = Options("/empty");
    options.retryDelaySeconds = 1;
    EXPECT_FALSE(Fetch(options));
    EXPECT_EQ(Pauses(), std::vector<long long>{1000});
    EXPECT_EQ(server.Count(kHost, "/empty"), 1);
}

TEST_F(HttpClientTest, ValidityRuleDecidesRepeats) {
    struct Case {
        const char* name;
        QByteArray body;
        uint32_t minBodyLength;
        QByteArray retryMarker;
        bool ok;
        int requests;  // of 3 attempts
    };
    const Case cases[] = {
        {"empty body is invalid", "", 0, "", false, 3},
        {"body must be longer than the minimum", "abc", 3, "", false, 3},
        {"one byte more passes", "abcd", 3, "", true, 1},
        {"retry marker fails", "busy, try later", 0, "try later", false, 3},
        {"no marker passes", "<html>ok</html>", 0, "try later", true, 1},
    };
    for (const Case& c : cases) {
        const QString path =
            QStringLiteral("/v/") + QLatin1String(c.name).toString().replace(' ', '_');
        server.Route(kHost, path, Body(c.body));
        RequestOptions options = Options(path);
        options.attempts = 3;
        options.minBodyLength = c.minBodyLength;
        options.retryMarker = c.retryMarker;
        EXPECT_EQ(Fetch(options), c.ok) << c.name;
        EXPECT_EQ(server.Count(kHost, path), c.requests) << c.name;
        EXPECT_EQ(response.body, c.body) << c.name;
    }
}

TEST_F(HttpClientTest, UseCacheTestsTheInflatedBody) {
    Reply reply = Body("please retry later");
    reply.gzip = true;
    server.Route(kHost, "/gz", reply);
    RequestOptions options = Options("/gz");
    options.retryMarker = "retry";
    EXPECT_TRUE(Fetch(options, 0)) << "without UseCache the compressed bytes are tested";
    EXPECT_FALSE(Fetch(options, UseCache));
    EXPECT_TRUE(response.compressed);
    EXPECT_EQ(response.body, GzipBytes("please retry later")) << "the body stays compressed";
}

TEST_F(HttpClientTest, UseCacheWithUninflatableBodyTestsRawAndClearsFlag) {
    Reply reply = Body("plain text");
    reply.headers = {{"X-Note", "gzip"}};
    server.Route(kHost, "/fake", reply);
    EXPECT_TRUE(Fetch(Options("/fake"), UseCache));
    EXPECT_FALSE(response.compressed);
    EXPECT_EQ(response.body, "plain text");
}

TEST_F(HttpClientTest, StreamingMarkers) {
    struct Case {
        QByteArray body, start, end, expected;
    };
    const Case cases[] = {
        {"xAyAz", "A", "", "z"},
        {"xByBz", "", "B", "x"},
        {"head<ul>a</ul>b<ul>c</ul>", "<ul>", "</ul>", "c"},
        {"no markers here", "<start>", "<end>", "no markers here"},
    };
    int i = 0;
    for (const Case& c : cases) {
        const QString path = QStringLiteral("/m%1").arg(i++);
        server.Route(kHost, path, Body(c.body));
        RequestOptions options = Options(path);
        options.startMarker = c.start;
        options.endMarker = c.end;
        EXPECT_TRUE(Fetch(options)) << c.body.constData();
        EXPECT_EQ(response.body, c.expected) << c.body.constData();
        EXPECT_EQ(response.startMarker, c.start);
    }
}

TEST_F(HttpClientTest, EndMarkerStopsReadingAcrossPieces) {
    QByteArray body = "first <cut> second";
    body.append(QByteArray(4 * 1024 * 1024, 'z'));
    Reply reply = Body(body);
    reply.pieceSize = 1024;
    reply.pieceDelayMs = 20;
    server.Route(kHost, "/long", reply);
    RequestOptions options = Options("/long");
    options.startMarker = "first";
    options.endMarker = "<cut>";
    EXPECT_TRUE(Fetch(options));
    EXPECT_EQ(response.body, " ");
    EXPECT_LT(response.bodyLength, body.size()) << "the rest is not read";
}

TEST_F(HttpClientTest, MarkersIgnoredForCompressedBodyAndFileMode) {
    Reply reply = Body("xAyBz");
    reply.gzip = true;
    server.Route(kHost, "/gzm", reply);
    server.Route(kHost, "/plain", Body("xAyBz"));
    RequestOptions options = Options("/gzm");
    options.startMarker = "A";
    options.endMarker = "B";
    EXPECT_TRUE(Fetch(options));
    EXPECT_EQ(response.body, GzipBytes("xAyBz"));

    options.url = QStringLiteral("http://www.example.test/plain");
    options.targetPath = saveDir() + "m.txt";
    EXPECT_TRUE(Fetch(options));
    EXPECT_EQ(ReadFile(options.targetPath), "xAyBz");
}

TEST_F(HttpClientTest, DeclaredLengthBelowMinimumFailsBeforeBody) {
    server.Route(kHost, "/small", Body(QByteArray(5000, 'a')));
    Reply lower = Body(QByteArray(5000, 'a'));
    lower.chunked = true;
    lower.headers = {{"x-note", "content-length: 5000"}};
    server.Route(kHost, "/chunked", lower);
    RequestOptions options = Options("/small");
    options.minSizeKb = 10;
    EXPECT_FALSE(Fetch(options));
    EXPECT_EQ(response.bodyLength, 0);
    EXPECT_TRUE(response.rawHeaders.contains("Content-Length: 5000"));

    options.url = QStringLiteral("http://www.example.test/chunked");
    EXPECT_FALSE(Fetch(options)) << "still too small once read";
    EXPECT_EQ(response.bodyLength, 5000) << "a lower-case label is not tested";
}

TEST_F(HttpClientTest, MaximumSizeIsInclusive) {
    for (const bool chunked : {false, true}) {
        for (const int extra : {0, 1}) {
            const QString path = QStringLiteral("/max%1%2").arg(chunked).arg(extra);
            Reply reply = Body(QByteArray(2048 + extra, 'b'));
            reply.chunked = chunked;
            server.Route(kHost, path, reply);
            RequestOptions options = Options(path);
            options.maxSizeKb = 2;
            EXPECT_EQ(Fetch(options), extra == 0) << path.toStdString();
        }
    }
}

TEST_F(HttpClientTest, FarMoreThanMaximumStopsEarly) {
    Reply reply = Body(QByteArray(64 * 1024 * 1024, 'c'));
    reply.chunked = true;
    server.Route(kHost, "/huge", reply);
    RequestOptions options = Options("/huge", saveDir() + "huge.bin");
    options.maxSizeKb = 100;
    EXPECT_FALSE(Fetch(options));
    EXPECT_LT(response.bodyLength, 16 * 1024 * 1024);
    EXPECT_TRUE(FilesIn(saveDir()).isEmpty());
}

TEST_F(HttpClientTest, PagesHaveASizeBoundEvenWithoutAMaximum) {
    Reply declared = Body(QByteArray(1000, 'p'));
    declared.declaredLength = kMaxPageBytes + 1;
    declared.closeAfter = 1000;
    server.Route(kHost, "/declared", declared);
    EXPECT_FALSE(Fetch(Options("/declared")));
    EXPECT_EQ(response.bodyLength, 0) << "refused before any body byte";

    Reply endless = Body(QByteArray(kMaxPageBytes + 4096, 'p'));
    endless.chunked = true;
    server.Route(kHost, "/endless", endless);
    EXPECT_FALSE(Fetch(Options("/endless")));
    EXPECT_LE(response.body.size(), kMaxPageBytes + 65536);
}

TEST_F(HttpClientTest, SendsAgentHeadersAndBodyUnchanged) {
    server.Route(kHost, "/post", Body("ok"));
    RequestOptions options = Options("/post");
    options.verb = QStringLiteral("POST");
    options.headers =
        QStringLiteral("Referer: http://a.example.test/x?y=1\r\nX-Odd:  two  spaces\r\n");
    QByteArray data;
    for (int i = 0; i < 2500; ++i) {
        data.append(char('a' + i % 26));
    }
    SetRequestBody(options, data);
    EXPECT_TRUE(Fetch(options));
    EXPECT_TRUE(Fetch(options, IeAgent));
    const std::vector<RecordedRequest> sent = server.requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].method, "POST");
    EXPECT_EQ(sent[0].body, data);
    EXPECT_EQ(sent[0].header("Referer"), "http://a.example.test/x?y=1");
    EXPECT_EQ(sent[0].header("X-Odd"), "two  spaces");
    EXPECT_EQ(sent[0].header("User-Agent"), kDefaultUserAgent);
    EXPECT_EQ(sent[1].header("User-Agent"), kIeUserAgent);
    for (const char* absent : {"Content-Type", "Expect", "Accept", "Cookie", "Accept-Encoding"}) {
        EXPECT_FALSE(sent[0].hasHeader(absent)) << absent;
    }
}

// Captures one request head as sent. The fixture server's parser drops header lines with an
// empty value, so it cannot show whether they went out.
class RawListener {
  public:
    RawListener() {
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), size);
        listen(m_socket, 1);
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] {
            const int client = accept(m_socket, nullptr, nullptr);
            if (client < 0) {
                return;
            }
            char buffer[4096];
            while (!m_head.contains("\r\n\r\n")) {
                const ssize_t n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    break;
                }
                m_head.append(buffer, n);
            }
            const char answer[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
            send(client, answer, sizeof answer - 1, 0);
            close(client);
        });
    }
    ~RawListener() {
        shutdown(m_socket, SHUT_RDWR);  // wakes a pending accept
        if (m_thread.joinable()) {
            m_thread.join();
        }
        close(m_socket);
    }
    QString connectTo() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QByteArray Head() {
        m_thread.join();
        return m_head;
    }

  private:
    int m_socket = -1;
    int m_port = 0;
    QByteArray m_head;
    std::thread m_thread;
};

TEST_F(HttpClientTest, EmptyVerbIsGetAndBlankHeaderValuesStillGoOut) {
    RawListener listener;
    const QByteArray routed = qgetenv("MOSAIQ_CONNECT_TO");
    qputenv("MOSAIQ_CONNECT_TO", listener.connectTo().toUtf8());
    RequestOptions options = Options("/e");
    options.verb.clear();
    options.headers = QStringLiteral("Referer: \r\nX-Empty:\r\n");
    const bool ok = Fetch(options);
    qputenv("MOSAIQ_CONNECT_TO", routed);
    EXPECT_TRUE(ok);
    const QByteArray head = listener.Head();
    EXPECT_TRUE(head.startsWith("GET /e HTTP/1.1\r\n")) << head.constData();
    EXPECT_TRUE(head.contains("\r\nReferer:\r\n")) << head.constData();
    EXPECT_TRUE(head.contains("\r\nX-Empty:\r\n")) << head.constData();
}

// Where a browser and curl put it: right after Host, once; the caller's own line replaces it.
TEST_F(HttpClientTest, UserAgentFollowsTheHostLineOnce) {
    const auto headOf = [this](const QString& headers) {
        RawListener listener;
        SetEnv("MOSAIQ_CONNECT_TO", listener.connectTo().toUtf8());
        RequestOptions options = Options("/a");
        options.headers = headers;
        Fetch(options);
        return listener.Head().split('\n');
    };
    const QList<QByteArray> plain = headOf(QStringLiteral("Referer: http://r.example.test/\r\n"));
    ASSERT_GE(plain.size(), 4);
    EXPECT_TRUE(plain[1].startsWith("Host: ")) << plain[1].constData();
    EXPECT_EQ(plain[2], "User-Agent: " + QByteArray(kDefaultUserAgent) + '\r');
    EXPECT_EQ(plain[3], "Referer: http://r.example.test/\r");

    const QList<QByteArray> own = headOf(QStringLiteral("User-Agent: mine\r\n"));
    QList<QByteArray> agents;
    for (const QByteArray& line : own) {
        if (line.toLower().startsWith("user-agent")) {
            agents.append(line);
        }
    }
    EXPECT_EQ(agents, QList<QByteArray>{"User-Agent: mine\r"});
}

TEST_F(HttpClientTest, HeaderTextCannotInjectLines) {
    server.Route(kHost, "/h", Body("ok"));
    RequestOptions options = Options("/h");
    options.headers = QStringLiteral("X-A: 1\nX-B: 2\r\n\r\nGET /evil HTTP/1.1\r\n");
    Fetch(options);
    EXPECT_EQ(server.Count(kHost, "/evil"), 0);
    EXPECT_EQ(server.Count(kHost, "/h"), 1);
}

TEST_F(HttpClientTest, RequestBodyEndsAtZeroAndResetKeepsRetryRules) {
    RequestOptions options(QStringLiteral("http://x.example.test/"), saveDir() + "f", 3000);
    SetRequestBody(options, QByteArray("a=1\0b=2", 7));
    EXPECT_EQ(options.body, "a=1");
    options.verb = QStringLiteral("POST");
    options.headers = QStringLiteral("X: 1\r\n");
    options.startMarker = "s";
    options.endMarker = "e";
    options.retryMarker = "r";
    options.minSizeKb = 1;
    options.maxSizeKb = 2;
    options.minBodyLength = 3;
    options.attempts = 4;
    options.retryDelaySeconds = 5;
    ResetRequestOptions(options);
    EXPECT_TRUE(options.url.isEmpty() && options.headers.isEmpty() && options.targetPath.isEmpty());
    EXPECT_TRUE(options.startMarker.isEmpty() && options.endMarker.isEmpty() &&
                options.body.isEmpty());
    EXPECT_EQ(options.verb, "GET");
    EXPECT_EQ(options.readTimeoutMs, 20000u);
    EXPECT_EQ(options.connectTimeoutMs, 20000u);
    EXPECT_EQ(options.minSizeKb, 0);
    EXPECT_EQ(options.maxSizeKb, 0);
    EXPECT_EQ(options.retryMarker, "r");
    EXPECT_EQ(options.minBodyLength, 3u);
    EXPECT_EQ(options.attempts, 4);
    EXPECT_EQ(options.retryDelaySeconds, 5);
}

TEST_F(HttpClientTest, HttpsIsVerifiedAgainstTheTestCa) {
    server.Route("user.qzone.qq.com", "/p", Body("secure"));
    RequestOptions options(QStringLiteral("https://user.qzone.qq.com/p"), QString(), 5000);
    options.retryDelaySeconds = 0;
    EXPECT_TRUE(Fetch(options));
    EXPECT_EQ(response.body, "secure");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(server.requests()[0].tls);

    options.url = QStringLiteral("https://user.qzone.qq.com:8443/p");
    EXPECT_TRUE(Fetch(options)) << "a port in the address keeps the Host and the scheme";

    // New connections (a host not reached yet): the ones already verified may be kept.
    SetEnv("MOSAIQ_CA_FILE", QByteArray());
    options.url = QStringLiteral("https://h5.qzone.qq.com/p");
    EXPECT_FALSE(Fetch(options)) << "an untrusted certificate is refused";
    SetEnv("MOSAIQ_CA_FILE", saveDir().toUtf8() + "no-such-ca.pem");
    options.url = QStringLiteral("https://m.qzone.qq.com/p");
    EXPECT_FALSE(Fetch(options)) << "a CA file that cannot be read trusts nothing";
    EXPECT_EQ(server.Count("user.qzone.qq.com", "/p"), 2);
    EXPECT_EQ(server.requests().size(), 2u);
}

// A CA file changed on disk is what new connections are verified against.
TEST_F(HttpClientTest, ChangedCaFileIsReadAgain) {
    for (const char* host : {"a.qzone.qq.com", "b.qzone.qq.com", "c.qzone.qq.com"}) {
        server.Route(host, "/p", Body("secure"));
    }
    QFile original(QString::fromLocal8Bit(qgetenv("MOSAIQ_CA_FILE")));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray caText = original.readAll();
    const QString copy = saveDir() + QStringLiteral("ca-copy.pem");
    const auto writeCopy = [&copy](const QByteArray& text) {
        QFile file(copy);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(text) == text.size();
    };
    ASSERT_TRUE(writeCopy(caText));
    SetEnv("MOSAIQ_CA_FILE", QFile::encodeName(copy));
    RequestOptions options(QStringLiteral("https://a.qzone.qq.com/p"), QString(), 5000);
    options.retryDelaySeconds = 0;
    EXPECT_TRUE(Fetch(options));
    ASSERT_TRUE(writeCopy("no certificate here\n"));
    options.url = QStringLiteral("https://b.qzone.qq.com/p");
    EXPECT_FALSE(Fetch(options)) << "a file that holds no CA any more trusts nothing";
    ASSERT_TRUE(writeCopy(caText));
    options.url = QStringLiteral("https://c.qzone.qq.com/p");
    EXPECT_TRUE(Fetch(options));
}

// Every thread's new connections are verified against the one store loaded for the CA file.
TEST_F(HttpClientTest, HttpsFromSeveralThreadsIsVerified) {
    const QStringList hosts{"a.qzone.qq.com", "b.qzone.qq.com", "c.qzone.qq.com"};
    for (const QString& host : hosts) {
        server.Route(host, "/p", Body("secure"));
    }
    std::vector<std::thread> threads;
    std::atomic<int> fetched{0};
    for (int i = 0; i < 6; ++i) {
        threads.emplace_back([&, i] {
            RequestOptions options("https://" + hosts[i % 3] + "/p", QString(), 5000);
            options.retryDelaySeconds = 0;
            HttpResponse answer;
            if (HttpRequest(answer, options, UseCache) && answer.body == "secure") {
                ++fetched;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(fetched.load(), 6);
    for (const RecordedRequest& request : server.requests()) {
        EXPECT_TRUE(request.tls);
    }
}

TEST_F(HttpClientTest, FileModeStreamsAndRenamesOnlyValidBodies) {
    const QByteArray picture = GzipBytes(QByteArray(300000, 'p'));
    Reply gz = Body(QByteArray(300000, 'p'));
    gz.gzip = true;
    server.Route(kHost, "/pic.jpg", gz);
    const QString target = saveDir() + QStringLiteral("相册 1.jpg");
    RequestOptions options = Options("/pic.jpg", target);
    EXPECT_TRUE(Fetch(options, UseCache | NoReload));
    EXPECT_TRUE(response.savedToFile);
    EXPECT_TRUE(response.body.isEmpty());
    EXPECT_EQ(response.bodyLength, picture.size());
    EXPECT_EQ(ReadFile(target), picture) << "raw, still compressed bytes";
    EXPECT_EQ(FilesIn(saveDir()), QStringList{QStringLiteral("相册 1.jpg")});
}

TEST_F(HttpClientTest, FileModeSavesNamesAsLongAsTheFileSystemAllows) {
    server.Route(kHost, "/long.jpg", Body("picture"));
    // 84 Chinese characters of 3 bytes and ".jpg": 256 - 1 bytes, the longest name there is.
    const QString name = QString(83, QChar(0x76F8)) + QStringLiteral("ab.jpg");
    ASSERT_EQ(name.toUtf8().size(), 255);
    EXPECT_TRUE(Fetch(Options("/long.jpg", saveDir() + name)));
    EXPECT_TRUE(response.savedToFile);
    EXPECT_EQ(FilesIn(saveDir()), QStringList{name});
}

TEST_F(HttpClientTest, FileModeNeverLeavesACutFileAtTheTarget) {
    Reply cut = Body(QByteArray(200000, 'c'));
    cut.closeAfter = 70000;
    Reply lying = Body(QByteArray(1000, 'l'));
    lying.declaredLength = 5000;
    Reply busy = Body("server busy");
    Reply missing = Body("not found");
    missing.status = 404;
    server.Route(kHost, "/cut", cut);
    server.Route(kHost, "/lying", lying);
    server.Route(kHost, "/busy", busy);
    server.Route(kHost, "/missing", missing);
    server.Route(kHost, "/empty", Body(""));
    const QString target = saveDir() + "keep.jpg";
    for (const char* path : {"/cut", "/lying", "/busy", "/missing", "/empty"}) {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous");
        old.close();
        RequestOptions options = Options(path, target);
        options.retryMarker = "busy";
        options.attempts = 2;
        EXPECT_FALSE(Fetch(options, UseCache | NoReload)) << path;
        EXPECT_FALSE(response.savedToFile) << path;
        EXPECT_EQ(ReadFile(target), "previous") << path;
        EXPECT_EQ(FilesIn(saveDir()), QStringList{"keep.jpg"}) << path << " leaves no temporary";
        EXPECT_EQ(server.Count(kHost, path), 2) << path;
    }
}

TEST_F(HttpClientTest, UnwritableTargetStillReportsTheDownload) {
    server.Route(kHost, "/ok.jpg", Body("jpegdata"));
    RequestOptions options = Options("/ok.jpg", saveDir() + "no/such/folder/ok.jpg");
    EXPECT_TRUE(Fetch(options, UseCache | NoReload));
    EXPECT_FALSE(response.savedToFile);
    EXPECT_EQ(response.bodyLength, 8);
}

TEST(BodyValidity, HtmlPagesAreToldFromPicturesByTheirFirstBytes) {
    struct Case {
        QByteArray head;
        bool page;
    };
    const Case cases[] = {
        {"<!DOCTYPE html><html>", true},
        {"\xEF\xBB\xBF\r\n  <HTML lang=zh>", true},
        {"<!-- cache 3 --><html>", true},
        {"<head><meta charset=utf-8>", true},
        {"<script>location='/login'</script>", true},
        {"\xFF\xD8\xFF\xE0JFIF<html>", false},
        {"\x89PNG\r\n\x1A\n", false},
        {"<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\">", false},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\"><title>x</title>", false},
        {"<!-- never closed <html>", false},
        {"", false},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(LooksLikeHtmlPage(k.head), k.page) << k.head.constData();
    }
}

TEST_F(HttpClientTest, FileModeRefusesAPageServedAsAPicture) {
    const QByteArray html = "<!DOCTYPE html><html><body>please log in</body></html>";
    Reply page = Body(html);
    page.headers = {{"Content-Type", "image/jpeg"}};
    Reply compressed = Body(html);
    compressed.gzip = true;
    server.Route(kHost, "/page.jpg", page);
    server.Route(kHost, "/gzip.jpg", compressed);
    server.Route(kHost, "/drawing.svg", Body("<svg xmlns=\"http://www.w3.org/2000/svg\"/>"));
    const QString target = saveDir() + "p.jpg";
    for (const char* path : {"/page.jpg", "/gzip.jpg"}) {
        RequestOptions options = Options(path, target);
        options.attempts = 2;
        EXPECT_FALSE(Fetch(options, UseCache | NoReload)) << path;
        EXPECT_FALSE(response.savedToFile) << path;
        EXPECT_EQ(response.fileProblem, QStringLiteral("服务器返回的是网页，不是文件")) << path;
        EXPECT_TRUE(FilesIn(saveDir()).isEmpty()) << path;
        EXPECT_EQ(server.Count(kHost, path), 2) << path;
    }
    EXPECT_TRUE(Fetch(Options("/drawing.svg", saveDir() + "d.svg"), UseCache | NoReload));
    EXPECT_TRUE(response.savedToFile);
    EXPECT_TRUE(response.fileProblem.isEmpty());
}

// A port on this machine that nothing listens on.
int ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

TEST_F(HttpClientTest, ReachRecordTellsNoAnswerFromAnErrorAnswer) {
    Reply missing = Body("gone");
    missing.status = 404;
    server.Route(kHost, "/missing", missing);
    ResetReachRecord();
    const QByteArray connectTo = qgetenv("MOSAIQ_CONNECT_TO");
    qputenv("MOSAIQ_CONNECT_TO", QByteArray("127.0.0.1:") + QByteArray::number(ClosedPort()));
    EXPECT_FALSE(Fetch(Options("/a")));
    qputenv("MOSAIQ_CONNECT_TO", connectTo);
    ReachRecord record = CurrentReachRecord();
    EXPECT_TRUE(record.NothingReached());
    EXPECT_EQ(record.unreachedHost, QString::fromLatin1(kHost));

    Fetch(Options("/missing"));
    record = CurrentReachRecord();
    EXPECT_TRUE(record.anyAnswer);
    EXPECT_FALSE(record.NothingReached());
    ResetReachRecord();
    EXPECT_FALSE(CurrentReachRecord().NothingReached());
}

TEST_F(HttpClientTest, DownloadToFileSendsTheHeaderText) {
    server.Route("img.example.test", "/c.jpg", Body("cover"));
    const QString target = saveDir() + "c.jpg";
    DownloadToFile(QStringLiteral("http://img.example.test/c.jpg"),
                   QStringLiteral("Referer: http://img.example.test/c.jpg"), target);
    EXPECT_EQ(ReadFile(target), "cover");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].header("Referer"), "http://img.example.test/c.jpg");
}

TEST_F(HttpClientTest, BadServersEndInFalseWithinTheTimeouts) {
    Reply hang = Body("late");
    hang.delayMs = 20000;
    Reply trickle = Body(QByteArray(4096, 't'));
    trickle.pieceSize = 1024;
    trickle.pieceDelayMs = 3000;
    Reply reset = Body(QByteArray(100000, 'r'));
    reset.closeAfter = 30000;
    Reply resetChunked = reset;
    resetChunked.chunked = true;
    Reply shortBody = Body(QByteArray(1000, 's'));
    shortBody.declaredLength = 4000;
    server.Route(kHost, "/hang", hang);
    server.Route(kHost, "/trickle", trickle);
    server.Route(kHost, "/reset", reset);
    server.Route(kHost, "/reset-chunked", resetChunked);
    server.Route(kHost, "/short", shortBody);
    for (const char* path : {"/hang", "/trickle", "/reset", "/reset-chunked", "/short"}) {
        RequestOptions options = Options(path);
        options.connectTimeoutMs = 300;
        options.readTimeoutMs = 300;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(Fetch(options)) << path;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6)) << path;
        EXPECT_EQ(server.Count(kHost, path), 1) << path;
    }
}

TEST_F(HttpClientTest, AServerTricklingBytesEndsAtTheLowSpeedBound) {
    // Never idle long enough for the inactivity bound, yet far too slow.
    Reply trickle = Body(QByteArray(400, 't'));
    trickle.pieceSize = 1;
    trickle.pieceDelayMs = 50;
    server.Route(kHost, "/drip", trickle);
    RequestOptions options = Options("/drip");
    options.lowSpeedBytesPerSecond = 100;
    options.lowSpeedSeconds = 1;
    EXPECT_FALSE(Fetch(options));
    EXPECT_LT(response.body.size(), 400);
}

TEST_F(HttpClientTest, AnAddressTooLongToSendIsRefusedWithoutARequest) {
    server.Route(kHost, "/q", Body("ok"));
    EXPECT_TRUE(Fetch(Options("/q?n=" + QString(1000, u'1'))));
    EXPECT_FALSE(Fetch(Options("/q?n=" + QString(131000, u'1'))));
    EXPECT_EQ(server.Count(kHost, "/q"), 1);
}

TEST_F(HttpClientTest, UnusableAddressesFail) {
    for (const char* url : {"", "not a url", "ftp://www.example.test/a", "http:///nohost"}) {
        RequestOptions options(QString::fromLatin1(url), QString(), 1000);
        options.retryDelaySeconds = 0;
        EXPECT_FALSE(Fetch(options)) << url;
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HttpClientTest, BlanksAndChineseInAnAddressGoOutEscaped) {
    server.Route(kHost, QStringLiteral("/相册 1.jpg"), Body("ok"));
    RequestOptions options =
        Options(QStringLiteral("/相册 1.jpg?q=中 文&x=%2F&y=a|b"), saveDir() + "p.jpg");
    EXPECT_TRUE(Fetch(options, UseCache | NoReload));
    EXPECT_EQ(ReadFile(options.targetPath), "ok");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target,
              "/%E7%9B%B8%E5%86%8C%201.jpg?q=%E4%B8%AD%20%E6%96%87&x=%2F&y=a|b");
}

TEST_F(HttpClientTest, CookieHookAndRedirectsPerHop) {
    std::vector<std::pair<QString, QByteArray>> stored;
    std::mutex mutex;
    SetCookieHooks(
        [](const QString& url) {
            return url.contains("a.example.test") ? QStringLiteral("uin=o123; skey=@abc")
                                                  : QString();
        },
        [&](const QString& url, const QList<QByteArray>& values) {
            std::lock_guard lock(mutex);
            for (const QByteArray& value : values) {
                stored.emplace_back(url, value);
            }
        });
    Reply jump;
    jump.status = 302;
    jump.headers = {{"Location", "http://b.example.test/landing?x=1"},
                    {"Set-Cookie", "p=1; Path=/"}};
    server.Route("a.example.test", "/login", jump);
    server.Route("b.example.test", "/landing", Body("welcome"));
    RequestOptions options(QStringLiteral("http://a.example.test/login"), QString(), 5000);
    options.verb = QStringLiteral("POST");
    SetRequestBody(options, "u=1");
    EXPECT_TRUE(Fetch(options));
    SetCookieHooks(nullptr, nullptr);
    EXPECT_EQ(response.body, "welcome");
    EXPECT_TRUE(response.rawHeaders.startsWith("HTTP/1.1 200"));
    const std::vector<RecordedRequest> sent = server.requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].header("Cookie"), "uin=o123; skey=@abc");
    EXPECT_EQ(sent[1].method, "GET") << "302 after POST goes on with GET";
    EXPECT_EQ(sent[1].target, "/landing?x=1");
    EXPECT_FALSE(sent[1].hasHeader("Cookie")) << "one host's cookies never go to another";
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, "http://a.example.test/login");
    EXPECT_EQ(stored[0].second, "p=1; Path=/");
}

}  // namespace
}  // namespace mosaiq
