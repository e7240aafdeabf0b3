#pragma once

#include <QString>

namespace mosaiq {

// What the calling thread's requests met since its last ResetReachRecord: whether any server
// answered, and the first host that could not be reached at all (no name, no connection, no
// answer in time). A job that found nothing tells "cannot reach HOST" from "nothing there".
struct ReachRecord {
    bool anyAnswer = false;
    QString unreachedHost;
    int oversizedPages = 0;  // pages refused for passing the page bound

    // Nothing answered and a host was tried and not reached.
    bool NothingReached() const { return !anyAnswer && !unreachedHost.isEmpty(); }
};

void ResetReachRecord();
ReachRecord CurrentReachRecord();

// Kept by the HTTP client after each exchange.
void NoteAnswer();
void NoteUnreached(const QString& host);
void NoteOversizedPage();

}  // namespace mosaiq
