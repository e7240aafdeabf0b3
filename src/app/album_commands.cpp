// CMosaiqDlg's album-table commands: select all, search, filter, export, preview switch.
#include "app/album_table_model.h"
#include "app/album_table_view.h"
#include "app/dlg_find.h"
#include "app/mosaiq_dlg.h"
#include "app/prompter.h"
#include "core/album_sink.h"
#include "core/csv_export.h"

#include <QCheckBox>
#include <QLabel>
#include <QSaveFile>

namespace mosaiq {

void CMosaiqDlg::OnSelectAll(bool checked) {
    if (checked) {
        m_controls.table->selectAll();
    } else {
        m_controls.table->clearSelection();
    }
}

void CMosaiqDlg::OnFind() {
    if (!m_findDlg) {
        m_findDlg = new CDlgFind(CDlgFind::kSearchMode, m_controls.table, *m_prompter, this);
    }
    m_findDlg->ShowSearch();
}

void CMosaiqDlg::OnFilter() {
    if (LoaderRunning()) {
        // The loader is filling the table and reads the filter text from its own thread.
        m_prompter->Message(this, QStringLiteral("预览图模式转换未完成，请稍候再筛选"),
                            QStringLiteral("提示"));
        return;
    }
    if (m_findDlg) {
        m_findDlg->hide();
    }
    CDlgFind dialog(CDlgFind::kFilterMode, m_controls.table, *m_prompter, this);
    if (m_prompter->Run(dialog) == QDialog::Accepted) {
        ApplyFilter(dialog.FilterKeyword());
    }
}

void CMosaiqDlg::ApplyFilter(const QString& keyword) {
    m_state.m_filterText = keyword;
    ResetAlbumTable();
    const int count = m_state.m_records.Size();
    for (int index = 0; index < count; ++index) {
        AddAlbum(m_state, index);
    }
    FlushPendingAlbums();
    // The filter holds for this rebuild only.
    m_state.m_filterText.clear();
}

void CMosaiqDlg::OnExport() {
    m_prompter->Message(
        this, QStringLiteral("此导出为导出表格内容，如需下载图片，请点击右上角的 下载 按钮。"),
        QStringLiteral("提示"));
    const bool withAddresses =
        m_prompter->YesNo(this, QStringLiteral("是否导出相册网址?"), QStringLiteral("选择"));
    const QString fileName = m_prompter->SaveFileName(
        this, QStringLiteral("导出后，自行调整列宽(*.csv)"), QStringLiteral("csv"));
    if (fileName.isEmpty()) {
        return;
    }
    FlushPendingAlbums();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(AlbumTableCsv(m_model->ExportRows(), withAddresses)) < 0 || !file.commit()) {
        m_prompter->Message(this, QStringLiteral("无法写入文件：%1").arg(fileName),
                            QStringLiteral("提示"));
    }
}

void CMosaiqDlg::OnPreviewClicked(bool checked) {
    if (m_state.m_thumbState.load() != 0) {
        if (m_prompter->YesNo(this, QStringLiteral("模式转换未完成,是否中断?"),
                              QStringLiteral("提示"))) {
            m_state.m_thumbState = 2;
        }
        m_controls.preview->setChecked(!checked);
        return;
    }
    if (checked && m_findDlg) {
        m_findDlg->hide();
    }
    m_state.m_thumbState = 1;
    m_state.m_thumbMode = checked ? 1 : 0;
    SetLinksEnabled(m_state.m_listState.load() == ListState::Idle);
    ResetAlbumTable();
    StartThumbnailLoader();
}

void CMosaiqDlg::StartThumbnailLoader() {
    if (m_loader.joinable()) {
        m_loader.join();
    }
    try {
        m_loader = std::thread([this] {
            const int count = m_state.m_records.Size();
            for (int index = 0; index < count && m_state.m_thumbState.load() != 2; ++index) {
                AddAlbum(m_state, index);
            }
            // The switch ends when the covers are in; an interruption drops the rest.
            if (!m_state.m_covers.WaitIdle([this] { return m_state.m_thumbState.load() == 2; })) {
                m_state.m_covers.DropQueued();
            }
            QMetaObject::invokeMethod(
                this,
                [this] {
                    FlushPendingAlbums();
                    m_state.m_filterText.clear();
                    m_state.m_thumbState = 0;
                },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        m_state.m_thumbState = 0;
    }
}

}  // namespace mosaiq
