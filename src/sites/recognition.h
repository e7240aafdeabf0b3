#pragma once

#include <QString>

namespace mosaiq {

// The sub-type box entries of the QQ family (ListType 0).
inline constexpr int kQqZone = 0;
inline constexpr int kQqGroup = 1;
inline constexpr int kTencentWeibo = 2;

// What the window does after an edit of the input box.
struct RecognizedSite {
    bool changed = false;  // false: leave both boxes as they are
    int listType = 0;      // entry to select in the site-type box
    int subType = -1;      // entry of the sub-type box for ListType 0; -1 hides the box
};

// Recognises the site of an input text. Pure: depends only on the text and the current
// selection of the site-type box. Texts without a scheme keep the selection.
RecognizedSite RecognizeSite(const QString& text, int currentSelection);

}  // namespace mosaiq
