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

// Runs "list" and "download" (arguments after the program name) and returns the exit code:
// 0 the job ran (also with no album found), 1 it could not run, 2 a bad command line.
int RunCli(const QStringList& args, const CliStreams& streams,
           const SiteDispatch& dispatch = SiteTableDispatch());

// The job state a running command works on, for an interrupt to stop; nullptr between jobs.
extern std::atomic<JobState*> g_cliJob;

// Asks the running job to stop as a second click of its button would. Async-signal-safe.
void StopCliJob();

}  // namespace mosaiq
