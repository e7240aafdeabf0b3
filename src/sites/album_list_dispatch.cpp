#include "sites/album_list_dispatch.h"

#include "core/album_sink.h"
#include "core/frontend.h"
#include "core/job_state.h"
#include "sites/dispatch_page.h"
#include "sites/input_normalization.h"
#include "sites/qzone.h"
#include "sites/site_sinks.h"
#include "web/reach_record.h"

namespace mosaiq {
namespace {

void StoreIfSet(QString& member, const std::optional<QString>& value) {
    if (value) {
        member = *value;
    }
}

// A row runs, and fetches its page, only once its first adapter is built.
bool Supported(const AlbumListPlan& plan) {
    return AlbumListAdapterFor(plan.calls.front().source) != nullptr;
}

void RunCalls(JobState& state, const AlbumListPlan& plan) {
    for (const AlbumCall& call : plan.calls) {
        if (state.m_records.Size() > 0 || ListStopRequested(state)) {
            return;
        }
        const AlbumListAdapter adapter = AlbumListAdapterFor(call.source);
        if (adapter == nullptr) {
            // A family is built whole; a missing fallback is said, never skipped.
            Tell(state, QString::fromUtf16(kNotSupportedYet));
            return;
        }
        if (call.subType) {
            state.m_subType = *call.subType;
        }
        adapter(state, plan.input);
    }
}

}  // namespace

void DispatchAlbumList(JobState& state, const QString& trimmedInput, bool& singleItem) {
    singleItem = false;
    AlbumListPlan plan =
        PlanAlbumList(state.m_listType.load(), state.m_subType.load(), trimmedInput);
    if (!plan.message.isEmpty()) {
        Tell(state, plan.message);
        return;
    }
    if (plan.calls.empty()) {
        return;
    }
    if (!Supported(plan)) {
        Tell(state, QString::fromUtf16(kNotSupportedYet));
        return;
    }
    if (plan.pageStep != PageStep::None) {
        QString page;
        if (!FetchDispatchPage(plan.pageAddress, page)) {
            TellUnreachable(state, plan.pageAddress);
            return;
        }
        if (!CompletePlanWithPage(plan, page)) {
            if (!plan.message.isEmpty()) {
                Tell(state, plan.message);
            }
            return;
        }
    }
    StoreIfSet(state.m_account, plan.account);
    StoreIfSet(state.m_jobText1, plan.jobText1);
    StoreIfSet(state.m_jobText2, plan.jobText2);

    RunCalls(state, plan);

    StoreIfSet(state.m_account, plan.accountAfter);
    StoreIfSet(state.m_jobText1, plan.jobText1After);
    const int listed = state.m_records.Size();
    // A site not reached at all is told by the job, not blamed on the login.
    if (listed == 0 && !plan.emptyMessage.isEmpty() && !CurrentReachRecord().NothingReached()) {
        Tell(state, plan.emptyMessage);
    }
    // A stop ends the adapters, not the row: the pseudo-album needs no request.
    if (plan.moodAlbum &&
        (listed > 0 || (state.frontend != nullptr && state.frontend->IsCtrlDown()))) {
        AppendAndShow(state, MoodAlbumRecord(plan.input));
    }
    singleItem = plan.singleItem == SingleItem::Always ||
                 (plan.singleItem == SingleItem::WhenOneAlbum && state.m_records.Size() == 1);
}

}  // namespace mosaiq
