#pragma once

#include <QTableView>

#include <vector>

namespace mosaiq {

class AlbumTableModel;

// Control 1003: the album table. Lays itself out for the model's view and answers which
// albums are selected.
class AlbumTableView : public QTableView {
    Q_OBJECT

  public:
    AlbumTableView(AlbumTableModel* model, QWidget* parent);

    // Column widths, header, selection mode and cell size of the model's current view.
    void ApplyLayout();
    // Record indexes of the selected rows (list) or cells (preview), in table order.
    std::vector<int> SelectedAlbums() const;
    // The row that has the focus, -1 when none.
    int FocusedRow() const;
    // Selects `row` alone, focuses it and scrolls it into view.
    void SelectOnlyRow(int row);

  private:
    AlbumTableModel* m_model;
    QAbstractItemDelegate* m_listDelegate;
    QAbstractItemDelegate* m_thumbnailDelegate;
};

}  // namespace mosaiq
