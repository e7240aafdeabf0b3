#include "sites/topit.h"

#include "core/naming.h"
#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of Topit.
namespace host {
const QString kSite = QStringLiteral("http://www.topit.me");
}  // namespace host

struct SizeRule {
    const char16_t* marker;
    const char16_t* primary;
    const char16_t* fallback;
};

// Tried from the top; the first marker the address holds decides.
constexpr SizeRule kSizeRules[] = {
    {u"com/t", u"com/o", u"com/l"}, {u"com/m", u"com/o", u"com/l"}, {u"com/s", u"com/o", u"com/l"},
    {u"t.jpg", u"o.jpg", u"l.jpg"}, {u"s.jpg", u"o.jpg", u"l.jpg"},
};
constexpr SizeRule kLastSizeRule{u"m.jpg", u"o.jpg", u"l.jpg"};

void ListUserAlbums(JobState& state, const QString& user) {
    SiteRequest request;
    for (PageWalk walk(state, WalkOf::Albums); walk.Next();) {
        const auto text =
            request
                .At(SiteAddress({}, u"%s/albums?p=%d", {AddressValue::Verbatim(user), walk.Page()}))
                .Fetch();
        if (!text) {
            return;
        }
        const bool lastPage = !text->contains(u"id=\"page-next");
        TextSource page(*text);
        if (walk.Index() == 0) {
            SkipTo(page, u"name=", true);
            QString name = StripTags(TakeBetween(page, u"content=\"", u" 专辑\"", Consume));
            SanitizeName(name, kTimeStampFallback, true);
            state.m_account = name;
        }
        QStringList pieces;
        if (SplitText(page.view(), u"class=\"albumlist\"", pieces) == 0) {
            return;
        }
        if (walk.Repeats(ItemKeys(pieces, u"href=\"", u"\""))) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.albumRef = TakeBetween(piece, u"href=\"", u"\"", Consume);
            record.coverUrl = TakeBetween(piece, u"src=\"", u"\"", Consume);
            SkipTo(piece, u"albumlist_blk\"", true);
            record.title = TakeBetween(piece, u"\">", u"</", Consume);
            record.pictureCount = LeadingNumber(TakeBetween(piece, u"<span> ( ", u"张", Consume));
            if (!ListAlbum(state, record)) {
                return;
            }
        }
        if (lastPage) {
            return;
        }
    }
}

void ListOneAlbum(JobState& state, const QString& album) {
    const auto text = SiteRequest(album).Fetch();
    if (!text) {
        return;
    }
    TextSource page(*text);
    SkipTo(page, QString(host::kSite + QStringLiteral("/user/")), true);
    state.m_account = TakeBetween(page, u"<span>", u"</", Consume);
    ST_PERLISTRECORD record;
    record.albumRef = album;
    SkipTo(page, u"class=\"pageheader", true);
    record.title = TakeBetween(page, u"h2>", u"</", Consume);
    // An error page answers as well: without a header there is no album.
    if (!record.title.isEmpty()) {
        ListAlbum(state, record);
    }
}

}  // namespace

QString TopitSizes(const QString& address) {
    const SizeRule* rule = &kLastSizeRule;
    for (const SizeRule& candidate : kSizeRules) {
        if (address.indexOf(QStringView(candidate.marker)) >= 1) {
            rule = &candidate;
            break;
        }
    }
    const QString marker = QString::fromUtf16(rule->marker);
    QString primary = address;
    QString fallback = address;
    primary.replace(marker, QString::fromUtf16(rule->primary));
    fallback.replace(marker, QString::fromUtf16(rule->fallback));
    return primary + QStringLiteral("\r\n") + fallback;
}

void FetchTopitAlbums(JobState& state, const QString& address) {
    if (address.contains(u"/user/")) {
        ListUserAlbums(state, address);
    } else {
        ListOneAlbum(state, address);
    }
}

void FetchTopitPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    SiteRequest request;
    for (PageWalk walk(state, WalkOf::Pictures); walk.Next();) {
        const QString pageAddress =
            SiteAddress({}, u"%s&p=%d", {AddressValue::Verbatim(record->albumRef), walk.Page()})
                .replace(QStringLiteral("/album/"), QStringLiteral("/broad?type=album&id="));
        auto text = request.At(pageAddress).Fetch();
        if (!text) {
            return;
        }
        const bool lastPage = !text->contains(u"id=\"page-next");
        SkipTo(*text, u"/comments\">", true);
        CutAt(*text, u"id=\"footer");
        QStringList pieces;
        if (SplitText(*text, u"<img class=\"img", pieces) == 0) {
            return;
        }
        QStringList addresses;
        QStringList descriptions;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            QString description = TakeBetween(piece, u"title=\"", u"\"", Consume);
            QString address = TakeBetween(piece, u"original=\"", u"\"", Consume);
            if (description.isEmpty()) {
                description = TakeBetween(piece, u"alt=\"", u"\"", Consume);
            }
            if (address.isEmpty()) {
                address = TakeBetween(piece, u"src=\"", u"\"", Consume);
            }
            if (!address.isEmpty()) {
                addresses << address;
                descriptions << description;
            }
        }
        if (walk.Repeats(addresses)) {
            return;
        }
        for (qsizetype i = 0; i < addresses.size(); ++i) {
            if (!QueuePicture(state, TopitSizes(addresses[i]), descriptions[i], QString(),
                              albumIndex)) {
                return;
            }
        }
        if (lastPage) {
            return;
        }
    }
}

}  // namespace mosaiq
