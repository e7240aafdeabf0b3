#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace mosaiq {

// Small readings and values the sites' pages and addresses share.

// Every "\/" of a JSON text as "/".
QString Unslashed(QString text);

// The value of the number a text starts with, after blanks and an optional sign; digits stop
// at the first other character (a closing quote, a comma). 0 when there is none.
int32_t LeadingNumber(QStringView text);

// The processor time of the program in milliseconds, as the sites' cache breakers use it.
uint32_t ProcessClockMs();

// An address cut from a page, "http:" put in front when it holds no "http" at all (pages write
// "//host/path").
QString WithHttp(const QString& address);

// A fresh random fraction text (RandomFraction without its line end), fit for an address.
QString CacheBreaker();

// The "%d%0Nd" cache breaker of several sites: `seconds`, then `number` in `width` digits with
// leading zeros ("1700000000" and 42 in 3 digits give "1700000000042").
QString SecondsAndNumber(int64_t seconds, uint32_t number, int width);

}  // namespace mosaiq
