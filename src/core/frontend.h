#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace mosaiq {

// The two status lines of the main window.
enum class StatusLine {
    Main = 1009,      // job phase: "正在获取相册列表，请稍等...", "下载完毕" ...
    Progress = 1006,  // details: "已下载%d/%d......" ...
};

// Everything a person sees or answers. Jobs and adapters call it from worker threads;
// the window marshals onto its UI thread, the CLI prints, tests record.
class Frontend {
  public:
    virtual ~Frontend() = default;

    virtual void SetStatusText(StatusLine line, const QString& text) = 0;
    virtual void ShowMessage(const QString& text, const QString& caption) = 0;
    // Blocks until answered; true for Yes.
    virtual bool AskYesNo(const QString& text, const QString& caption) = 0;
    // Opens the login window on `address` and blocks until it closes; with autoCloseSeconds
    // above 0 the window closes itself after that long. True when it was closed by its timer
    // or accepted, false when cancelled.
    virtual bool OpenLoginWindow(const QString& address, int autoCloseSeconds) = 0;

    // Controls the jobs read.
    virtual QString InputText() = 0;
    virtual QString SavePathText() = 0;
    virtual int SiteTypeSelection() = 0;
    virtual int SubTypeSelection() = 0;  // -1 while the sub-type box is hidden

    // The album table.
    virtual void ResetAlbumTable() = 0;
    virtual void AlbumAdded(int index) = 0;  // record `index` of m_records is new
    // The cover of record `index` of listing `listing` (CoverPool) is in `imageFile`.
    virtual void ThumbnailReady(int index, const QString& imageFile, uint64_t listing) = 0;
    virtual void SetAlbumGroupText(const QString& text) = 0;
    virtual std::vector<int> SelectedAlbums() = 0;  // album indexes in table order
    virtual void SelectAllAlbums() = 0;

    // Busy and idle display of the two jobs (buttons, enabled controls).
    virtual void SetListBusy(bool busy) = 0;
    virtual void SetDownloadBusy(bool busy) = 0;
    // A text entered the address history (the input box's entry list).
    virtual void InputHistoryAdded(const QString& text) = 0;
    // The workers of one album ended (elapsed seconds, pictures queued). The window only
    // acknowledges it.
    virtual void AlbumDownloadFinished(int elapsedSeconds, int total) {
        (void)elapsedSeconds;
        (void)total;
    }

    virtual QString ClipboardText() = 0;
    virtual bool IsCtrlDown() = 0;
    virtual void OpenFolder(const QString& path) = 0;
    virtual void OpenWebPage(const QString& address) = 0;
};

}  // namespace mosaiq
