#pragma once

#include <QString>

namespace mosaiq {

// Fetches a page the album-list dispatch reads before its adapter: gzip accepted, one
// attempt, 20000 ms per step, decoded as UTF-8. False when the request failed.
bool FetchDispatchPage(const QString& address, QString& page);

}  // namespace mosaiq
