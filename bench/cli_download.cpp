// Whole-program download benchmark: mosaiq-cli's download command (run in a child process,
// the same code as the tool) against curl --parallel fetching the same addresses, both from
// one loopback server in this process, with and without a 20 ms wait before each answer.
// Prints wall time, the ratio to curl and each child's peak memory.
#include "cli/cli_run.h"
#include "core/album_sink.h"
#include "core/job_state.h"
#include "core/naming.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <httplib.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kHost[] = "bench.mosaiq.test";
constexpr int kThreads = 15;

int g_pictures = 0;

// The benchmark's site: one album of g_pictures addresses on the loopback server.
void ListAlbums(mosaiq::JobState& state, const QString&, bool& singleItem) {
    mosaiq::ST_PERLISTRECORD record;
    record.title = QStringLiteral("bench");
    record.pictureCount = g_pictures;
    mosaiq::AppendAndShow(state, record);
    singleItem = false;
}

void ListPictures(mosaiq::JobState& state, int albumIndex) {
    for (int i = 0; i < g_pictures; ++i) {
        mosaiq::AddPicture(state, QStringLiteral("http://%1/p/%2.jpg").arg(kHost).arg(i),
                           QString::number(i), QString(), albumIndex);
    }
}

int RunClient(int pictures, const QString& folder) {
    g_pictures = pictures;
    const QStringList args = {"download", "bench", "--threads",  QString::number(kThreads),
                              "--save",   folder,  "--data-dir", folder,
                              "--quiet"};
    std::FILE* devNull = std::fopen("/dev/null", "w");
    return mosaiq::RunCli(args, {devNull, stderr, false}, {&ListAlbums, &ListPictures});
}

struct ChildResult {
    double seconds = 0;
    long peakKiB = 0;
    int status = -1;
};

ChildResult RunChild(const std::vector<std::string>& argv, const std::string& connectTo) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("MOSAIQ_CONNECT_TO", connectTo.c_str(), 1);
        std::vector<char*> raw;
        for (const std::string& arg : argv) {
            raw.push_back(const_cast<char*>(arg.c_str()));
        }
        raw.push_back(nullptr);
        execvp(raw[0], raw.data());
        _exit(127);
    }
    ChildResult result;
    struct rusage usage {};
    int status = 0;
    wait4(pid, &status, 0, &usage);
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.peakKiB = usage.ru_maxrss;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

long FolderBytes(const QString& folder) {
    long total = 0;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        total += long(info.size());
    }
    return total;
}

void Scenario(const char* self, int pictures, size_t size, int delayMs) {
    static std::string chunk(1 << 20, 'x');
    httplib::Server server;
    server.new_task_queue = [] { return new httplib::ThreadPool(32); };
    server.Get(R"(/p/\d+\.jpg)", [&](const httplib::Request&, httplib::Response& response) {
        if (delayMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        }
        response.set_content_provider(size, "image/jpeg",
                                      [](size_t offset, size_t length, httplib::DataSink& sink) {
                                          (void)offset;
                                          sink.write(chunk.data(), std::min(length, chunk.size()));
                                          return true;
                                      });
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    const std::string connectTo = "127.0.0.1:" + std::to_string(port);

    QTemporaryDir mosaiqDir, curlDir;
    const ChildResult mosaiq = RunChild(
        {self, "--client", std::to_string(pictures), mosaiqDir.path().toStdString()}, connectTo);
    const long mosaiqBytes = FolderBytes(mosaiqDir.path() + "/bench");

    const std::string config = curlDir.path().toStdString() + "/urls.txt";
    {
        std::ofstream out(config);
        for (int i = 0; i < pictures; ++i) {
            out << "url = \"http://" << kHost << "/p/" << i << ".jpg\"\n"
                << "output = \"" << curlDir.path().toStdString() << "/" << i << ".jpg\"\n";
        }
    }
    const ChildResult curl =
        RunChild({"curl", "-s", "--no-progress-meter", "--parallel", "--parallel-max",
                  std::to_string(kThreads), "--connect-to", "::" + connectTo, "-K", config},
                 connectTo);
    server.stop();
    serving.join();

    std::printf(
        "%4d x %6zu KiB, %2d ms wait: mosaiq %6.2f s (%4ld MiB peak, exit %d, %ld MiB saved)"
        "  curl %6.2f s (%4ld MiB peak)  ratio %.2f\n",
        pictures, size / 1024, delayMs, mosaiq.seconds, mosaiq.peakKiB / 1024, mosaiq.status,
        mosaiqBytes >> 20, curl.seconds, curl.peakKiB / 1024, mosaiq.seconds / curl.seconds);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--client") {
        return RunClient(std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    Scenario(argv[0], 1000, 200 * 1024, 0);
    Scenario(argv[0], 1000, 200 * 1024, 20);
    Scenario(argv[0], 20, size_t(100) << 20, 0);
    return 0;
}
