#include "app/album_search.h"

namespace mosaiq {
namespace {

bool RowMatches(const CellTextFn& cellText, int row, int columnCount, const QString& keyword,
                const SearchRequest& request) {
    for (int column = 0; column < columnCount; ++column) {
        QString text = cellText(row, column);
        if (!request.caseSensitive) {
            text = text.toLower();
        }
        if (request.wholeWord ? text == keyword : text.contains(keyword)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int FindAlbumRow(const CellTextFn& cellText, int rowCount, int columnCount, int focusedRow,
                 const SearchRequest& request) {
    const QString keyword = request.caseSensitive ? request.keyword : request.keyword.toLower();
    const int step = request.forward ? 1 : -1;
    const int start = focusedRow < 0 ? (request.forward ? 0 : rowCount - 1) : focusedRow + step;
    for (int row = start; row >= 0 && row < rowCount; row += step) {
        if (RowMatches(cellText, row, columnCount, keyword, request)) {
            return row;
        }
    }
    // Wrap around once from the other end.
    for (int row = request.forward ? 0 : rowCount - 1; row >= 0 && row < rowCount; row += step) {
        if (RowMatches(cellText, row, columnCount, keyword, request)) {
            return row;
        }
    }
    return -1;
}

}  // namespace mosaiq
