#pragma once

#include "sites/site_types.h"

#include <QString>

namespace mosaiq {

// What the window does after an edit of the input box.
struct RecognizedSite {
    bool changed = false;                              // false: leave both boxes as they are
    int listType = SiteTypeValue(SiteType::QqFamily);  // entry to select in the site-type box
    int subType = kNoSubType;  // entry of the sub-type box for the QQ family; none hides it
};

// Recognises the site of an input text. Pure: depends only on the text and the current
// selection of the site-type box. Texts without a scheme keep the selection.
RecognizedSite RecognizeSite(const QString& text, int currentSelection);

}  // namespace mosaiq
