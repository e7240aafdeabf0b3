#include "jobs/download_job.h"

#include "core/extension_settings.h"
#include "core/frontend.h"
#include "core/job_state.h"
#include "core/naming.h"
#include "core/picture_queue.h"
#include "core/thunder_list.h"
#include "jobs/download_workers.h"
#include "jobs/file_fixes.h"
#include "jobs/save_root.h"
#include "sites/site_types.h"
#include "web/codepage.h"

#include <QDateTime>
#include <QSaveFile>

namespace mosaiq {
namespace {

const QString kCaption = QStringLiteral("提示");

void Tell(JobState& state, const QString& text) {
    state.frontend->ShowMessage(text, kCaption);
}

bool Stopped(const JobState& state) {
    return state.m_downState.load() == DownState::Stopped;
}

// The albums to fetch, in table order; indexes the list does not hold are dropped.
std::vector<int> SelectedAlbums(JobState& state) {
    std::vector<int> albums;
    const int count = state.m_records.Size();
    for (const int index : state.frontend->SelectedAlbums()) {
        if (index >= 0 && index < count) {
            albums.push_back(index);
        }
    }
    return albums;
}

// One line: a fallback address after CR LF stays out, since only the first line is read back
// and compared.
void WriteMarker(const QString& folder, const QString& firstAddress) {
    QSaveFile file(folder + QLatin1String(kMarkerFileName));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(TextToGbk(firstAddress.section(QStringLiteral("\r\n"), 0, 0)));
        file.commit();
    }
}

QStringList TargetPaths(const PictureQueue& queue) {
    QStringList paths;
    for (const PictureEntry& entry : queue.entries) {
        paths.append(PictureTargetPath(queue.folder, entry.fileName));
    }
    return paths;
}

// Fetches the queue of one album, then writes its marker and runs the fixes unless stopped.
// The marker says "all of this album is here": an album with a picture not saved gets none, so
// that the next skip-downloaded run fetches it again. Returns the pictures not saved.
std::vector<FailedPicture> DownloadQueue(JobState& state, PictureQueue& queue, uint16_t options) {
    state.frontend->SetStatusText(StatusLine::Progress, QStringLiteral("已开始下载图片"));
    JobThread monitor = DownProc();
    if (!monitor.Started()) {
        Tell(state, QStringLiteral("Create thread:DownPicFunc failed."));
        return {};
    }
    monitor.Wait();
    std::vector<FailedPicture> failed = LastAlbumFailures();
    if (g_stopWorkers.load() != 0) {
        return failed;  // a stopped album gets no marker and no fixes
    }
    if (!Stopped(state) && failed.empty()) {
        WriteMarker(queue.folder, queue.Row(0).address);
    }
    if (options & kOptionFixFormat) {
        FixFormats(queue, PropertiesOf(state.m_listType.load()).videoExtension);
    }
    if (options & kOptionFixOrder) {
        FixOrder(queue, QDateTime::currentSecsSinceEpoch());
    }
    return failed;
}

// The end notice of a job with pictures not saved: how many, and the first few reasons.
QString FailureNotice(const DownloadJobResult& result) {
    constexpr int kShown = 5;
    QStringList lines{QStringLiteral("有%1张图片没有保存下来，这些相册下次下载时会重新下载：")
                          .arg(result.failed)};
    int shown = 0;
    for (const AlbumDownloadResult& album : result.albums) {
        for (const FailedPicture& picture : album.failed) {
            if (shown++ < kShown) {
                lines << QStringLiteral("%1 (%2)").arg(
                    picture.address.section(QStringLiteral("\r\n"), 0, 0), picture.reason);
            }
        }
    }
    if (shown > kShown) {
        lines << QStringLiteral("……");
    }
    return lines.join(u'\n');
}

void CopySlotValues(JobState& state) {
    const DownloadSlot& slot = SlotOf(state.m_settings, state.m_listType.load());
    g_minSizeK = slot.minSizeK;
    g_maxSizeK = slot.maxSizeK;
    g_threadCount = slot.threadCount;
    g_timeoutSec = slot.timeoutSec;
}

}  // namespace

DownloadJobResult RunDownloadJob(JobState& state, const SiteDispatch& dispatch) {
    DownloadJobResult result;
    ReadExtensionSettings(state);
    Frontend& frontend = *state.frontend;
    const QString savePath = frontend.SavePathText().trimmed();
    if (savePath.isEmpty()) {
        Tell(state, QStringLiteral("请先设置保存路径"));
        state.m_downState = DownState::Idle;
        return result;
    }
    const QString root = SaveRootPath(savePath, state.m_account, state.m_subDir);
    if (const auto failed = CreateFolders(root)) {
        Tell(state, *failed);
        Tell(state, QStringLiteral("请检测设置的保存路径是否有误"));
        state.m_downState = DownState::Idle;
        return result;
    }
    result.ran = true;
    SetFileTimes(root, QDateTime::currentSecsSinceEpoch());
    frontend.SetDownloadBusy(true);

    state.m_albumFolders.clear();
    PictureQueue& queue = g_pictureQueue();
    queue.folder = root;
    queue.progressWindow = state.frontend;
    CopySlotValues(state);
    const uint16_t options = NamingOf(state.m_settings, state.m_listType.load()).options;

    const std::vector<int> albums = SelectedAlbums(state);
    state.m_records.checkedCount = int32_t(albums.size());
    if (albums.empty()) {
        Tell(state, QStringLiteral("请先在列表中选择要下载的相册"));
    }
    bool downloadListed = false;
    for (size_t position = 0; position < albums.size() && !Stopped(state); ++position) {
        queue.Clear();
        queue.folder = root;
        frontend.SetStatusText(
            StatusLine::Main,
            QStringLiteral("正在下载第%1/%2个图集").arg(position + 1).arg(albums.size()));
        frontend.SetStatusText(StatusLine::Progress, QStringLiteral("......"));
        // Only "album done early" goes back to running: a stop stored meanwhile must stay.
        DownState doneEarly = DownState::AlbumDone;
        state.m_downState.compare_exchange_strong(doneEarly, DownState::Running);

        dispatch.listPictures(state, albums[position]);
        if (queue.Count() == 0) {
            continue;
        }
        if (Stopped(state) && !downloadListed) {
            downloadListed = frontend.AskYesNo(
                QStringLiteral("已终止下载。是否下载已获取到的%1张图片?").arg(queue.Count()),
                kCaption);
        }
        if (Stopped(state) && !downloadListed) {
            continue;
        }
        result.total += queue.Count();
        AlbumDownloadResult album{albums[position], queue.folder, {}, {}, {}};
        if (options & kOptionThunderOnly) {
            album.listFile =
                ThunderListPath(queue.folder, state.m_records.At(albums[position])->title);
            WriteThunderList(album.listFile, queue);
        } else {
            album.failed = DownloadQueue(state, queue, options);
            result.failed += int(album.failed.size());
        }
        album.files = TargetPaths(queue);
        result.albums.push_back(std::move(album));
    }

    result.stopped = Stopped(state);
    state.m_downState = DownState::Idle;
    frontend.SetDownloadBusy(false);
    frontend.SetStatusText(StatusLine::Main,
                           result.failed == 0
                               ? QStringLiteral("下载完毕")
                               : QStringLiteral("下载完毕，%1张图片下载失败").arg(result.failed));
    frontend.SetStatusText(StatusLine::Progress, QString());
    if (result.failed > 0) {
        Tell(state, FailureNotice(result));
    }
    if (result.total > 0 && (options & kOptionOpenFolder)) {
        frontend.OpenFolder(queue.folder);
    }
    return result;
}

JobThread DownloadCommand(JobState& state, const SiteDispatch& dispatch) {
    DownState idle = DownState::Idle;
    if (!state.m_downState.compare_exchange_strong(idle, DownState::Running)) {
        state.m_downState = DownState::Stopped;
        g_stopWorkers = 1;
        return {};
    }
    JobThread job([&state, dispatch] { RunDownloadJob(state, dispatch); });
    if (!job.Started()) {
        state.m_downState = DownState::Idle;
        Tell(state,
             QStringLiteral("无法启动下载线程 (错误 %1)，请稍后再试。").arg(job.StartError()));
    }
    return job;
}

}  // namespace mosaiq
