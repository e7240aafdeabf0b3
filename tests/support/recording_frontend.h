#pragma once

#include "core/frontend.h"
#include "core/site_type.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace mosaiq::test {

// A Frontend that records every call and answers from a script. Thread-safe: jobs call it
// from their own threads.
class RecordingFrontend : public Frontend {
  public:
    // What the controls hold.
    QString input;
    QString savePath;
    int siteType = SiteTypeValue(SiteType::QqFamily);
    int subType = kNoSubType;
    QString clipboard;
    bool ctrlDown = false;
    std::vector<int> selected;

    // Answers to AskYesNo, first in first out; `defaultAnswer` once they run out.
    std::deque<bool> answers;
    bool defaultAnswer = false;
    // Runs inside OpenLoginWindow (for example to set cookies); its result is returned.
    std::function<bool(const QString&)> onLogin;

    // Recorded calls.
    QStringList messages;
    QStringList questions;
    QStringList logins;
    std::vector<int> loginAutoCloseSeconds;
    QStringList mainStatus;
    QStringList progressStatus;
    QStringList groupTexts;
    QStringList historyAdded;
    QStringList openedFolders;
    QStringList openedPages;
    std::vector<int> addedAlbums;
    std::vector<std::pair<int, QString>> thumbnails;
    std::vector<bool> listBusy;
    std::vector<bool> downloadBusy;
    std::vector<std::pair<int, int>> finishedAlbums;  // (elapsed seconds, total)
    int tableResets = 0;
    int selectAllCalls = 0;

    void SetStatusText(StatusLine line, const QString& text) override;
    void ShowMessage(const QString& text, const QString& caption) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    bool OpenLoginWindow(const QString& address, int autoCloseSeconds) override;
    QString InputText() override;
    QString SavePathText() override;
    int SiteTypeSelection() override;
    int SubTypeSelection() override;
    void ResetAlbumTable() override;
    void AlbumAdded(int index) override;
    void ThumbnailReady(int index, const QString& imageFile, uint64_t listing) override;
    void SetAlbumGroupText(const QString& text) override;
    std::vector<int> SelectedAlbums() override;
    void SelectAllAlbums() override;
    void SetListBusy(bool busy) override;
    void SetDownloadBusy(bool busy) override;
    void InputHistoryAdded(const QString& text) override;
    void AlbumDownloadFinished(int elapsedSeconds, int total) override;
    QString ClipboardText() override;
    bool IsCtrlDown() override;
    void OpenFolder(const QString& path) override;
    void OpenWebPage(const QString& address) override;

    // Guards every member above while a job runs.
    mutable std::recursive_mutex mutex;
};

}  // namespace mosaiq::test
