#include "sites/zol_albums.h"

#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of ZOL albums.
namespace host {
const QString kPhoto = QStringLiteral("http://photo.zol.com.cn");
}  // namespace host

const QString kNextPage = QStringLiteral("class=\"nor\">下一页");

// The full-size address of a thumbnail: "/t_s120x90" path steps go, and a name such as
// "abc_120x90.jpg" becomes "abc.jpg".
QString LargeAddress(const QString& thumbnail) {
    QString address = thumbnail;
    if (address.indexOf(u"cn/t_s") >= 1) {
        const QString size = TakeBetween(QStringView(address), u"cn/t_s", u"/");
        return address.remove(QStringLiteral("/t_s") + size);
    }
    const qsizetype underscore = address.indexOf(u'_');
    const qsizetype dot = underscore < 0 ? -1 : address.indexOf(u'.', underscore);
    // Without a size suffix the thumbnail is the picture.
    if (dot < 0) {
        return address;
    }
    return address.left(underscore) + address.sliced(dot);
}

}  // namespace

void FetchZolAlbums(JobState& state, const QString& userId) {
    state.m_jobText1 = userId;
    SiteRequest request;
    request.Decode(Inflate);
    for (LinkedPages pages(state, WalkOf::Albums, {kNextPage}); pages.Next();) {
        const auto text = pages.Fetch(
            request.At(SiteAddress(host::kPhoto, u"/%s/album_%d.html", {userId, pages.Page()})));
        if (!text) {
            return;
        }
        if (pages.IsFirst()) {
            state.m_account =
                PageAccountName(TakeBetween(QStringView(*text), u"<title>", u"的全部相册"));
        }
        const bool more = ListAlbumPieces(
            state, PiecesAfter(*text, u"id=\"pic_"), [](TextSource& source, auto& album) {
                album.albumRef = TakeBetween(source, u"href=\"", u"1.html", Consume);
                album.coverUrl = TakeBetween(source, u"src=\"", u"\"", Consume);
                album.title = TakeBetween(source, u"title=\"", u"\"", Consume);
                album.pictureCount = LeadingNumber(TakeBetween(source, u"K_11\">", u"张", Consume));
            });
        if (!more) {
            return;
        }
    }
}

void FetchZolAlbumPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    SiteRequest request;
    request.Decode(Inflate);
    for (LinkedPages pages(state, WalkOf::Pictures, {kNextPage}); pages.Next();) {
        const auto text = pages.Fetch(request.At(
            SiteAddress(PageLink(host::kPhoto, record->albumRef), u"%d.html", {pages.Page()})));
        if (!text) {
            return;
        }
        const QStringList pieces = PiecesAfter(*text, u"id=\"pic_");
        if (pieces.isEmpty()) {
            return;
        }
        for (const QString& piece : pieces) {
            TextSource source(piece);
            const QString address = TakeBetween(source, u"src=\"", u"\"", Consume);
            const QString description = TakeBetween(source, u"title=\"", u"\"", Consume);
            if (address.isEmpty()) {
                continue;
            }
            if (!QueuePicture(state, LargeAddress(address), description, QString(), albumIndex)) {
                return;
            }
        }
    }
}

}  // namespace mosaiq
