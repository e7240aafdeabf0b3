#include "app/album_table_view.h"

#include "app/album_table_model.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace mosaiq {
namespace {

constexpr int kThumbWidth = 113;
constexpr int kThumbHeight = 120;
constexpr int kCellMargin = 2;
constexpr int kListWidths[AlbumTableModel::kListColumns] = {50, 575, 50, 100, 0, 0};

// A preview cell: the thumbnail on top, its "%d.%s" text on one line below.
class ThumbnailDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& cell) const override {
        if (option.state & QStyle::State_Selected) {
            painter->fillRect(option.rect, option.palette.highlight());
        }
        const QRect imageRect(option.rect.left() + kCellMargin, option.rect.top(), kThumbWidth,
                              kThumbHeight - 12);
        const QImage image = cell.data(Qt::DecorationRole).value<QImage>();
        if (!image.isNull()) {
            painter->drawImage(imageRect, image);
        }
        const QRect textRect(option.rect.left() + kCellMargin, imageRect.bottom(), kThumbWidth,
                             option.rect.bottom() - imageRect.bottom());
        painter->setPen(option.state & QStyle::State_Selected
                            ? option.palette.highlightedText().color()
                            : option.palette.text().color());
        const QString text = option.fontMetrics.elidedText(cell.data(Qt::DisplayRole).toString(),
                                                           Qt::ElideRight, textRect.width());
        painter->drawText(textRect, Qt::AlignHCenter | Qt::AlignVCenter, text);
    }
};

}  // namespace

AlbumTableView::AlbumTableView(AlbumTableModel* model, QWidget* parent)
    : QTableView(parent), m_model(model) {
    setModel(model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    m_listDelegate = new QStyledItemDelegate(this);
    m_thumbnailDelegate = new ThumbnailDelegate(this);
    ApplyLayout();
}

void AlbumTableView::ApplyLayout() {
    const bool preview = m_model->IsPreview();
    setItemDelegate(preview ? m_thumbnailDelegate : m_listDelegate);
    if (preview) {
        horizontalHeader()->hide();
        setSelectionBehavior(QAbstractItemView::SelectItems);
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        setShowGrid(true);
        for (int column = 0; column < m_model->columnCount(); ++column) {
            setColumnHidden(column, false);
            setColumnWidth(column, kThumbWidth + 2 * kCellMargin);
        }
        verticalHeader()->setDefaultSectionSize(kThumbHeight + 10);
    } else {
        horizontalHeader()->show();
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        for (int column = 0; column < AlbumTableModel::kListColumns; ++column) {
            setColumnWidth(column, kListWidths[column]);
            setColumnHidden(column, kListWidths[column] == 0);
        }
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    }
    clearSelection();
}

std::vector<int> AlbumTableView::SelectedAlbums() const {
    QModelIndexList cells = selectionModel()->selectedIndexes();
    std::sort(cells.begin(), cells.end(), [](const QModelIndex& a, const QModelIndex& b) {
        return a.row() != b.row() ? a.row() < b.row() : a.column() < b.column();
    });
    std::vector<int> albums;
    int lastRow = -1;
    for (const QModelIndex& cell : cells) {
        const int album = m_model->AlbumAt(cell);
        if (album < 0) {
            continue;
        }
        if (!m_model->IsPreview()) {
            if (cell.row() == lastRow) {
                continue;
            }
            lastRow = cell.row();
        }
        albums.push_back(album);
    }
    return albums;
}

int AlbumTableView::FocusedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void AlbumTableView::SelectOnlyRow(int row) {
    const QModelIndex cell = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(
        cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(cell);
    setFocus();
}

}  // namespace mosaiq
