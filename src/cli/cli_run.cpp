#include "cli/cli_run.h"

#include "cli/cli_frontend.h"
#include "cli/cli_options.h"
#include "cli/cookies_command.h"
#include "cli/demo_command.h"
#include "core/album_sink.h"
#include "core/folder_path.h"
#include "core/job_state.h"
#include "core/picture_queue.h"
#include "core/program_folders.h"
#include "core/settings_record.h"
#include "core/version.h"
#include "jobs/download_job.h"
#include "jobs/list_job.h"
#include "sites/album_list_dispatch.h"
#include "sites/recognition.h"
#include "web/shared_cookie_hooks.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace mosaiq {

std::atomic<JobState*> g_cliJob{nullptr};
namespace {
std::atomic<bool> g_interrupted{false};
}  // namespace

void StopCliJob() {
    g_interrupted = true;
    JobState* state = g_cliJob.load();
    if (state == nullptr) {
        return;
    }
    if (state->m_listState.load() != ListState::Idle) {
        state->m_listState = ListState::StopRequested;
    }
    if (state->m_downState.load() != DownState::Idle) {
        state->m_downState = DownState::Stopped;
        g_stopWorkers = 1;
    }
}

namespace {

void Print(std::FILE* stream, const QString& line) {
    std::fputs((line + u'\n').toUtf8().constData(), stream);
    std::fflush(stream);
}

QString JsonLine(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString RecordLine(const ST_PERLISTRECORD& r, bool json) {
    if (json) {
        return JsonLine({{"index", r.index},
                         {"title", r.title},
                         {"albumRef", r.albumRef},
                         {"coverUrl", r.coverUrl},
                         {"createdText", r.createdText},
                         {"extraRef", r.extraRef},
                         {"pictureCount", r.pictureCount},
                         {"accessFlags", r.accessFlags}});
    }
    return QStringList{AlbumNumberText(r.index), r.title, PictureCountText(r.pictureCount),
                       AccessText(r.accessFlags), r.albumRef}
        .join(u'\t');
}

// The album's pictures that are on disk now (saved by this run or kept from an earlier one).
int SavedPictures(const AlbumDownloadResult& album) {
    int saved = 0;
    for (const QString& file : album.files) {
        saved += QFileInfo(file).isFile() ? 1 : 0;
    }
    return saved;
}

QString AlbumResultLine(const ST_PERLISTRECORD& r, const AlbumDownloadResult& album, int saved,
                        bool json) {
    const int queued = int(album.files.size());
    const int failed = int(album.failed.size());
    if (json) {
        QJsonObject object{{"index", r.index}, {"title", r.title}, {"folder", album.folder},
                           {"queued", queued}, {"saved", saved},   {"failed", failed}};
        if (!album.listFile.isEmpty()) {
            object.insert("listFile", album.listFile);
        }
        return JsonLine(object);
    }
    const QString counts =
        failed == 0 ? QStringLiteral("%1/%2 saved").arg(saved).arg(queued)
                    : QStringLiteral("%1/%2 saved, %3 failed").arg(saved).arg(queued).arg(failed);
    return QStringList{AlbumNumberText(r.index), r.title, counts,
                       album.listFile.isEmpty() ? album.folder : album.listFile}
        .join(u'\t');
}

QString FailedLine(const FailedPicture& picture, bool json) {
    const QString address = picture.address.section(QStringLiteral("\r\n"), 0, 0);
    if (json) {
        return JsonLine(
            {{"failed", address}, {"target", picture.target}, {"reason", picture.reason}});
    }
    return QStringList{QStringLiteral("failed"), address, picture.target, picture.reason}.join(
        u'\t');
}

// Why a list job left the list empty, for the error line.
QString NothingListedError(const ListJobResult& listed, CliFrontend& frontend) {
    if (frontend.Messages().contains(QString::fromUtf16(kNotSupportedYet))) {
        return QStringLiteral("site type %1 is not supported yet").arg(frontend.siteType);
    }
    if (!listed.unreachedHost.isEmpty()) {
        return QStringLiteral("cannot reach %1").arg(listed.unreachedHost);
    }
    return QStringLiteral("no album was listed");
}

// Site type and sub-type boxes as the window would set them for the input.
void ChooseSite(const CliOptions& o, CliFrontend& frontend) {
    const int qq = SiteTypeValue(SiteType::QqFamily);
    const RecognizedSite recognized = RecognizeSite(o.input, qq);
    frontend.siteType = o.site.value_or(recognized.changed ? recognized.listType : qq);
    int sub = kNoSubType;
    if (frontend.siteType == qq) {
        sub = recognized.changed && recognized.subType != kNoSubType && !o.site
                  ? recognized.subType
                  : SubTypeValue(QqSubType::Zone);
    }
    frontend.subType = o.sub.value_or(sub);
}

int RunJobs(const CliOptions& o, const CliStreams& streams, const SiteDispatch& dispatch) {
    if (o.dataDir && !QFileInfo(*o.dataDir).isDir()) {
        Print(streams.err, QStringLiteral("error: data folder %1 does not exist").arg(*o.dataDir));
        return kExitFailed;
    }
    const ProgramFolders folders =
        ResolveProgramFolders(o.dataDir.value_or(QString()), QDir::currentPath());
    if (!folders.notice.isEmpty() && !o.quiet) {
        Print(streams.err, folders.notice);
    }
    // Requests carry the logins the window or an imported cookies.txt left in the store.
    InstallSharedCookieStore();
    if (!o.cookiesFile) {
        ReportCookieStoreProblems(streams.err);
    } else if (!ImportCookiesOption(*o.cookiesFile, streams.err)) {
        return 1;
    }
    CliFrontend frontend(streams.err, streams.errIsTerminal, o.quiet, o.answerYes);
    JobState state;
    state.frontend = &frontend;
    UseProgramFolders(state, folders);
    LoadSettings(state.m_settings, state.m_configDir);
    state.m_ready = 1;
    frontend.input = o.input;
    ChooseSite(o, frontend);
    g_pictureQueue().progressWindow = &frontend;

    g_cliJob = &state;
    PrepareListJob(state);
    const ListJobResult listed = RunListJob(state, dispatch);
    const int count = state.m_records.Size();
    if (o.command == u"list") {
        g_cliJob = nullptr;
        for (int i = 0; i < count; ++i) {
            Print(streams.out, RecordLine(*state.m_records.At(i), o.json));
        }
    }
    if (g_interrupted) {
        g_cliJob = nullptr;
        return kExitInterrupted;
    }
    if (count == 0) {
        g_cliJob = nullptr;
        Print(streams.err, QStringLiteral("error: ") + NothingListedError(listed, frontend));
        return kExitFailed;
    }
    if (o.command == u"list") {
        return kExitOk;
    }

    QString error;
    const auto selection = ParseAlbumSelection(o.albums, count, error);
    if (!selection) {
        g_cliJob = nullptr;
        Print(streams.err, QStringLiteral("error: ") + error);
        return 1;
    }
    frontend.selected = *selection;
    frontend.albumCount = count;
    const QString& firstSavePath = state.m_settings.savePathHistory[0];
    frontend.savePath =
        o.saveDir.value_or(firstSavePath.isEmpty() ? folders.savePath : firstSavePath);
    if (o.threads) {
        SlotOf(state.m_settings, state.m_listType.load()).threadCount = uint16_t(*o.threads);
    }
    state.m_downState = DownState::Running;
    const DownloadJobResult result = RunDownloadJob(state, dispatch);
    g_cliJob = nullptr;
    if (!result.ran) {
        Print(streams.err,
              QStringLiteral("error: cannot use the save folder %1").arg(frontend.savePath));
        return 1;
    }
    int saved = 0;
    for (const AlbumDownloadResult& album : result.albums) {
        const int albumSaved = SavedPictures(album);
        Print(streams.out,
              AlbumResultLine(*state.m_records.At(album.albumIndex), album, albumSaved, o.json));
        saved += albumSaved;
    }
    if (o.listFailed) {
        for (const AlbumDownloadResult& album : result.albums) {
            for (const FailedPicture& picture : album.failed) {
                Print(streams.out, FailedLine(picture, o.json));
            }
        }
    }
    if (!o.quiet) {
        for (const AlbumDownloadResult& album : result.albums) {
            Print(streams.err, QStringLiteral("Saved in %1")
                                   .arg(album.listFile.isEmpty() ? album.folder : album.listFile));
        }
    }
    if (!o.quiet || result.failed > 0) {
        Print(streams.err, QStringLiteral("%1 of %2 pictures saved, %3 failed%4")
                               .arg(saved)
                               .arg(result.total)
                               .arg(result.failed)
                               .arg(result.failed > 0 && !o.listFailed
                                        ? QStringLiteral(" (--list-failed lists them)")
                                        : QString()));
    }
    if (g_interrupted || result.stopped) {
        return kExitInterrupted;
    }
    return result.failed > 0 ? kExitFailed : kExitOk;
}

}  // namespace

int RunCli(const QStringList& args, const CliStreams& streams, const SiteDispatch& dispatch) {
    g_interrupted = false;
    if (!args.isEmpty() && args.first() == u"cookies") {
        return RunCookiesCommand(args.mid(1), streams.out, streams.err);
    }
    if (!args.isEmpty() && args.first() == u"demo") {
        return RunDemoCommand(args.mid(1));
    }
    const CliParse parse = ParseCliOptions(args);
    if (!parse.error.isEmpty()) {
        Print(streams.err, QStringLiteral("mosaiq-cli: ") + parse.error +
                               QStringLiteral(" (see mosaiq-cli --help)"));
        return kExitUsage;
    }
    if (parse.options.command == u"help") {
        std::fputs(kCliUsage, streams.out);
        return 0;
    }
    if (parse.options.command == u"version") {
        Print(streams.out, QStringLiteral("mosaiq-cli %1").arg(QLatin1String(kVersion)));
        return 0;
    }
    return RunJobs(parse.options, streams, dispatch);
}

}  // namespace mosaiq
