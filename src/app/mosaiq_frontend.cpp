// CMosaiqDlg as the jobs' Frontend: every call may come from a worker thread.
#include "app/album_table_model.h"
#include "app/album_table_view.h"
#include "app/combo_box2.h"
#include "app/mosaiq_dlg.h"
// login_window.h needs the complete window class.
#include "app/dlg_web_open.h"
#include "app/login_window.h"
#include "app/prompter.h"
#include "app/thumbnail_image.h"
#include "app/ui_thread.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace mosaiq {

void CMosaiqDlg::SetStatusText(StatusLine line, const QString& text) {
    PostToUiThread(this, [this, line, text] {
        (line == StatusLine::Main ? m_controls.status1 : m_controls.status2)->setText(text);
    });
}

void CMosaiqDlg::ShowMessage(const QString& text, const QString& caption) {
    RunOnUiThread(this, [&] { m_prompter->Message(this, text, caption); });
}

bool CMosaiqDlg::AskYesNo(const QString& text, const QString& caption) {
    return RunOnUiThread(this, [&] { return m_prompter->YesNo(this, text, caption); });
}

bool CMosaiqDlg::OpenLoginWindow(const QString& address, int autoCloseSeconds) {
    return m_logins->OpenLoginWindow(address, autoCloseSeconds) == LoginResult::Ok;
}

QString CMosaiqDlg::InputText() {
    return RunOnUiThread(this, [this] { return m_controls.input->currentText(); });
}

QString CMosaiqDlg::SavePathText() {
    return RunOnUiThread(this, [this] { return m_controls.savePath->currentText(); });
}

int CMosaiqDlg::SiteTypeSelection() {
    return RunOnUiThread(this, [this] { return m_controls.siteType->currentIndex(); });
}

int CMosaiqDlg::SubTypeSelection() {
    return RunOnUiThread(this, [this] {
        return m_controls.subType->isVisibleTo(this) ? m_controls.subType->currentIndex() : -1;
    });
}

void CMosaiqDlg::ResetAlbumTable() {
    RunOnUiThread(this, [this] {
        {
            const std::lock_guard lock(m_pendingMutex);
            m_pendingAlbums.clear();
        }
        m_controls.selectAll->setChecked(false);
        m_model->Reset(m_state.m_thumbMode.load() == 1);
        m_controls.table->ApplyLayout();
    });
}

void CMosaiqDlg::AlbumAdded(int index) {
    // The cover, if any, comes later through ThumbnailReady.
    bool post = false;
    {
        const std::lock_guard lock(m_pendingMutex);
        m_pendingAlbums.push_back(index);
        post = !m_flushPosted;
        m_flushPosted = true;
    }
    // One flush per turn of the event loop: rows arrive in batches, not one by one.
    if (post) {
        QMetaObject::invokeMethod(this, &CMosaiqDlg::FlushPendingAlbums, Qt::QueuedConnection);
    }
}

void CMosaiqDlg::FlushPendingAlbums() {
    std::vector<int> albums;
    {
        const std::lock_guard lock(m_pendingMutex);
        albums.swap(m_pendingAlbums);
        m_flushPosted = false;
    }
    m_model->AppendAlbums(albums);
}

void CMosaiqDlg::ThumbnailReady(int index, const QString& imageFile, uint64_t listing) {
    // Decoded on the cover pool's thread; only the finished image goes to the UI thread.
    const QImage image = LoadThumbnail(imageFile, m_state.m_thumbWidth, m_state.m_thumbHeight);
    if (image.isNull()) {
        return;
    }
    PostToUiThread(this, [this, index, image, listing] {
        // A new listing clears the table on this thread first: its rows are not ours.
        if (!m_state.m_covers.IsCurrent(listing)) {
            return;
        }
        if (ST_PERLISTRECORD* record = m_state.m_records.At(index)) {
            record->thumbIndex = index;
        }
        m_model->SetThumbnail(index, image);
    });
}

void CMosaiqDlg::SetAlbumGroupText(const QString& text) {
    PostToUiThread(this, [this, text] { m_controls.albumGroup->setTitle(text); });
}

std::vector<int> CMosaiqDlg::SelectedAlbums() {
    return RunOnUiThread(this, [this] {
        FlushPendingAlbums();
        return m_controls.table->SelectedAlbums();
    });
}

void CMosaiqDlg::SelectAllAlbums() {
    RunOnUiThread(this, [this] {
        FlushPendingAlbums();
        m_controls.table->selectAll();
    });
}

void CMosaiqDlg::SetListBusy(bool busy) {
    RunOnUiThread(this, [this, busy] {
        const Controls& c = m_controls;
        if (!busy) {
            FlushPendingAlbums();
        }
        c.siteType->setEnabled(!busy);
        c.download->setEnabled(!busy);
        c.input->setEnabled(!busy);
        c.preview->setEnabled(!busy);
        SetLinksEnabled(!busy);
        c.getList->setText(busy ? QStringLiteral("终止获取") : QStringLiteral("获取相册"));
        if (busy) {
            c.selectAll->setChecked(false);
            c.notice->hide();
        }
    });
}

void CMosaiqDlg::SetLinksEnabled(bool enabled) {
    const bool listView = m_state.m_thumbMode.load() == 0;
    m_controls.exportLink->setEnabled(enabled);
    m_controls.findLink->setEnabled(enabled && listView);
    m_controls.filterLink->setEnabled(enabled && listView);
}

void CMosaiqDlg::SetDownloadBusy(bool busy) {
    RunOnUiThread(this, [this, busy] {
        const Controls& c = m_controls;
        c.download->setText(busy ? QStringLiteral("终止下载") : QStringLiteral("下载"));
        c.siteType->setEnabled(!busy);
        c.getList->setEnabled(!busy);
        c.pickFolder->setEnabled(!busy);
        c.input->setEnabled(!busy);
        c.savePath->setEnabled(!busy);
    });
}

void CMosaiqDlg::InputHistoryAdded(const QString& text) {
    PostToUiThread(this, [this, text] { m_controls.input->AddEntry(text); });
}

QString CMosaiqDlg::ClipboardText() {
    return RunOnUiThread(this, [] { return QGuiApplication::clipboard()->text(); });
}

bool CMosaiqDlg::IsCtrlDown() {
    return RunOnUiThread(this, [] {
        return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
    });
}

void CMosaiqDlg::OpenFolder(const QString& path) {
    PostToUiThread(this, [path] { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); });
}

void CMosaiqDlg::OpenWebPage(const QString& address) {
    PostToUiThread(this, [address] { QDesktopServices::openUrl(QUrl(address)); });
}

}  // namespace mosaiq
