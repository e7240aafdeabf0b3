#pragma once

// Included into every test source (see tests/CMakeLists.txt) so that failure messages show
// texts and bytes instead of lists of 2-byte objects.

#include <QByteArray>
#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toPercentEncoding(" !#$&'()*+,-./:;<=>?@[]^_`{|}~").toStdString() << '"';
}
