#pragma once

#include <QStringView>

namespace mosaiq {

// True when `marker` occurs at character position 1 or more: an address never starts with
// the marker it is recognised by, its scheme stands before it.
bool ContainsAfterStart(QStringView text, QStringView marker);

// True when `domain` occurs at position 1 or more as a whole host part, that is right after
// a "." or a "/": "gift.qq.com" does not contain the domain "t.qq.com".
bool ContainsDomain(QStringView text, QStringView domain);

// True for a non-empty text made only of the digits 0 to 9.
bool IsDigitsOnly(QStringView text);

// True when the text holds "http://" or "https://".
bool HasScheme(QStringView text);

}  // namespace mosaiq
