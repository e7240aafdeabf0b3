#include "sites/site_sinks.h"

#include "core/album_sink.h"
#include "core/frontend.h"
#include "core/job_state.h"
#include "core/naming.h"

namespace mosaiq {
namespace {

const QString kCaption = QStringLiteral("提示");

}  // namespace

bool ListAlbum(JobState& state, const ST_PERLISTRECORD& record) {
    AppendAndShow(state, record);
    return !ListStopRequested(state);
}

bool QueuePicture(JobState& state, const QString& address, const QString& description,
                  const QString& headerText, int albumIndex, const std::optional<QString>& extra) {
    AddPicture(state, address, description, headerText, albumIndex, extra);
    return !DownloadShouldEnd(state);
}

void Tell(JobState& state, const QString& text) {
    if (state.frontend != nullptr) {
        state.frontend->ShowMessage(text, kCaption);
    }
}

void TellUnreachable(JobState& state, const QString& address) {
    Tell(state, QStringLiteral("没有读到网页，请检查网络或网址后重试：\n") + address);
}

bool Ask(JobState& state, const QString& question) {
    return state.frontend != nullptr && state.frontend->AskYesNo(question, kCaption);
}

void OpenLogin(JobState& state, const QString& address, int autoCloseSeconds) {
    if (state.frontend != nullptr) {
        state.frontend->OpenLoginWindow(address, autoCloseSeconds);
    }
}

}  // namespace mosaiq
