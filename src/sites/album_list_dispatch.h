#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// Shown when a site type's adapter is not built yet.
inline constexpr char16_t kNotSupportedYet[] = u"暂不支持此网站类型 (not supported yet)";

// Step 8 of the album-list job: normalises the trimmed input for m_listType (and m_subType),
// stores the job texts, calls the site's album-list adapter(s) and shows the row's message
// when nothing was listed. `singleItem` tells the job to start the download by itself.
void DispatchAlbumList(JobState& state, const QString& trimmedInput, bool& singleItem);

}  // namespace mosaiq
