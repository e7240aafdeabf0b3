#include "jobs/list_job.h"

#include "core/extension_settings.h"
#include "core/folder_path.h"
#include "core/frontend.h"
#include "core/job_state.h"
#include "core/naming.h"
#include "core/program_folders.h"
#include "core/settings_record.h"
#include "jobs/download_job.h"
#include "sites/site_types.h"
#include "web/reach_record.h"

namespace mosaiq {
namespace {

const QString kCaption = QStringLiteral("提示");

void Tell(JobState& state, const QString& text) {
    state.frontend->ShowMessage(text, kCaption);
}

bool HasScheme(const QString& input) {
    return input.contains(u"http://") || input.contains(u"https://");
}

// A folder-name part of the save root: cleaned (which removes every separator, so it is one
// folder), ending with a separator when not empty.
void CleanFolderPart(QString& text) {
    SanitizeName(text, 0, false);
    text = WithSeparator(text);
}

void EndJob(JobState& state, int albums) {
    Frontend& frontend = *state.frontend;
    frontend.SetAlbumGroupText(QStringLiteral("相册列表(共%1个)").arg(albums));
    frontend.SetStatusText(StatusLine::Main,
                           QStringLiteral("获取相册列表完成，共%1个").arg(albums));
    state.m_listState = ListState::Idle;
    frontend.SetListBusy(false);
    if (albums < 1) {
        return;
    }
    const QString input = frontend.InputText().trimmed();
    if (RememberInHistory(state.m_settings, kAddressHistory, input)) {
        frontend.InputHistoryAdded(input);
        SaveSettings(state.m_settings, ConfigFolder(state));
    }
}

// The tip shown when the job thread cannot start.
QString ThreadStartTip(int errorCode, const JobState& state) {
    return QStringLiteral(
               "获取相册列表的线程无法启动(%1_%2)\r\n\r\n"
               "系统资源可能不足。请关闭一些程序后再试一次；"
               "若仍然失败，请重新启动本程序。")
        .arg(errorCode)
        .arg(quintptr(&state));
}

}  // namespace

void PrepareListJob(JobState& state) {
    // Before the table is cleared: covers of the old rows still coming are not shown.
    state.m_covers.NewListing();
    state.frontend->ResetAlbumTable();
    state.m_records.Clear();
    state.m_listState = ListState::Running;
    state.m_subType = kNoSubType;
    state.m_listType = state.frontend->SiteTypeSelection();
}

ListJobResult RunListJob(JobState& state, const SiteDispatch& dispatch) {
    ListJobResult result;
    ReadExtensionSettings(state);
    Frontend& frontend = *state.frontend;
    state.m_listType = frontend.SiteTypeSelection();
    state.m_account.clear();
    state.m_subDir.clear();
    const QString input = frontend.InputText().trimmed();
    if (input.isEmpty()) {
        Tell(state, QStringLiteral("请输入QQ号码、用户名或相册地址"));
        state.m_listState = ListState::Idle;
        return result;
    }
    result.ran = true;
    state.m_listState.store(state.m_listState.load() == ListState::StopRequested
                                ? ListState::StopRequested
                                : ListState::Running);
    frontend.SetListBusy(true);
    frontend.SetAlbumGroupText(QStringLiteral("相册列表"));
    frontend.SetStatusText(StatusLine::Main, QStringLiteral("正在获取相册列表，请稍等..."));
    frontend.SetStatusText(StatusLine::Progress, QString());

    if (!HasScheme(input) && state.m_listType.load() != SiteTypeValue(SiteType::QqFamily)) {
        Tell(state, QStringLiteral("请输入所选网站的地址(以 http:// 或 https:// 开头)"));
    } else {
        const int subType = frontend.SubTypeSelection();
        if (subType != kNoSubType) {
            state.m_subType = subType;
        }
        ResetReachRecord();
        dispatch.listAlbums(state, input, result.singleItem);
        // Without a network every site looks empty, and its hint would blame the login.
        const ReachRecord reach = CurrentReachRecord();
        if (state.m_records.Size() == 0 && reach.NothingReached() && !ListStopRequested(state)) {
            result.unreachedHost = reach.unreachedHost;
            Tell(state,
                 QStringLiteral("无法连接到 %1，请检查网络连接后再试。").arg(reach.unreachedHost));
        }
    }
    // The listing is done when its preview is; "终止获取" drops the covers not yet asked for.
    if (!state.m_covers.WaitIdle([&state] { return ListStopRequested(state); })) {
        state.m_covers.DropQueued();
    }

    CleanFolderPart(state.m_account);
    CleanFolderPart(state.m_subDir);
    result.albums = state.m_records.Size();
    EndJob(state, result.albums);
    // A page bomb or a runaway page is a failed request; the user learns why pages are missing.
    if (const int oversized = CurrentReachRecord().oversizedPages; oversized > 0) {
        frontend.SetStatusText(StatusLine::Progress,
                               QStringLiteral("%1个网页超过64MB，没有读取").arg(oversized));
    }
    result.singleItem = result.singleItem && result.albums >= 1;
    return result;
}

JobThread GetListCommand(JobState& state, const SiteDispatch& dispatch) {
    if (state.m_ready.load() != 1) {
        return {};
    }
    if (state.m_listState.load() != ListState::Idle) {
        state.m_listState = ListState::StopRequested;
        return {};
    }
    if (state.m_downState.load() != DownState::Idle) {
        // The download reads the album list; clearing it now would pull it away.
        Tell(state, QStringLiteral("正在下载，请先终止下载再获取相册"));
        return {};
    }
    PrepareListJob(state);
    JobThread job([&state, dispatch] {
        const ListJobResult result = RunListJob(state, dispatch);
        DownState idle = DownState::Idle;
        if (result.singleItem &&
            state.m_downState.compare_exchange_strong(idle, DownState::Running)) {
            state.frontend->SelectAllAlbums();
            RunDownloadJob(state, dispatch);
        }
    });
    if (!job.Started()) {
        state.m_listState = ListState::Idle;
        Tell(state, ThreadStartTip(job.StartError(), state));
    }
    return job;
}

}  // namespace mosaiq
