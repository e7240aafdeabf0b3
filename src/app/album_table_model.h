#pragma once

#include "core/csv_export.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QImage>

#include <vector>

namespace mosaiq {

struct JobState;

// The album table over m_records. List view: one row per shown album, six columns with a
// header. Preview view: a grid of thumbnails, six albums per row. Only the UI thread calls it.
class AlbumTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int kListColumns = 6;
    static constexpr int kAlbumRole = Qt::UserRole;  // the record's index, -1 for no album

    explicit AlbumTableModel(JobState& state, QObject* parent = nullptr);

    // Drops every row and lays the table out for the view.
    void Reset(bool preview);
    bool IsPreview() const { return m_preview; }

    // Shows the records, in this order, after the ones shown already.
    void AppendAlbums(const std::vector<int>& indexes);
    // A cover for record `index`; shown while the record keeps its thumbnail.
    void SetThumbnail(int index, const QImage& image);

    int ShownAlbumCount() const { return int(m_albums.size()); }
    // The record behind a cell, -1 for none.
    int AlbumAt(const QModelIndex& cell) const;
    // The list-view texts of the album at table position `position`, as the table shows them.
    QStringList ListRowTexts(int position) const;
    // Every shown album as a list-view row with its address, in table order (in preview view
    // too, where the cells hold no columns).
    std::vector<CsvRow> ExportRows() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& cell, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& cell) const override;

  private:
    int PositionOf(const QModelIndex& cell) const;
    QString ListCellText(int position, int column) const;

    JobState& m_state;
    bool m_preview = false;
    std::vector<int> m_albums;  // record indexes in table order
    QHash<int, QImage> m_thumbnails;
};

}  // namespace mosaiq
