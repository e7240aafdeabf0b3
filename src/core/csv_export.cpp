#include "core/csv_export.h"

#include "web/codepage.h"

namespace mosaiq {

QString CsvField(const QString& text) {
    QString field = text;
    field.remove(QLatin1Char('\''));
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    field.replace(QLatin1Char(','), QStringLiteral("','"));
    field.replace(QLatin1Char('\r'), QLatin1Char(' '));
    field.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return field;
}

QByteArray AlbumTableCsv(const std::vector<CsvRow>& rows, bool withAddresses) {
    QString text;
    for (const CsvRow& row : rows) {
        for (const QString& cell : row.cells) {
            text += CsvField(cell) + QLatin1Char(',');
        }
        if (withAddresses) {
            text += CsvField(row.albumRef) + QLatin1Char(',');
        }
        text += QStringLiteral("\r\n");
    }
    return TextToGbk(text);
}

}  // namespace mosaiq
