#pragma once

#include <QString>
#include <QStringList>

namespace mosaiq {

// ListType: the position of a site's entry in the site-type box.
inline constexpr int kSiteTypeCount = 21;

// Display names of the site-type box, in ListType order.
const QStringList& SiteTypeNames();
// Entries of the QQ family's sub-type box.
const QStringList& QqSubTypeNames();

}  // namespace mosaiq
