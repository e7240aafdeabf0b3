#include "support/fixture_site.h"

#include "core/album_sink.h"
#include "core/job_state.h"
#include "core/naming.h"

namespace mosaiq::test {
namespace {

void ListAlbums(JobState& state, const QString&, bool& singleItem) {
    FixtureSite& site = g_fixtureSite();
    ++site.listCalls;
    state.m_account = site.account;
    for (size_t i = 0;
         i < site.albums.size() && state.m_listState.load() != ListState::StopRequested; ++i) {
        AppendAndShow(state, site.albums[i].record);
        if (site.afterAlbum) {
            site.afterAlbum(state, int(i));
        }
    }
    singleItem = site.singleItem;
}

void ListPictures(JobState& state, int albumIndex) {
    FixtureSite& site = g_fixtureSite();
    site.pictureCalls.push_back(albumIndex);
    if (albumIndex < 0 || size_t(albumIndex) >= site.albums.size()) {
        return;
    }
    const QStringList& pictures = site.albums[size_t(albumIndex)].pictures;
    for (int i = 0; i < pictures.size() && state.m_downState.load() != DownState::Stopped; ++i) {
        AddPicture(state, pictures[i], QStringLiteral("p%1").arg(i + 1), site.headerText,
                   albumIndex);
        if (site.afterPicture) {
            site.afterPicture(state, albumIndex, i);
        }
    }
}

}  // namespace

FixtureSite& g_fixtureSite() {
    static FixtureSite site;
    return site;
}

SiteDispatch FixtureDispatch() {
    return {&ListAlbums, &ListPictures};
}

ST_PERLISTRECORD FixtureRecord(const QString& title, int pictureCount) {
    ST_PERLISTRECORD record;
    record.title = title;
    record.albumRef = QStringLiteral("ref-") + title;
    record.pictureCount = pictureCount;
    return record;
}

}  // namespace mosaiq::test
