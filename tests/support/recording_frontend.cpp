#include "support/recording_frontend.h"

namespace mosaiq::test {

using Lock = std::lock_guard<std::recursive_mutex>;

void RecordingFrontend::SetStatusText(StatusLine line, const QString& text) {
    Lock lock(mutex);
    (line == StatusLine::Main ? mainStatus : progressStatus).append(text);
}

void RecordingFrontend::ShowMessage(const QString& text, const QString&) {
    Lock lock(mutex);
    messages.append(text);
}

bool RecordingFrontend::AskYesNo(const QString& text, const QString&) {
    Lock lock(mutex);
    questions.append(text);
    if (answers.empty()) {
        return defaultAnswer;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

bool RecordingFrontend::OpenLoginWindow(const QString& address, int autoCloseSeconds) {
    std::function<bool(const QString&)> handler;
    {
        Lock lock(mutex);
        logins.append(address);
        loginAutoCloseSeconds.push_back(autoCloseSeconds);
        handler = onLogin;
    }
    return handler ? handler(address) : false;
}

QString RecordingFrontend::InputText() {
    Lock lock(mutex);
    return input;
}

QString RecordingFrontend::SavePathText() {
    Lock lock(mutex);
    return savePath;
}

int RecordingFrontend::SiteTypeSelection() {
    Lock lock(mutex);
    return siteType;
}

int RecordingFrontend::SubTypeSelection() {
    Lock lock(mutex);
    return subType;
}

void RecordingFrontend::ResetAlbumTable() {
    Lock lock(mutex);
    ++tableResets;
}

void RecordingFrontend::AlbumAdded(int index) {
    Lock lock(mutex);
    addedAlbums.push_back(index);
}

void RecordingFrontend::ThumbnailReady(int index, const QString& imageFile, uint64_t) {
    Lock lock(mutex);
    thumbnails.emplace_back(index, imageFile);
}

void RecordingFrontend::SetAlbumGroupText(const QString& text) {
    Lock lock(mutex);
    groupTexts.append(text);
}

std::vector<int> RecordingFrontend::SelectedAlbums() {
    Lock lock(mutex);
    return selected;
}

void RecordingFrontend::SelectAllAlbums() {
    Lock lock(mutex);
    ++selectAllCalls;
}

void RecordingFrontend::SetListBusy(bool busy) {
    Lock lock(mutex);
    listBusy.push_back(busy);
}

void RecordingFrontend::SetDownloadBusy(bool busy) {
    Lock lock(mutex);
    downloadBusy.push_back(busy);
}

void RecordingFrontend::InputHistoryAdded(const QString& text) {
    Lock lock(mutex);
    historyAdded.append(text);
}

QString RecordingFrontend::ClipboardText() {
    Lock lock(mutex);
    return clipboard;
}

bool RecordingFrontend::IsCtrlDown() {
    Lock lock(mutex);
    return ctrlDown;
}

void RecordingFrontend::AlbumDownloadFinished(int elapsedSeconds, int total) {
    Lock lock(mutex);
    finishedAlbums.emplace_back(elapsedSeconds, total);
}

void RecordingFrontend::OpenFolder(const QString& path) {
    Lock lock(mutex);
    openedFolders.append(path);
}

void RecordingFrontend::OpenWebPage(const QString& address) {
    Lock lock(mutex);
    openedPages.append(address);
}

}  // namespace mosaiq::test
