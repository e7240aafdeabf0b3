#include "sites/pchome.h"

#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of PCHome albums (Big5 pages).
namespace host {
const QString kPhotoName = QStringLiteral("photo.pchome.com.tw");
const QString kPhoto = QStringLiteral("http://") + kPhotoName;
}  // namespace host

const QString kNextPage = QStringLiteral("\">下一頁>");

}  // namespace

void FetchPchomeAlbums(JobState& state, const QString& account) {
    state.m_jobText1 = account;
    SiteRequest request;
    request.Decode(Inflate | Big5);
    for (LinkedPages pages(state, WalkOf::Albums, {kNextPage}); pages.Next();) {
        const auto text =
            pages.Fetch(request.At(SiteAddress(host::kPhoto, u"/%s*%d", {account, pages.Page()})));
        if (!text) {
            return;
        }
        const QStringView albums = Section(*text, {}, u"MainListSection");
        const bool more = ListAlbumPieces(
            state, PiecesAfter(albums, u"class=\"MarkSet\""), [](TextSource& source, auto& album) {
                album.albumRef = TakeBetween(source, u"href=\"", u"\"", Consume);
                album.coverUrl = host::kPhoto + TakeBetween(source, u"Img[", u"]", Consume);
                album.title = TakeBetween(source, u"<span>", u"</span>", Consume);
                album.pictureCount = LeadingNumber(TakeBetween(source, u"共", u"張", Consume));
            });
        if (!more) {
            return;
        }
    }
}

void FetchPchomePhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    SiteRequest request;
    request.Decode(Inflate | Big5);
    for (LinkedPages pages(state, WalkOf::Pictures, {kNextPage}); pages.Next();) {
        const auto text = pages.Fetch(request.At(
            SiteAddress(PageLink(host::kPhoto, record->albumRef), u"*%d", {pages.Page()})));
        if (!text) {
            return;
        }
        const QStringList pieces =
            PiecesAfter(Section(*text, u"PhotoList", u"PageInfo"), u"Icon:'");
        if (pieces.isEmpty()) {
            return;
        }
        for (const QString& piece : pieces) {
            TextSource source(piece);
            // The thumbnail "…s.jpg" names the picture "….jpg".
            const QString path = TakeBetween(source, u"/", u"',", Consume)
                                     .replace(QStringLiteral("s."), QStringLiteral("."));
            const QString photoId = TakeBetween(source, u"PK:", u",", Consume);
            const QString description = TakeBetween(source, u"DataSet[", u"]'", Consume);
            if (path.isEmpty()) {
                continue;
            }
            const QString photoPage =
                SiteAddress(host::kPhoto, u"/%s/%s", {state.m_account, photoId});
            if (!QueuePicture(state, host::kPhoto + u'/' + path, description,
                              RefererHeader(photoPage), albumIndex)) {
                return;
            }
        }
    }
}

}  // namespace mosaiq
