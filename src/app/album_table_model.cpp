#include "app/album_table_model.h"

#include "core/album_sink.h"
#include "core/job_state.h"

#include <QSize>

namespace mosaiq {

AlbumTableModel::AlbumTableModel(JobState& state, QObject* parent)
    : QAbstractTableModel(parent), m_state(state) {}

void AlbumTableModel::Reset(bool preview) {
    beginResetModel();
    m_preview = preview;
    m_albums.clear();
    if (m_state.m_records.Size() == 0) {
        m_thumbnails.clear();
    }
    endResetModel();
}

void AlbumTableModel::AppendAlbums(const std::vector<int>& indexes) {
    if (indexes.empty()) {
        return;
    }
    const int perRow = m_state.m_thumbsPerRow;
    const int oldRows = rowCount();
    const int shown = int(m_albums.size() + indexes.size());
    const int newRows = m_preview ? (shown + perRow - 1) / perRow : shown;
    if (newRows > oldRows) {
        beginInsertRows({}, oldRows, newRows - 1);
        m_albums.insert(m_albums.end(), indexes.begin(), indexes.end());
        endInsertRows();
    } else {
        m_albums.insert(m_albums.end(), indexes.begin(), indexes.end());
    }
    if (m_preview && oldRows > 0) {
        // The last old row may have gained cells.
        emit dataChanged(index(oldRows - 1, 0), index(oldRows - 1, perRow - 1));
    }
}

void AlbumTableModel::SetThumbnail(int recordIndex, const QImage& image) {
    m_thumbnails.insert(recordIndex, image);
    if (!m_preview) {
        return;
    }
    for (size_t position = 0; position < m_albums.size(); ++position) {
        if (m_albums[position] == recordIndex) {
            const QModelIndex cell = index(int(position) / m_state.m_thumbsPerRow,
                                           int(position) % m_state.m_thumbsPerRow);
            emit dataChanged(cell, cell, {Qt::DecorationRole});
            return;
        }
    }
}

int AlbumTableModel::PositionOf(const QModelIndex& cell) const {
    if (!cell.isValid()) {
        return -1;
    }
    const int position =
        m_preview ? cell.row() * m_state.m_thumbsPerRow + cell.column() : cell.row();
    return position < int(m_albums.size()) ? position : -1;
}

int AlbumTableModel::AlbumAt(const QModelIndex& cell) const {
    const int position = PositionOf(cell);
    return position < 0 ? -1 : m_albums[size_t(position)];
}

QString AlbumTableModel::ListCellText(int position, int column) const {
    const ST_PERLISTRECORD* record = m_state.m_records.At(m_albums[size_t(position)]);
    if (record == nullptr) {
        return {};
    }
    switch (column) {
        case 0:
            return AlbumNumberText(position);
        case 1:
            return record->title;
        case 2:
            return PictureCountText(record->pictureCount);
        case 3:
            return AccessText(record->accessFlags);
        default:
            return {};
    }
}

QStringList AlbumTableModel::ListRowTexts(int position) const {
    QStringList texts;
    for (int column = 0; column < kListColumns; ++column) {
        texts << ListCellText(position, column);
    }
    return texts;
}

std::vector<CsvRow> AlbumTableModel::ExportRows() const {
    std::vector<CsvRow> rows;
    rows.reserve(m_albums.size());
    for (size_t position = 0; position < m_albums.size(); ++position) {
        const ST_PERLISTRECORD* record = m_state.m_records.At(m_albums[position]);
        rows.push_back({ListRowTexts(int(position)), record ? record->albumRef : QString()});
    }
    return rows;
}

int AlbumTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    const int shown = int(m_albums.size());
    const int perRow = m_state.m_thumbsPerRow;
    return m_preview ? (shown + perRow - 1) / perRow : shown;
}

int AlbumTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return m_preview ? m_state.m_thumbsPerRow : kListColumns;
}

QVariant AlbumTableModel::data(const QModelIndex& cell, int role) const {
    const int position = PositionOf(cell);
    if (position < 0) {
        return role == kAlbumRole ? QVariant(-1) : QVariant();
    }
    const int recordIndex = m_albums[size_t(position)];
    if (role == kAlbumRole) {
        return recordIndex;
    }
    if (!m_preview) {
        // A long title is cut to its column: the tool tip shows all of it.
        const bool titleTip = role == Qt::ToolTipRole && cell.column() == 1;
        return role == Qt::DisplayRole || titleTip
                   ? QVariant(ListCellText(cell.row(), cell.column()))
                   : QVariant();
    }
    const ST_PERLISTRECORD* record = m_state.m_records.At(recordIndex);
    if (record == nullptr) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return QStringLiteral("%1.%2").arg(recordIndex + 1).arg(record->title);
        case Qt::DecorationRole:
            // A record made after the picture was taken has no thumbnail yet.
            if (record->thumbIndex != -1 && m_thumbnails.contains(recordIndex)) {
                return m_thumbnails.value(recordIndex);
            }
            return {};
        case Qt::ToolTipRole:
            return record->title;
        default:
            return {};
    }
}

QVariant AlbumTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const QStringList headers = {QStringLiteral("序号"),
                                        QStringLiteral("名称"),
                                        QStringLiteral("数量"),
                                        QStringLiteral("备注"),
                                        QString(),
                                        QString()};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || m_preview ||
        section >= headers.size()) {
        return {};
    }
    return headers[section];
}

Qt::ItemFlags AlbumTableModel::flags(const QModelIndex& cell) const {
    return PositionOf(cell) < 0 ? Qt::NoItemFlags : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace mosaiq
