#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace mosaiq {

// One table row as it will be exported: its cell texts and the address of its album.
struct CsvRow {
    QStringList cells;
    QString albumRef;
};

// One exported field: every "'" removed, `"` doubled, "," written as "','". Line breaks
// become blanks so that one row stays one line.
QString CsvField(const QString& text);

// The export file: per row every cell as a field followed by ",", then the album address the
// same way when `withAddresses`; lines end with CR LF, no header, GBK without a byte-order mark.
QByteArray AlbumTableCsv(const std::vector<CsvRow>& rows, bool withAddresses);

}  // namespace mosaiq
