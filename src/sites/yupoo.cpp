#include "sites/yupoo.h"

#include "core/naming.h"
#include "sites/site_hosts.h"
#include "sites/site_text.h"
#include "sites/site_toolkit.h"

#include <QUrl>

#include <chrono>

namespace mosaiq {
namespace {

using namespace std::chrono_literals;

// Every host of Yupoo.
namespace host {
const QString kOldMain = hosts::kYupooHost;
const QString kOldSecondName = hosts::kYupooPhotoDomain;
const QString kOldSecond = QStringLiteral("http://") + hosts::kYupooPhotoDomain;
const QString kNewMain = QStringLiteral("https://") + hosts::kYupooNewDomain;
}  // namespace host

const QString kPasswordForm = QStringLiteral("album_password\">访问密码");
const QString kPasswordQuestion = QStringLiteral("加密相册,是否输入密码");
const QString kStillLocked =
    QStringLiteral("相册仍然是加密的(没有输入密码或密码不对)，没有下载该相册的图片");
const QString kNoOriginal = QStringLiteral("无法查看该照片的原图");
const QString kLogInForOriginals =
    QStringLiteral("请先在登录菜单里登录你的又拍帐号,登录时勾上下次自动登录");
const QString kLastNewPage = QStringLiteral("pagination__disabled\" title=\"后一页");
const QString kDefaultCover = QStringLiteral("default_set_photo.gif");

// Old-site pages are often cut short: short bodies are tried again.
SiteRequest OldSiteRequest() {
    SiteRequest request;
    request.MinBodyLength(100).Attempts(4, 4);
    return request;
}

// Album lists end before the footer, whose blocks look like albums.
SiteRequest OldListRequest() {
    SiteRequest request = OldSiteRequest();
    request.EndMarker(QByteArrayLiteral("id=\"footer\">"));
    return request;
}

bool BigPictures(const JobState& state) {
    return (NamingOf(state.m_settings, state.m_listType.load()).options & kOptionYupooBig) != 0;
}

// "<title>NAME的相册" or "<title>NAME的主页".
QString TitleOwner(TextSource& page) {
    QString owner = TakeBetween(page, u"<title>", u"的相册", Consume);
    if (owner.isEmpty()) {
        owner = TakeBetween(page, u"<title>", u"的主页", Consume);
    }
    return owner;
}

QString Described(QString text) {
    return text.trimmed().replace(QStringLiteral("<br />"), QStringLiteral("\r\n"));
}

QString WithScheme(QString address) {
    if (!address.contains(u"http")) {
        address.prepend(u"http:");
    }
    return address;
}

// The big picture, or the original when the piece offers one and big ones are not wanted.
QString NewPictureAddress(TextSource& piece, bool big) {
    if (!big && piece.find(u"origin-src=\"") >= 1) {
        return TakeBetween(piece, u"origin-src=\"", u"\"", Consume);
    }
    return TakeBetween(piece, u"data-src=\"", u"\"", Consume);
}

// Page 1 of a locked album: the password is typed in the login window, then the page is read
// again. False when the user declined or the page could not be read again.
bool UnlockedPage(JobState& state, const ST_PERLISTRECORD& record, const SiteRequest& request,
                  std::optional<QString>& text) {
    if ((record.accessFlags & kAccessEncrypted) == 0 || text->indexOf(kPasswordForm) < 1) {
        return true;
    }
    if (!Ask(state, kPasswordQuestion)) {
        return false;
    }
    OpenLogin(state, request.options().url);
    text = request.Fetch();
    if (!text) {
        return false;
    }
    // No password given (or a wrong one): the user learns why nothing is saved.
    if (text->indexOf(kPasswordForm) >= 1) {
        Tell(state, kStillLocked);
        return false;
    }
    return true;
}

// Old-site album links are relative; the host is the one the user typed.
QString OldAlbumAddress(const QString& link, const QString& input) {
    if (link.startsWith(u"http")) {
        return link;
    }
    const QString& base =
        ContainsAfterStart(input, host::kOldSecondName) ? host::kOldSecond : host::kOldMain;
    return base + link;
}

void ListOldAlbum(JobState& state, const QString& input) {
    QString address = input;
    CutAt(address, u"?");
    const auto text = OldListRequest().At(address).Referer(host::kOldMain).Fetch();
    if (!text) {
        return;
    }
    TextSource page(*text);
    QString owner = TitleOwner(page);
    SkipTo(owner, u"-", true);
    SkipTo(owner, u"_", true);
    state.m_account = PageAccountName(owner);
    ST_PERLISTRECORD record;
    record.title = TakeBetween(page, u"class=\"albumOwner\">", u"</span>", Consume);
    if (record.title.isEmpty()) {
        record.title = TakeBetween(page, u"的相册</a> /", u"</", Consume);
    }
    // No title, or markers that matched far apart: this is no album page.
    if (record.title.isEmpty() || record.title.size() > 300) {
        return;
    }
    record.pictureCount = LeadingNumber(TakeBetween(page, u"(", u"张", Consume));
    record.albumRef = address;
    ListAlbum(state, record);
}

void ListOldUserAlbums(JobState& state, const QString& input) {
    const SiteRequest request = OldListRequest();
    QString separator = QStringLiteral("class=\"set-case\">");
    for (PageWalk walk(state, WalkOf::Albums); walk.Next();) {
        const QString pageAddress =
            SiteAddress({}, u"%spage%d/", {AddressValue::Verbatim(input), walk.Page()});
        const auto text = SiteRequest(request).At(pageAddress).Referer(pageAddress).Fetch();
        if (!text) {
            return;
        }
        TextSource page(*text);
        if (walk.Index() == 0) {
            state.m_account = PageAccountName(TitleOwner(page));
            // Some layouts name the album blocks differently.
            if (page.find(separator) < 0) {
                separator = QStringLiteral("class=\"SetCase");
            }
        }
        SkipTo(page, u"id=\"albumsList", true);
        QStringList pieces;
        if (SplitText(page.view(), separator, pieces) == 0) {
            return;
        }
        if (walk.Repeats(ItemKeys(pieces, u"href=\"", u"\""))) {
            return;
        }
        const bool more =
            ListAlbumPieces(state, pieces.mid(1), [&input](TextSource& piece, auto& album) {
                const QString link = TakeBetween(piece, u"href=\"", u"\"", Consume);
                if (link.isEmpty()) {
                    return;
                }
                album.coverUrl = TakeBetween(piece, u"src_data=\"", u"\"", Consume);
                if (album.coverUrl.isEmpty()) {
                    album.coverUrl = TakeBetween(piece, u"src=\"", u"\"", Consume);
                }
                // The alt value ends with its closing quote before "/>".
                album.title = TakeBetween(piece, u"alt=\"", u"/>", Consume).trimmed();
                if (album.title.endsWith(u'"')) {
                    album.title.chop(1);
                    album.title = album.title.trimmed();
                }
                album.pictureCount = LeadingNumber(TakeBetween(piece, u"<b>", u"</b>", Consume));
                if (album.pictureCount == 0) {
                    album.pictureCount =
                        LeadingNumber(TakeBetween(piece, u"<strong>", u"</strong>", Consume));
                }
                if (album.coverUrl.indexOf(kDefaultCover) >= 1) {
                    album.accessFlags |= kAccessEncrypted;
                }
                album.albumRef = OldAlbumAddress(link, input);
            });
        if (!more) {
            return;
        }
    }
}

// The original picture behind the zoom page, or the address as it was. False when the site
// refuses originals to this visitor.
bool OriginalAddress(JobState& state, const SiteRequest& request, const QString& zoom,
                     QString& address) {
    const auto text = SiteRequest(request).At(zoom).Referer(zoom).Fetch();
    if (!text) {
        return true;
    }
    if (text->contains(kNoOriginal)) {
        Tell(state, kLogInForOriginals);
        return false;
    }
    TextSource page(*text);
    SkipTo(page, u"原图", true);
    const QString candidate = TakeBetween(page, u"<img src=\"", u"\"", Consume);
    if (candidate.contains(u"http")) {
        address = candidate;
    }
    return true;
}

}  // namespace

void FetchYupooOldAlbums(JobState& state, const QString& address) {
    if (!TakeBetween(QStringView(address), u"albums/", u"/").isEmpty()) {
        ListOldAlbum(state, address);
    } else {
        ListOldUserAlbums(state, address);
    }
}

void FetchYupooOldPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    // Albums on the second host mark their pictures differently.
    const QString separator = QUrl(record->albumRef).host() == host::kOldSecondName
                                  ? QStringLiteral("<td class=\"Photo")
                                  : QStringLiteral("<td class=\"photo");
    const QString referer = RefererHeader(record->albumRef);
    state.m_jobText1 = record->albumRef;
    CutAt(state.m_jobText1, u"albums/");
    const bool big = BigPictures(state);
    SiteRequest request = OldSiteRequest();
    request.ConnectTimeout(15000);
    QString description;
    for (PageWalk walk(state, WalkOf::Pictures); walk.Next();) {
        const QString pageAddress = SiteAddress(
            {}, u"%spage%d/?style=detail", {AddressValue::Verbatim(record->albumRef), walk.Page()});
        const SiteRequest pageRequest = SiteRequest(request).At(pageAddress).Referer(pageAddress);
        auto text = pageRequest.Fetch();
        if (!text) {
            return;
        }
        const bool firstPage = walk.Index() == 0;
        if (firstPage) {
            if (!UnlockedPage(state, *record, pageRequest, text)) {
                return;
            }
        }
        TextSource page(*text);
        if (firstPage) {
            description = Described(TakeBetween(page, u"adescription\">", u"</", Consume));
        }
        QStringList pieces;
        if (SplitText(page.view(), separator, pieces) == 0) {
            return;
        }
        if (walk.Repeats(ItemKeys(pieces, u"photos['", u"'"))) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            const QString photoId = TakeBetween(piece, u"photos['", u"'", Consume);
            QString caption = TakeBetween(piece, u"title:'", u"'", Consume);
            if (caption.isEmpty()) {
                caption = TakeBetween(piece, u"description:'", u"'", Consume);
            }
            if (caption.isEmpty()) {
                caption = record->title;
            }
            QString address = TakeBetween(piece, u"src=\"", u"\"", Consume);
            if (big) {
                address.replace(QStringLiteral("/small."), QStringLiteral("/big."));
            } else if (!photoId.isEmpty()) {
                const QString zoom =
                    SiteAddress({}, u"%s%s/zoom/original/",
                                {AddressValue::Verbatim(state.m_jobText1), photoId});
                if (!OriginalAddress(state, request, zoom, address)) {
                    return;
                }
            }
            if (address.isEmpty()) {
                continue;
            }
            if (!QueuePicture(state, address, caption, referer, albumIndex)) {
                return;
            }
            // Once, after the first picture made the album folder.
            if (firstPage && !description.isEmpty()) {
                WriteAlbumDescription(description);
                description.clear();
            }
        }
    }
}

void FetchYupooNewAlbums(JobState& state, const QString& address) {
    if (!TakeBetween(QStringView(address), u"albums/", u"?").isEmpty()) {
        QString album = address;
        CutAt(album, u"&");
        const auto text = SiteRequest(album).Referer(address).Fetch();
        if (!text) {
            return;
        }
        TextSource page(*text);
        ST_PERLISTRECORD record;
        record.title =
            TakeBetween(page, u"alert__title\">", u"</", Consume).remove(QStringLiteral("<pre>"));
        state.m_account = PageAccountName(TakeBetween(page, u"_nickname\">", u"<", Consume));
        // An error page answers as well: without a title there is no album.
        if (record.title.isEmpty()) {
            return;
        }
        record.albumRef = album;
        ListAlbum(state, record);
        return;
    }
    QString base = address;
    CutAt(base, u".com");
    base += QStringLiteral(".com/");
    QString firstAlbum;
    for (PageWalk walk(state, WalkOf::Albums, {.pause = 1000ms}); walk.Next();) {
        const QString pageAddress = SiteAddress({}, u"%s?tab=gallery&page=%d",
                                                {AddressValue::Verbatim(address), walk.Page()});
        const auto text = SiteRequest(pageAddress).Referer(pageAddress).Fetch();
        if (!text) {
            return;
        }
        const bool lastPage = text->indexOf(kLastNewPage) >= 1;
        TextSource page(*text);
        if (walk.Index() == 0) {
            QString name = TakeBetween(page, u"alert__title>", u"<", Consume);
            if (name.isEmpty()) {
                name = TakeBetween(page, u"alert__title\">", u"<", Consume);
            }
            state.m_account = PageAccountName(name);
        }
        QStringList pieces;
        if (SplitText(page.view(), u"class=\"showindex__children", pieces) == 0) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.title = TakeBetween(piece, u"title=\"", u"\"", Consume);
            record.albumRef = TakeBetween(piece, u"href=\"", u"\"", Consume);
            if (record.albumRef.startsWith(u"/p")) {
                record.albumRef.prepend(host::kNewMain);
            } else if (record.albumRef.startsWith(u"/album")) {
                record.albumRef = QString(base + record.albumRef)
                                      .replace(QStringLiteral("//album"), QStringLiteral("/album"));
            }
            record.albumRef = WithScheme(record.albumRef);
            record.coverUrl = WithScheme(TakeBetween(piece, u"src=\"", u"\"", Consume));
            record.pictureCount =
                LeadingNumber(TakeBetween(piece, u"photonumber\">", u"<", Consume));
            if (record.coverUrl.indexOf(kDefaultCover) >= 1) {
                record.accessFlags |= kAccessEncrypted;
            }
            // The gallery starts over after its last page.
            if (firstAlbum.isEmpty()) {
                firstAlbum = record.albumRef;
            } else if (record.albumRef == firstAlbum) {
                return;
            }
            if (!ListAlbum(state, record)) {
                return;
            }
        }
        if (lastPage) {
            return;
        }
    }
}

void FetchYupooNewPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString referer = RefererHeader(record->albumRef);
    const bool big = BigPictures(state);
    // Album links carry a query ("?uid=1"); one without gets the page as its query.
    const QString pageTemplate = record->albumRef.contains(u'?')
                                     ? QStringLiteral("%s&page=%d&tab=min")
                                     : QStringLiteral("%s?page=%d&tab=min");
    QString description;
    for (PageWalk walk(state, WalkOf::Pictures); walk.Next();) {
        const QString pageAddress =
            SiteAddress({}, pageTemplate, {AddressValue::Verbatim(record->albumRef), walk.Page()});
        const SiteRequest pageRequest = SiteRequest(pageAddress).Referer(pageAddress);
        auto text = pageRequest.Fetch();
        if (!text) {
            return;
        }
        const bool firstPage = walk.Index() == 0;
        if (firstPage && !UnlockedPage(state, *record, pageRequest, text)) {
            return;
        }
        const bool lastPage = text->indexOf(kLastNewPage) >= 1;
        TextSource page(*text);
        if (firstPage) {
            description = Described(TakeBetween(page, u"description\" content=\"", u"\"", Consume));
        }
        QStringList pieces;
        if (SplitText(page.view(), u"class=\"showalbum__children", pieces) == 0) {
            return;
        }
        QStringList addresses;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            addresses << NewPictureAddress(piece, big);
        }
        addresses.removeAll(QString());
        if (walk.Repeats(addresses)) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            const QString address = NewPictureAddress(piece, big);
            if (address.isEmpty()) {
                continue;
            }
            const QString caption = TakeBetween(piece, u"<h3 title=\"", u"\"", Consume);
            if (!QueuePicture(state, WithScheme(address), caption, referer, albumIndex,
                              QString())) {
                return;
            }
            if (firstPage && !description.isEmpty()) {
                WriteAlbumDescription(description);
                description.clear();
            }
        }
        if (lastPage) {
            return;
        }
    }
}

}  // namespace mosaiq
