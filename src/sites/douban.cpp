#include "sites/douban.h"

#include "core/naming.h"
#include "sites/site_toolkit.h"

#include <QUrl>

using namespace std::chrono_literals;

namespace mosaiq {
namespace {

// Douban albums need no host of their own: the album address comes from the input, the
// following pages from the album's own links.

// Our text: the site's own is not known.
const QString kNoAlbumTitle =
    QStringLiteral("没有在页面里找到相册的标题，请确认网址是否正确，或登录后再试");

// The number between the next "共" and "张" of the page, read on.
int32_t CountBetween(TextSource& page) {
    return LeadingNumber(TakeBetween(page, u"共", u"张", Consume));
}

QString LargePicture(QString address) {
    return address.replace(QLatin1String("/lthumb/"), QLatin1String("/large/"))
        .replace(QLatin1String("/m/"), QLatin1String("/raw/"))
        .replace(QLatin1String(".webp"), QLatin1String(".jpg"));
}

// The address of the "next" link; empty on the last page, whose "next" has no link.
QString NextPageAddress(const QString& page, const QString& pageAddress) {
    QString next = page;
    if (SkipTo(next, u"class=\"next\">", true) < 0) {
        return QString();
    }
    CutAt(next, u"</span");
    QString link = TakeBetween(QStringView(next), u"href=\"", u"\"");
    if (link.isEmpty()) {
        return QString();
    }
    DecodeHtmlEntities(link);
    return QUrl(pageAddress).resolved(QUrl(link)).toString(QUrl::FullyEncoded);
}

}  // namespace

void FetchDoubanAlbum(JobState& state, const QString& albumAddress) {
    state.m_jobText1.clear();
    const auto page = SiteRequest(albumAddress).Referer(albumAddress).Fetch();
    if (!page) {
        TellUnreachable(state, albumAddress);
        return;
    }
    ST_PERLISTRECORD record;
    record.title = TakeBetween(QStringView(*page), u"的相册-", u"</title>").trimmed();
    state.m_account = TakeBetween(QStringView(*page), u"<title>", u"的相册");
    if (state.m_account.isEmpty()) {
        state.m_account = TakeBetween(QStringView(*page), u"title>", u"图片").trimmed();
        record.title = state.m_account;
    }
    if (state.m_account.isEmpty()) {
        Tell(state, kNoAlbumTitle);
        return;
    }
    SanitizeName(state.m_account, kTimeStampFallback, true);
    TextSource rest(*page);
    SkipTo(rest, u"pl photitle", true);
    record.albumRef = albumAddress;
    record.pictureCount = CountBetween(rest);
    if (record.pictureCount == 0) {
        record.pictureCount = CountBetween(rest);
    }
    if (ListAlbum(state, record)) {
        state.m_jobText1 = *page;
    }
}

void FetchDoubanPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString albumAddress = record->albumRef;
    SiteRequest request;
    request.Referer(albumAddress);
    // The listing left the first page; a download without it reads the album page itself.
    QString page = state.m_jobText1;
    QString pageAddress = albumAddress;
    QString separator = QStringLiteral("class=\"photo_wrap\">");
    for (PageWalk walk(state, WalkOf::Pictures, {.pause = 2000ms}); walk.Next();) {
        if (walk.Index() > 0 || page.isEmpty()) {
            const auto text = request.At(pageAddress).Fetch();
            if (!text) {
                return;
            }
            page = *text;
        }
        if (!page.contains(separator)) {
            separator = QStringLiteral("class=\"cover\">");
        }
        QStringList pieces;
        if (SplitText(page, separator, pieces) == 0) {
            return;
        }
        QStringList photoPages;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            photoPages << TakeBetween(QStringView(pieces[i]), u"href=\"", u"\"");
        }
        // A next link that leads back to a page already read ends the album.
        if (walk.Repeats(photoPages)) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QStringView piece(pieces[i]);
            const QString address = LargePicture(TakeBetween(piece, u"src=\"", u"\""));
            if (address.isEmpty()) {
                continue;
            }
            QString description = TakeBetween(piece, u"title=\"", u"\"");
            if (description.isEmpty()) {
                description = TakeBetween(piece, u"class=\"name\">", u"<");
            }
            if (!QueuePicture(state, address, description, RefererHeader(photoPages[i - 1]),
                              albumIndex)) {
                return;
            }
        }
        pageAddress = NextPageAddress(page, pageAddress);
        if (pageAddress.isEmpty()) {
            return;
        }
    }
}

}  // namespace mosaiq
