#include "cli/cli_run.h"

#include <QCoreApplication>

#include <unistd.h>
#include <csignal>
#include <cstdio>

namespace {

std::atomic<bool> g_interrupted{false};

// The first Ctrl-C stops the job as its button would; a second one ends the program.
void OnInterrupt(int) {
    g_interrupted = true;
    mosaiq::StopCliJob();
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::signal(SIGINT, OnInterrupt);
    mosaiq::CliStreams streams;
    streams.errIsTerminal = isatty(fileno(stderr)) != 0;
    int code = mosaiq::RunCli(app.arguments().mid(1), streams);
    if (g_interrupted) {
        code = mosaiq::kExitInterrupted;
        // Workers of a stopped download may still be finishing their picture.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
