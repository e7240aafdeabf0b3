#include "sites/renren.h"

#include "core/naming.h"
#include "sites/site_hosts.h"
#include "sites/site_text.h"
#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of Renren albums.
namespace host {
const QString kPhoto = QStringLiteral("http://photo.renren.com");
const QString& kPage = hosts::kRenrenPageHost;  // public pages, as the dispatch reads them
const QString kZhan = QStringLiteral("http://zhan.renren.com");
}  // namespace host

constexpr int kClassicPageSize = 40;
// An album title longer than this was not cut from an album page.
constexpr int kMaxAlbumTitle = 300;
// Viewer positions count down from below this.
constexpr int kHighestPosition = 6553500;

const QString kPasswordQuestion = QStringLiteral("加密相册,是否输入密码");

// Every text of the pages is UTF-8.
std::optional<QString> Fetch(const QString& address) {
    return SiteRequest(address).Fetch();
}

// The single-album title, or nothing when the page was no album page.
std::optional<QString> SingleAlbumTitle(QString title) {
    if (title.isEmpty() || title.size() > kMaxAlbumTitle) {
        return std::nullopt;
    }
    return title;
}

void FetchNewLayoutAlbum(JobState& state, const QString& address) {
    const auto text = Fetch(address);
    if (!text) {
        return;
    }
    TextSource page(*text);
    state.m_jobText1 = TakeBetween(page, u"name : \"", u"\"", Consume);
    ST_PERLISTRECORD record;
    const auto title = SingleAlbumTitle(TakeBetween(page, u"albumName':'", u"'", Consume));
    if (!title) {
        return;
    }
    record.title = *title;
    const qsizetype v7 = address.indexOf(u"/v7");
    record.albumRef = v7 < 0 ? QString() : address.left(v7 + 1);
    record.pictureCount = LeadingNumber(TakeBetween(page, u"photoCount':", u",", Consume));
    ListAlbum(state, record);
    SkipTo(page, u"fd-nav-item", true);
    state.m_account = StripTags(TakeBetween(page, u"/profile\">", u"</", Consume));
    if (state.m_account == u"我的主页") {
        state.m_account = state.m_jobText1;
    }
}

void FetchClassicAlbum(JobState& state, const QString& address) {
    const auto text = Fetch(address);
    if (!text) {
        return;
    }
    TextSource page(*text);
    state.m_jobText1 = TakeBetween(page.view(), u"class=\"nav-tabs\">", u"</ul>");
    state.m_account = StripTags(TakeBetween(QStringView(state.m_jobText1), u"<li>", u"</li>"));
    if (state.m_account == u"我的相册") {
        state.m_account = TakeBetween(page.view(), u"guestName\" value=\"", u"\"");
    }
    ST_PERLISTRECORD record;
    SkipTo(page, u"class=\"ablum-infor\">", true);
    const auto title = SingleAlbumTitle(TakeBetween(page, u"<h1>", u"<span", Consume));
    if (!title) {
        return;
    }
    record.title = *title;
    record.albumRef = address;
    record.pictureCount = LeadingNumber(TakeBetween(page, u"\">(", u"张", Consume));
    ListAlbum(state, record);
}

// "人人网 - 某某的相册" names the owner.
QString OwnerFromTitle(TextSource& page) {
    QString owner = TakeBetween(page, u"<title>人人网 - ", u"</title>", Consume);
    CutAt(owner, u"的相册");
    return owner;
}

// Lists the classic page's album items; false when the page ends the list (no items, or
// only items of earlier pages) or the user stopped.
bool ListClassicItems(JobState& state, PageWalk& walk, const QString& page, bool& stopped) {
    QString list = page;
    SkipTo(list, u"class=\"album-list", true);
    SkipTo(list, u"<ul", true);
    CutAt(list, u"first-page clearfix");
    QStringList pieces;
    if (SplitText(list, u"<li>", pieces) == 0 || walk.Repeats(pieces.mid(1))) {
        return false;
    }
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        TextSource piece(pieces[i]);
        ST_PERLISTRECORD record;
        record.albumRef = TakeBetween(piece, u"href=\"", u"\"", Consume);
        // An item of the list that links nowhere is no album.
        if (record.albumRef.isEmpty()) {
            continue;
        }
        record.coverUrl = TakeBetween(piece, u"data-src=\"", u"\"", Consume);
        record.pictureCount =
            LeadingNumber(TakeBetween(piece, u"photo-num\">", u"</div>", Consume));
        QString title = TakeBetween(piece, u"album-name\">", u"</span>", Consume);
        if (ContainsAfterStart(title, u"class=\"userhead\"")) {
            title = QStringLiteral("头像相册");
        } else if (title.contains(u"class=\"phone")) {
            title = QStringLiteral("手机相册");
        } else if (title.contains(u"class=\"password")) {
            title = QStringLiteral("加密相册");
            record.accessFlags |= kAccessEncrypted;
        }
        record.title = StripTags(title);
        if (!ListAlbum(state, record)) {
            stopped = true;
            return true;
        }
    }
    return true;
}

// Asks for the password of an encrypted album; false when the user declined.
bool OfferPassword(JobState& state, const ST_PERLISTRECORD& album, const QString& address) {
    if ((album.accessFlags & kAccessEncrypted) == 0) {
        return true;
    }
    if (!Ask(state, kPasswordQuestion)) {
        return false;
    }
    OpenLogin(state, address);
    return true;
}

// The album's own page, fetched before its classic pictures and its viewer; gives the title
// that names pictures without one: the page's, else the listed one. The record itself is
// left alone: the album table reads it while the download runs, and the listed (unique)
// title names the album's folder.
std::optional<QString> FetchAlbumPage(const ST_PERLISTRECORD& album, TextSource& page) {
    const auto text = Fetch(album.albumRef);
    if (!text) {
        return std::nullopt;
    }
    page = TextSource(*text);
    SkipTo(page, u"class=\"ablum-infor\">", true);
    QString title = TakeBetween(page, u"<h1>", u"<span", Consume);
    SanitizeName(title, kTimeStampFallback, false);
    return title.isEmpty() ? album.title : title;
}

// Cut at the large picture page when the list gives no original or extra-large address.
QString LargePictureAddress(JobState& state, QStringView piece, QString address) {
    if (address.contains(u"original_") || address.contains(u"xlarge_")) {
        return address;
    }
    state.m_jobText2 = state.m_jobText1;
    CutAt(state.m_jobText2, u"/album-");
    const QString photoId = TakeBetween(piece, u"\"photoId\":\"", u"\"");
    const auto text = Fetch(SiteAddress(QString(), u"%s/photo-%s/large?xtype=album",
                                        {AddressValue::Verbatim(state.m_jobText2), photoId}));
    if (!text || !ContainsAfterStart(*text, u"class=\"photoes-box\">")) {
        return address;
    }
    const QString box = QStringLiteral("class=\"photoes-box\">");
    const QString large = TakeBetween(
        QStringView(*text).sliced(text->lastIndexOf(box) + box.size()), u"src=\"", u"\"");
    return large.isEmpty() ? address : large;
}

}  // namespace

void FetchRenrenNewLayoutAlbums(JobState& state, const QString& input) {
    if (ContainsAfterStart(input, u"/album-")) {
        FetchNewLayoutAlbum(state, input);
        return;
    }
    const auto text =
        Fetch(SiteAddress(host::kPhoto, u"/photo/%s/albumlist/v7?showAll=1#", {input}));
    if (!text) {
        return;
    }
    TextSource page(*text);
    state.m_account = OwnerFromTitle(page);
    SkipTo(page, u"'albumList'", true);
    QString list = page.toString();
    CutAt(list, u"</script>");
    QStringList pieces;
    SplitText(list, u"\"cover\"", pieces);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        TextSource piece(pieces[i]);
        ST_PERLISTRECORD record;
        record.coverUrl = Unslashed(TakeBetween(piece, u"\"", u"\"", Consume));
        record.title = UnescapeUnicode(TakeBetween(piece, u"albumName\":\"", u"\"", Consume));
        const QString albumId = TakeBetween(piece, u"albumId\":\"", u"\"", Consume);
        if (albumId.isEmpty()) {
            continue;
        }
        record.albumRef = SiteAddress(host::kPhoto, u"/photo/%s/album-%s/", {input, albumId});
        if (ContainsAfterStart(piece.view(), u"sourceControl\":4,")) {
            record.accessFlags |= kAccessEncrypted;
        }
        record.pictureCount = LeadingNumber(TakeBetween(piece, u"photoCount\":", u",", Consume));
        if (!ListAlbum(state, record)) {
            return;
        }
    }
}

void FetchRenrenClassicAlbums(JobState& state, const QString& input) {
    if (ContainsAfterStart(input, u"/album-")) {
        FetchClassicAlbum(state, input);
        return;
    }
    bool morePages = true;
    for (PageWalk walk(state, WalkOf::Albums, {.first = 0}); morePages && walk.Next();) {
        const auto text =
            walk.Page() == 0
                ? Fetch(SiteAddress(host::kPhoto, u"/photo/%s/album/relatives?curpage=%d",
                                    {input, 1}))
                : Fetch(SiteAddress(host::kPhoto,
                                    u"/photo/%s/album/relatives/ajax?offset=%d&limit=%d",
                                    {input, kClassicPageSize * walk.Page(), kClassicPageSize}));
        if (!text) {
            return;
        }
        QString page = *text;
        if (walk.Page() == 0) {
            TextSource title(page);
            state.m_account = OwnerFromTitle(title);
            if (!page.contains(u"first-page clearfix")) {
                // Users of the older layout: one list of every album.
                const auto full = Fetch(SiteAddress(
                    host::kPhoto, u"/photo/%s/ajax?__view=async-html&offset=0&limit=500", {input}));
                if (!full || !full->contains(u"first-page clearfix")) {
                    return;
                }
                page = *full;
                morePages = false;
            }
        }
        bool stopped = false;
        if (!ListClassicItems(state, walk, page, stopped)) {
            morePages = false;
        }
        if (stopped) {
            return;
        }
    }
}

void FetchRenrenPublicPageAlbums(JobState& state, const QString& pageId) {
    bool morePages = true;
    for (PageWalk walk(state, WalkOf::Albums, {.first = 0}); morePages && walk.Next();) {
        const auto text =
            Fetch(SiteAddress(host::kPage, u"/%s/album?curpage=%d", {pageId, walk.Page()}));
        if (!text) {
            return;
        }
        if (walk.Page() == 0) {
            state.m_account = TakeBetween(QStringView(*text), u"<title>", u"</title>");
            CutAt(state.m_account, u"的相册");
            SanitizeName(state.m_account, kTimeStampFallback, true);
        }
        if (!text->contains(u"\">下一页</a>")) {
            morePages = false;
        }
        QStringList pieces;
        if (SplitText(*text, u"class=\"picitem", pieces) <= 1) {
            morePages = false;
        }
        const bool more = ListAlbumPieces(state, pieces.mid(1), [](TextSource& piece, auto& album) {
            const QString link = TakeBetween(piece, u"href=\"", u"\"", Consume);
            if (link.isEmpty()) {
                return;
            }
            album.albumRef = host::kPhoto + QStringLiteral("/photo") + OneLine(link) + u'/';
            album.albumRef.replace(QStringLiteral("/album/"), QStringLiteral("/album-"));
            album.coverUrl = TakeBetween(piece, u"data-src=\"", u"\"", Consume);
            album.title = StripTags(TakeBetween(piece, u"\"/>", u"</", Consume));
            album.pictureCount = LeadingNumber(TakeBetween(piece, u"piccount\">", u"张", Consume));
        });
        if (!more) {
            return;
        }
    }
}

void FetchRenrenZhanPosts(JobState& state, const QString& siteAddress) {
    const auto text = Fetch(siteAddress);
    if (!text) {
        return;
    }
    QString siteName = siteAddress;
    SkipTo(siteName, u"com/", true);
    CutAt(siteName, u"?");
    while (!siteName.isEmpty() && siteName.back().isSpace()) {
        siteName.chop(1);
    }
    // A name of path steps: each step encoded, the steps kept.
    const QString sitePath =
        EncodedValue(siteName).replace(QStringLiteral("%2F"), QStringLiteral("/"));
    state.m_jobText1 = TakeBetween(QStringView(*text), u"site_id=", u"\"");
    QString tagId;
    if (ContainsAfterStart(siteAddress, u"tagId=")) {
        tagId = siteAddress.mid(siteAddress.indexOf(u"tagId=") + 6);
        CutAt(tagId, u"&");
    }
    state.m_account = TakeBetween(QStringView(*text), u"name:'", u"'");
    QStringList months;
    if (!tagId.isEmpty()) {
        const QString tag = TakeBetween(QStringView(*text), u"class=\"s\"", u"</li>");
        state.m_subDir = TakeBetween(QStringView(tag), u">", u"<");
        state.m_jobText2 = QStringLiteral("&tag_id=") + EncodedValue(tagId);
        months << QString();
    } else {
        state.m_jobText2.clear();
        const auto archive =
            Fetch(SiteAddress(host::kZhan, u"/archive?site_id=%s", {state.m_jobText1}));
        if (!archive) {
            return;
        }
        QString timeline = *archive;
        SkipTo(timeline, u"class=\"time_control", true);
        CutAt(timeline, u"</section>");
        QStringList pieces;
        SplitText(timeline, u"mark=\"", pieces);
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            months << pieces[i].left(pieces[i].indexOf(u'"'));
        }
    }
    const AddressValue tagParameter = AddressValue::Verbatim(state.m_jobText2);
    for (const QString& month : months) {
        for (PageWalk walk(state, WalkOf::Albums, {.first = 0}); walk.Next();) {
            const auto posts =
                month.isEmpty()
                    ? Fetch(SiteAddress(host::kZhan, u"/archive/archiveByTag?site_id=%s%s&page=%d",
                                        {state.m_jobText1, tagParameter, walk.Page()}))
                    : Fetch(SiteAddress(host::kZhan,
                                        u"/archive/archiveByTime?site_id=%s%s&month=%s&page=%d",
                                        {state.m_jobText1, tagParameter, month, walk.Page()}));
            QStringList pieces;
            if (!posts || SplitText(*posts, u"<div id=\\\"", pieces) == 0) {
                break;
            }
            QStringList ids;
            for (qsizetype i = 1; i < pieces.size(); ++i) {
                ids << QString(TakeBefore(pieces[i], u"\\\"")).remove(QStringLiteral("feed"));
            }
            // A server that ignores the page number would answer the same posts for ever.
            if (walk.Repeats(ids)) {
                break;
            }
            for (qsizetype i = 1; i < pieces.size(); ++i) {
                ST_PERLISTRECORD record;
                record.albumRef = SiteAddress(host::kZhan, u"/%s?gid=%s&ajax=true",
                                              {AddressValue::Verbatim(sitePath), ids[i - 1]});
                record.title = UnescapeUnicode(
                    TakeBetween(QStringView(pieces[i]), u"class=\\\"title\\\">", u"<\\/"));
                if (record.title.isEmpty()) {
                    continue;
                }
                if (!ListAlbum(state, record)) {
                    return;
                }
            }
        }
    }
}

void FetchRenrenNewLayoutPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* found = state.m_records.At(albumIndex);
    if (found == nullptr) {
        return;
    }
    const ST_PERLISTRECORD album = *found;
    // Declining still tries the pictures: the album may be open to this login.
    OfferPassword(state, album, album.albumRef);
    for (PageWalk walk(state, WalkOf::Pictures, {.first = 1}); walk.Next();) {
        const QString address = SiteAddress(QString(), u"%sbypage/ajax/v7?page=%d&pageSize=40",
                                            {AddressValue::Verbatim(album.albumRef), walk.Page()});
        const auto text = Fetch(address);
        QStringList pieces;
        if (!text || SplitText(*text, u"\"position\":", pieces) == 0) {
            return;
        }
        QStringList addresses;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            addresses << Unslashed(TakeBetween(QStringView(pieces[i]), u"url\":\"", u"\""));
        }
        if (walk.Repeats(addresses)) {
            return;
        }
        const QString referer = RefererHeader(address);
        for (const QString& picture : addresses) {
            if (picture.isEmpty()) {
                continue;
            }
            const QString number = QString::number(g_pictureQueue().Count() + 1);
            if (!QueuePicture(state, picture, number, referer, albumIndex)) {
                return;
            }
        }
    }
}

void FetchRenrenClassicPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* found = state.m_records.At(albumIndex);
    if (found == nullptr ||
        !OfferPassword(state, *found, found->albumRef + QStringLiteral("/private"))) {
        return;
    }
    state.m_jobText1 = found->albumRef;
    CutAt(state.m_jobText1, u"?");
    // The new layout's addresses end with "/": no empty path step before "bypage".
    while (state.m_jobText1.endsWith(u'/')) {
        state.m_jobText1.chop(1);
    }
    TextSource albumPage;
    const auto title = FetchAlbumPage(*found, albumPage);
    if (!title) {
        return;
    }
    for (PageWalk walk(state, WalkOf::Pictures, {.first = 0}); walk.Next();) {
        const QString address =
            SiteAddress(QString(), u"%s/bypage/ajax?curPage=%d&pagenum=65535",
                        {AddressValue::Verbatim(state.m_jobText1), walk.Page()});
        const auto text = Fetch(address);
        QStringList pieces;
        if (!text || SplitText(*text, u"\"position\":", pieces) == 0 ||
            walk.Repeats(pieces.mid(1))) {
            return;
        }
        const QString referer = RefererHeader(address);
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            QString picture = Unslashed(TakeBetween(piece, u"\"largeUrl\":\"", u"\"", Consume));
            QString description =
                UnescapeUnicode(TakeBetween(piece, u"\"title\":\"", u"\"", Consume));
            if (description.isEmpty()) {
                description = *title;
            }
            picture = LargePictureAddress(state, pieces[i], picture);
            if (picture.isEmpty()) {
                continue;
            }
            if (!QueuePicture(state, picture, description, referer, albumIndex)) {
                return;
            }
        }
    }
}

void FetchRenrenViewerWalk(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* found = state.m_records.At(albumIndex);
    if (found == nullptr ||
        !OfferPassword(state, *found, found->albumRef + QStringLiteral("/private"))) {
        return;
    }
    TextSource albumPage;
    const auto title = FetchAlbumPage(*found, albumPage);
    if (!title) {
        return;
    }
    SkipTo(albumPage, u"data-info=\"{album:'", true);
    state.m_jobText1 = TakeBetween(albumPage, u"href=\"", u"\"", Consume);
    int lowest = kHighestPosition;
    for (PageWalk walk(state, WalkOf::Pictures); walk.Next() && !state.m_jobText1.isEmpty();) {
        const QString address = state.m_jobText1;
        const auto text = Fetch(address);
        if (!text || !text->contains(u"\"list\":")) {
            return;
        }
        const QString referer = RefererHeader(address);
        QString list = *text;
        SkipTo(list, u"\"list\":", true);
        QStringList pieces;
        SplitText(list, u"\"position\":", pieces);
        bool added = false;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const int position = LeadingNumber(pieces[i]);
            if (position >= lowest) {
                continue;
            }
            lowest = position;
            TextSource piece(pieces[i]);
            QString description =
                UnescapeUnicode(TakeBetween(piece, u"\"originTitle\":\"", u"\"", Consume));
            if (description.isEmpty()) {
                description = *title;
            }
            const QString large = TakeBetween(piece, u"\"largeurl\":\"", u"\"", Consume);
            state.m_jobText1 = Unslashed(TakeBetween(piece, u"\"link\":\"", u"\"", Consume));
            QString picture = TakeBetween(piece, u"\"xLargeUrl\":\"", u"\"", Consume);
            picture = Unslashed(picture.isEmpty() ? large : picture);
            if (!picture.isEmpty()) {
                added = true;
                if (!QueuePicture(state, picture, description, referer, albumIndex)) {
                    return;
                }
            }
            if (position <= 1) {
                return;
            }
        }
        // A viewer page that brings no lower position would be asked for again and again.
        if (!added) {
            return;
        }
    }
}

void FetchRenrenZhanPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* found = state.m_records.At(albumIndex);
    if (found == nullptr) {
        return;
    }
    const ST_PERLISTRECORD post = *found;
    const auto text = SiteRequest(post.albumRef)
                          .StartMarker("id=\"main-wrap\"")
                          .EndMarker("class=\"ccagreement\">")
                          .Fetch();
    if (!text) {
        return;
    }
    const QStringView photo = u"class=\"photo\">";
    QStringList pieces;
    if (SplitText(*text, text->contains(photo) ? photo : u"<img", pieces) == 0) {
        return;
    }
    QString picture = TakeBetween(QStringView(pieces[1]), u"data-src=\"", u"\"");
    if (picture.isEmpty()) {
        picture = TakeBetween(QStringView(pieces[1]), u"src=\"", u"\"");
    }
    if (!picture.isEmpty()) {
        QueuePicture(state, picture, post.title, RefererHeader(post.albumRef), albumIndex);
    }
}

}  // namespace mosaiq
