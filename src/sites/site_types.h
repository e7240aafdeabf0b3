#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace mosaiq {

// ListType: the position of a site's entry in the site-type box.
inline constexpr int kSiteTypeCount = 21;

// Display names of the site-type box, in ListType order.
const QStringList& SiteTypeNames();
// Entries of the QQ family's sub-type box.
const QStringList& QqSubTypeNames();

// An address of a site type and what recognition makes of it. ZOL albums (9) are reached
// only by choosing the type: their address is recognised as the product type 16.
struct SiteExample {
    int listType;
    QString address;
    int recognizedType;
    int subType;  // sub-type box entry for the QQ family, else -1
};

// Example addresses of every site type, in ListType order.
const std::vector<SiteExample>& SiteExamples();

}  // namespace mosaiq
