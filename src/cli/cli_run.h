#pragma once

#include "jobs/site_dispatch.h"

#include <QStringList>

#include <atomic>
#include <cstdio>

namespace mosaiq {

struct JobState;

// Where the tool writes: results to `out`, status and messages to `err`.
struct CliStreams {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    bool errIsTerminal = false;
};

// Exit codes of the tool.
enum CliExit : int {
    kExitOk = 0,            // everything asked for was listed or saved
    kExitFailed = 1,        // the job could not run, listed nothing, or pictures were not saved
    kExitUsage = 2,         // a bad command line
    kExitInterrupted = 130  // stopped by Ctrl-C
};

// Runs "list" and "download" (arguments after the program name) and returns the exit code.
int RunCli(const QStringList& args, const CliStreams& streams,
           const SiteDispatch& dispatch = SiteTableDispatch());

// The job state a running command works on, for an interrupt to stop; nullptr between jobs.
extern std::atomic<JobState*> g_cliJob;

// Asks the running job to stop as a second click of its button would, and makes the run end
// with kExitInterrupted. Async-signal-safe.
void StopCliJob();

}  // namespace mosaiq
