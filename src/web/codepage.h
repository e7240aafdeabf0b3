#pragma once

#include <QByteArray>
#include <QString>

namespace mosaiq {

// Windows code page numbers the sites' bodies and the program's files use.
// "ANSI" is code page 936 (GBK) on every platform.
enum CodePage : int {
    kCodePageAnsi = 0,
    kCodePageGbk = 936,
    kCodePageBig5 = 950,
    kCodePageEucKr = 51949,
    kCodePageUtf8 = 65001,
};

// Converts exactly `length` bytes; the text ends at the first zero character produced.
// Invalid sequences become U+FFFD. An unknown code page gives the empty text.
QString BytesToText(const char* bytes, qsizetype length, int codePage);
inline QString BytesToText(const QByteArray& bytes, int codePage) {
    return BytesToText(bytes.constData(), bytes.size(), codePage);
}

// ANSI conversion of a zero-terminated byte string: stops at the first zero byte.
QString AnsiToText(const QByteArray& bytes);

// Whole text to GBK; characters GBK lacks become '?'.
QByteArray TextToGbk(const QString& text);

}  // namespace mosaiq
