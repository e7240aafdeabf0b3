#pragma once

#include <QString>

#include <functional>

namespace mosaiq {

struct SearchRequest {
    QString keyword;  // already trimmed, not empty
    bool caseSensitive = false;
    bool wholeWord = false;
    bool forward = true;  // "下一个"; false for "上一个"
};

// Text of a table cell by row and column.
using CellTextFn = std::function<QString(int row, int column)>;

// The row a search step selects: the first matching row after (or before) `focusedRow`,
// else the first one from the other end of the table, else -1. `focusedRow` -1 means no
// focus, so "下一个" starts at the top and "上一个" at the bottom.
int FindAlbumRow(const CellTextFn& cellText, int rowCount, int columnCount, int focusedRow,
                 const SearchRequest& request);

}  // namespace mosaiq
