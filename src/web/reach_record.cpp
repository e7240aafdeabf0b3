#include "web/reach_record.h"

namespace mosaiq {
namespace {

thread_local ReachRecord t_record;

}  // namespace

void ResetReachRecord() {
    t_record = ReachRecord{};
}

ReachRecord CurrentReachRecord() {
    return t_record;
}

void NoteAnswer() {
    t_record.anyAnswer = true;
}

void NoteOversizedPage() {
    ++t_record.oversizedPages;
}

void NoteUnreached(const QString& host) {
    if (t_record.unreachedHost.isEmpty()) {
        t_record.unreachedHost = host;
    }
}

}  // namespace mosaiq
