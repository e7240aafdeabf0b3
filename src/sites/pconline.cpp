#include "sites/pconline.h"

#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// PConline's addresses all come from the typed list address and its pages.
const QString kPagePlaceholder = QStringLiteral("_dk1stp_");

// The user part of a list address: after "cn/", up to the next "/".
QString UserOf(const QString& listAddress) {
    QString user = listAddress;
    SkipTo(user, u"cn/", true);
    CutAt(user, u"/");
    return user;
}

// The album page behind a list link, as an http address.
QString AlbumPage(const QString& link) {
    return WithHttp(link).replace(QStringLiteral("photo/"), QStringLiteral("photo/list_"));
}

}  // namespace

void FetchPconlineAlbums(JobState& state, const QString& listAddress) {
    SiteRequest request;
    for (LinkedPages pages(state, WalkOf::Albums, {u">下一页</a>"}); pages.Next();) {
        // An address without the placeholder names one page only.
        if (!pages.IsFirst() && !listAddress.contains(kPagePlaceholder)) {
            return;
        }
        state.m_jobText1 = QStringLiteral("_p%1_").arg(pages.Page());
        const auto text = pages.Fetch(
            request.At(QString(listAddress).replace(kPagePlaceholder, state.m_jobText1)));
        if (!text) {
            return;
        }
        if (pages.IsFirst()) {
            const QString name = TakeBetween(QStringView(*text), u"】", u"_太平洋");
            state.m_account = PageAccountName(name.isEmpty() ? UserOf(listAddress) : name);
        }
        const QStringList pieces = PiecesAfter(*text, u"class=\"picbox");
        if (pieces.isEmpty()) {
            return;
        }
        for (const QString& piece : pieces) {
            TextSource source(piece);
            ST_PERLISTRECORD record;
            const QString link = TakeBetween(source, u"href=\"", u"\"", Consume);
            record.title = TakeBetween(source, u"title=\"", u"\"", Consume);
            record.coverUrl = TakeBetween(source, u"src=\"", u"\"", Consume);
            if (link.isEmpty()) {
                continue;
            }
            record.albumRef = AlbumPage(link);
            if (!ListAlbum(state, record)) {
                return;
            }
        }
    }
}

void FetchPconlinePhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const auto text =
        SiteRequest(record->albumRef).EndMarker(QByteArrayLiteral("class=\"artOutWrap")).Fetch();
    if (!text) {
        return;
    }
    const QStringList pieces = PiecesAfter(*text, u"class=\"picture");
    for (qsizetype k = 0; k < pieces.size(); ++k) {
        const QString address =
            TakeBetween(QStringView(pieces[k]), u"src=\"", u"\"").remove(QStringLiteral("_mthumb"));
        if (address.isEmpty()) {
            continue;
        }
        const QString description =
            QStringLiteral("%1 (%2)").arg(record->title, QString::number(k + 1));
        if (!QueuePicture(state, address, description, QString(), albumIndex)) {
            return;
        }
    }
}

}  // namespace mosaiq
