#include "sites/babytree.h"

#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of Babytree.
namespace host {
const QString kHome = QStringLiteral("http://home.babytree.com");
const QString kWeb = QStringLiteral("http://www.babytree.com");
}  // namespace host

// Pages are read up to these markers; what follows holds nothing of the album.
const QByteArray kListEnd = "vertical-align:middle";
const QByteArray kSecondFormPageEnd = "vertical-align:middle;";
const QByteArray kPhotoPageEnd = "mytree-tooltips";

// The second form's next-page link "&gt;": the page text arrives with its entities decoded.
constexpr QStringView kSecondFormNext = u">&gt;</a></li>";
constexpr QStringView kSecondFormNextDecoded = u">></a></li>";

void SetAccount(JobState& state, const QString& page, const QString& userId) {
    const QString name = TakeBetween(QStringView(page), u"<title>", u"的相册");
    state.m_account = PageAccountName(name.isEmpty() ? userId : name);
}

// What a photo list shows of one photo.
struct ListedPhoto {
    QString photoPage;  // empty: the thumbnail is all there is
    QString thumbnail;
    QString description;
};

// Queues each listed photo as the large picture its photo page shows (`large` reads it from
// that page); without the page, the thumbnail. False when the download must end.
bool QueuePhotos(JobState& state, int albumIndex, const QStringList& pieces,
                 const std::function<ListedPhoto(TextSource& piece)>& read,
                 const SiteRequest& photoRequest,
                 const std::function<QString(QStringView page)>& large) {
    for (const QString& text : pieces) {
        TextSource piece(text);
        const ListedPhoto photo = read(piece);
        QString picture = photo.thumbnail;
        if (!photo.photoPage.isEmpty()) {
            if (const auto page = SiteRequest(photoRequest).At(photo.photoPage).Fetch()) {
                const QString found = large(*page);
                if (!found.isEmpty()) {
                    picture = found;
                }
            }
        }
        if (!picture.isEmpty() &&
            !QueuePicture(state, picture, photo.description, QString(), albumIndex)) {
            return false;
        }
    }
    return true;
}

}  // namespace

void FetchBabytreeAlbums(JobState& state, const QString& userId) {
    state.m_jobText1 = userId;
    SiteRequest request;
    request.EndMarker(kListEnd);
    for (LinkedPages pages(state, WalkOf::Albums, {u"\">下一页</a>"}); pages.Next();) {
        const auto text = pages.Fetch(
            request.At(SiteAddress(host::kHome, u"/%s/photo/list?pg=%d", {userId, pages.Page()})));
        if (!text) {
            return;
        }
        if (pages.IsFirst()) {
            SetAccount(state, *text, userId);
        }
        const QStringList pieces =
            PiecesAfter(Section(*text, u"album_list", u"</script>"), u"\"id\":");
        if (pieces.isEmpty()) {
            return;
        }
        const bool more = ListAlbumPieces(state, pieces, [](TextSource& source, auto& album) {
            album.title = UnescapeUnicode(TakeBetween(source, u"title\":\"", u"\"", Consume));
            album.albumRef = Unslashed(TakeBetween(source, u"album_url\":\"", u"\"", Consume));
            album.pictureCount = LeadingNumber(TakeBetween(source, u"sum\":\"", u"\"", Consume));
            album.coverUrl = Unslashed(TakeBetween(source, u"cover_url\":\"", u"\"", Consume));
        });
        if (!more) {
            return;
        }
    }
}

void FetchBabytreeAlbumsSecondForm(JobState& state, const QString& userId) {
    state.m_jobText1 = userId;
    SiteRequest request;
    request.EndMarker(kListEnd);
    for (LinkedPages pages(state, WalkOf::Albums, {kSecondFormNext, kSecondFormNextDecoded});
         pages.Next();) {
        const auto text = pages.Fetch(request.At(SiteAddress(
            host::kWeb, u"/user/showuser.php?uid=u%s&tab=photo&view=album_list&order=&pg=%d",
            {userId, pages.Page()})));
        if (!text) {
            return;
        }
        if (pages.IsFirst()) {
            SetAccount(state, *text, userId);
        }
        const bool more = ListAlbumPieces(
            state, PiecesAfter(*text, u"class=\"thumb\">"), [](TextSource& source, auto& album) {
                album.albumRef = TakeBetween(source, u"href=\"", u"\"", Consume);
                album.coverUrl = TakeBetween(source, u"src=\"", u"\"", Consume);
                album.title = TakeBetween(source, u"<strong>", u"</strong>", Consume);
                album.pictureCount = LeadingNumber(TakeBetween(source, u"(", u")", Consume));
            });
        if (!more) {
            return;
        }
    }
}

void FetchBabytreePhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    SiteRequest request;
    request.EndMarker(kPhotoPageEnd);
    SiteRequest photoRequest;
    photoRequest.EndMarker(kPhotoPageEnd);
    for (PageWalk walk(state, WalkOf::Pictures); walk.Next();) {
        const QString address =
            SiteAddress({}, u"%s?format=json&pg=%d",
                        {AddressValue::Verbatim(record->albumRef), walk.Page()})
                .replace(QStringLiteral("/album/"), QStringLiteral("/albumAjax/"));
        const auto text = request.At(address).Fetch();
        if (!text) {
            return;
        }
        const QStringList pieces = PiecesAfter(*text, u"\"href\"");
        // A server that ignores the page number answers the last page again.
        if (pieces.isEmpty() || walk.Repeats(pieces)) {
            return;
        }
        const bool more = QueuePhotos(
            state, albumIndex, pieces,
            [](TextSource& source) {
                ListedPhoto photo;
                photo.photoPage = Unslashed(TakeBetween(source, u":\"", u"\"", Consume));
                photo.thumbnail = Unslashed(TakeBetween(source, u"img\":\"", u"\"", Consume));
                photo.description =
                    UnescapeUnicode(TakeBetween(source, u"title\":\"", u"\"", Consume));
                return photo;
            },
            photoRequest,
            [](QStringView page) {
                return Unslashed(TakeBetween(page, u"big\":{\"url\":\"", u"\""));
            });
        if (!more) {
            return;
        }
    }
}

void FetchBabytreePhotosSecondForm(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    SiteRequest request;
    request.EndMarker(kSecondFormPageEnd);
    SiteRequest photoRequest;
    photoRequest.EndMarker(kSecondFormPageEnd);
    for (LinkedPages pages(state, WalkOf::Pictures, {kSecondFormNext, kSecondFormNextDecoded});
         pages.Next();) {
        const auto text = pages.Fetch(request.At(
            SiteAddress(PageLink(host::kWeb, record->albumRef), u"&pg=%d", {pages.Page()})));
        if (!text) {
            return;
        }
        const QStringList pieces = PiecesAfter(*text, u"class=\"thumb\">");
        if (pieces.isEmpty()) {
            return;
        }
        const bool more = QueuePhotos(
            state, albumIndex, pieces,
            [](TextSource& source) {
                ListedPhoto photo;
                const QString link = TakeBetween(source, u"href=\"", u"\"", Consume);
                if (!link.isEmpty()) {
                    photo.photoPage =
                        PageLink(host::kWeb, link)
                            .replace(QStringLiteral("#detail"), QStringLiteral("&show=big"));
                }
                photo.thumbnail = TakeBetween(source, u"src=\"", u"\"", Consume);
                photo.description = TakeBetween(source, u"alt=\"", u"\"", Consume);
                return photo;
            },
            photoRequest, [](QStringView page) { return TakeBetween(page, u"src=\"", u"\""); });
        if (!more) {
            return;
        }
    }
}

}  // namespace mosaiq
