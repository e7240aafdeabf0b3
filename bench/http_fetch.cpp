// Wall time of HttpRequest in file mode against curl --parallel on the same loopback list, and
// peak memory while streaming large files. The fixture server runs in a child process so the
// figures are the client's alone, as they are for curl.
#include "web/http_client.h"

#include "support/fixture_server.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using namespace mosaiq;
using Clock = std::chrono::steady_clock;

constexpr int kSmallCount = 1000;
constexpr int kSmallSize = 200 * 1024;
constexpr int kLargeCount = 20;
constexpr qsizetype kLargeSize = 100LL * 1024 * 1024;
constexpr int kThreads = 15;

// Child: serves /fast/<i>, /slow/<i> (20 ms before each answer) and /large/<i>; reports its
// port on `out` and ends when `in` closes.
[[noreturn]] void ServeUntilClosed(int in, int out) {
    test::FixtureServer server;
    test::Reply fast;
    fast.body = QByteArray(kSmallSize, 'f');
    test::Reply slow = fast;
    slow.delayMs = 20;
    test::Reply large;
    large.body = QByteArray(kLargeSize, 'L');
    large.pieceSize = 1024 * 1024;
    for (int i = 0; i < kSmallCount; ++i) {
        server.Route({}, QStringLiteral("/fast/%1").arg(i), fast);
        server.Route({}, QStringLiteral("/slow/%1").arg(i), slow);
    }
    for (int i = 0; i < kLargeCount; ++i) {
        server.Route({}, QStringLiteral("/large/%1").arg(i), large);
    }
    const int port = server.httpPort();
    if (write(out, &port, sizeof port) != sizeof port) {
        _exit(1);
    }
    char byte;
    while (read(in, &byte, 1) > 0) {
    }
    _exit(0);
}

QStringList Urls(const char* kind, int count) {
    QStringList urls;
    for (int i = 0; i < count; ++i) {
        urls << QStringLiteral("http://files.example.test/%1/%2").arg(QLatin1String(kind)).arg(i);
    }
    return urls;
}

double OurFetch(const QStringList& urls, const QString& dir, int* saved) {
    std::atomic<int> next{0}, ok{0};
    const auto start = Clock::now();
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&] {
            for (int i; (i = next++) < urls.size();) {
                RequestOptions options(urls[i], dir + QString::number(i), 20000);
                options.attempts = 2;
                HttpResponse response;
                ok += HttpRequest(response, options, UseCache | NoReload) && response.savedToFile;
            }
        });
    }
    for (std::thread& w : workers) {
        w.join();
    }
    *saved = ok;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double CurlFetch(const QStringList& urls, const QString& dir, int port) {
    QFile config(dir + "curl.cfg");
    config.open(QIODevice::WriteOnly);
    for (int i = 0; i < urls.size(); ++i) {
        config.write(
            QStringLiteral("url = \"%1\"\noutput = \"%2%3\"\n").arg(urls[i], dir).arg(i).toUtf8());
    }
    config.close();
    const auto start = Clock::now();
    QProcess curl;
    curl.start(
        QStringLiteral("curl"),
        {"--parallel", "--parallel-max", QString::number(kThreads), "-s", "--noproxy", "*",
         "--connect-to", QStringLiteral("::127.0.0.1:%1").arg(port), "-K", config.fileName()});
    curl.waitForFinished(-1);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main() {
    int toChild[2], toParent[2];
    if (pipe(toChild) != 0 || pipe(toParent) != 0) {
        return 1;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(toChild[1]);
        close(toParent[0]);
        ServeUntilClosed(toChild[0], toParent[1]);
    }
    close(toChild[0]);
    close(toParent[1]);
    int port = 0;
    if (read(toParent[0], &port, sizeof port) != sizeof port) {
        return 1;
    }
    qputenv("MOSAIQ_CONNECT_TO", QByteArray("127.0.0.1:") + QByteArray::number(port));

    for (const char* kind : {"fast", "slow"}) {
        const QStringList urls = Urls(kind, kSmallCount);
        QTemporaryDir ours, theirs;
        int saved = 0;
        const double oursSeconds = OurFetch(urls, ours.path() + "/", &saved);
        const double curlSeconds = CurlFetch(urls, theirs.path() + "/", port);
        std::printf(
            "%s: %d x 200 KiB, %d threads: HttpRequest %.2f s (%d saved), curl --parallel "
            "%.2f s, ratio %.2f\n",
            kind, kSmallCount, kThreads, oursSeconds, saved, curlSeconds,
            oursSeconds / curlSeconds);
    }
    {
        QTemporaryDir dir;
        int saved = 0;
        const double seconds = OurFetch(Urls("large", kLargeCount), dir.path() + "/", &saved);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("large: %d x 100 MiB, %d threads: %.2f s (%d saved), peak RSS %.1f MiB\n",
                    kLargeCount, kThreads, seconds, saved, double(usage.ru_maxrss) / 1024.0);
    }
    close(toChild[1]);
    waitpid(child, nullptr, 0);
    return 0;
}
