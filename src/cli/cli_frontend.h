#pragma once

#include "core/frontend.h"
#include "core/site_type.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <mutex>
#include <vector>

namespace mosaiq {

// The progress bar of a terminal: "[####      ] 12/40  3.4 MB  1.1 MB/s  0:25 left".
QString ProgressBarText(int done, int total, qint64 bytes, qint64 elapsedMs);

// The command line's window: status lines and messages on stderr (the progress text as a bar
// when stderr is a terminal), questions answered by --yes / --no, no login window.
// A site's text made safe for a terminal: CR LF and lone CR become line breaks, every other
// control character (C0, DEL, C1) a "?", so a page cannot move the cursor, clear the screen or
// retitle the terminal.
QString TerminalSafe(const QString& text);

class CliFrontend : public Frontend {
  public:
    CliFrontend(std::FILE* err, bool errIsTerminal, bool quiet, bool answerYes);

    QString input;
    QString savePath;
    int siteType = SiteTypeValue(SiteType::QqFamily);
    int subType = kNoSubType;
    std::vector<int> selected;

    void SetStatusText(StatusLine line, const QString& text) override;
    void ShowMessage(const QString& text, const QString& caption) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    bool OpenLoginWindow(const QString& address, int autoCloseSeconds) override;
    QString InputText() override { return input; }
    QString SavePathText() override { return savePath; }
    int SiteTypeSelection() override { return siteType; }
    int SubTypeSelection() override { return subType; }
    void ResetAlbumTable() override {}
    void AlbumAdded(int) override {}
    void ThumbnailReady(int, const QString&, uint64_t) override {}
    void SetAlbumGroupText(const QString&) override {}
    std::vector<int> SelectedAlbums() override;
    void SelectAllAlbums() override;
    void SetListBusy(bool) override {}
    void SetDownloadBusy(bool) override {}
    void InputHistoryAdded(const QString&) override {}
    QString ClipboardText() override { return {}; }
    bool IsCtrlDown() override { return false; }
    void OpenFolder(const QString& path) override;
    void OpenWebPage(const QString& address) override;

    // Every album of the list is selected (SelectAllAlbums): set by the one who owns it.
    int albumCount = 0;

    // The message texts shown so far.
    QStringList Messages();

  private:
    void Line(const QString& text);
    void Redraw(const QString& text);  // the one line a terminal keeps rewriting
    void EndBar();

    std::FILE* m_err;
    bool m_terminal;
    bool m_quiet;
    bool m_answerYes;
    bool m_barShown = false;
    QStringList m_messages;
    QString m_pendingCount;      // the last picture count of the album being listed
    QElapsedTimer m_albumClock;  // since the album's download started
    std::recursive_mutex m_mutex;
};

}  // namespace mosaiq
