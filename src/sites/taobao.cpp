#include "sites/taobao.h"

#include "core/naming.h"
#include "sites/shop_pages.h"
#include "sites/site_text.h"
#include "sites/site_toolkit.h"

#include <algorithm>

namespace mosaiq {
namespace {

// Every host of Taobao and Tmall items, written as the pages write them.
namespace host {
const QString kItem = QStringLiteral("//item.taobao.com");
const QString kPackageDeal = QStringLiteral("//meal.taobao.com");
}  // namespace host

const QString kUnreadPageMarkers[] = {QStringLiteral("//dsc."), QStringLiteral("httpsDescUrl"),
                                      QStringLiteral("//descnew."), QStringLiteral("//dscnew.")};

unsigned ItemPageDecoding(const JobState& state, bool compressed) {
    if (state.m_taobaoTraditional == 1) {
        return Inflate | Big5 | GbkZeroGuard;
    }
    return compressed ? Inflate | GbkZeroGuard : GbkZeroGuard;
}

// The picture list's request of the item page (and of its package-deal page).
SiteRequest ItemPageRequest(const JobState& state, const QString& address,
                            const QString& albumRef) {
    SiteRequest request(address);
    request.Header(u"Accept-Language", QStringLiteral("zh-cn"))
        .Header(u"Accept-Charset", QStringLiteral("GBK"))
        .Referer(albumRef)
        .Decode(ItemPageDecoding(state, true));
    return request;
}

// The item name: the page title without the site's words after its last "-".
QString ItemTitle(QStringView page) {
    QString title = TakeBetween(page, u"<title>", u"</title>");
    if (title.isEmpty()) {
        title = TakeBetween(page, u"name=\"keywords\" content=\"", u"\"");
    }
    const qsizetype dash = title.lastIndexOf(u'-');
    if (dash > 0) {
        title.truncate(dash);
    }
    return title;
}

// The shop's nick name; the script values are percent-encoded, the attributes are not.
QString SellerNick(QStringView page) {
    QString nick = TakeBetween(page, u"nickName:", u",");
    bool encoded = true;
    if (nick.isEmpty()) {
        nick = TakeBetween(page, u"NickName\"", u",");
    }
    if (nick.isEmpty()) {
        encoded = false;
        for (const auto& [start, end] :
             {std::pair{u"data-nick=\"", u"\""}, std::pair{u"data-tnick=\"", u"\""},
              std::pair{u"sellerNick", u","}}) {
            nick = TakeBetween(page, start, end);
            if (!nick.isEmpty()) {
                SkipTo(nick, u"'", true);
                break;
            }
        }
    }
    nick.remove(u'\'');
    nick = nick.trimmed();
    if (encoded) {
        nick = UrlDecodeUtf8(nick);
    }
    SanitizeName(nick, kTimeStampFallback, true);
    return nick;
}

QString PriceText(QStringView page) {
    for (const auto& [start, end] :
         {std::pair{u"defaultItemPrice':'", u"'"}, std::pair{u"price:", u","},
          std::pair{u"defaultItemPrice\":\"", u"\""}, std::pair{u"\"tb-rmb-num\">", u"<"}}) {
        QString price = TakeBetween(page, start, end);
        if (!price.isEmpty()) {
            return price;
        }
    }
    return QString();
}

// The decimal number a text starts with (blanks, a sign, digits, a point, digits); 0 when
// there is none.
double LeadingDecimal(QStringView text) {
    qsizetype end = 0;
    while (end < text.size() && text[end].isSpace()) {
        ++end;
    }
    const qsizetype start = end;
    if (end < text.size() && (text[end] == u'-' || text[end] == u'+')) {
        ++end;
    }
    bool point = false;
    for (; end < text.size(); ++end) {
        if (text[end] == u'.' && !point) {
            point = true;
        } else if (!text[end].isDigit()) {
            break;
        }
    }
    bool ok = false;
    const double value = text.sliced(start, end - start).toDouble(&ok);
    return ok ? value : 0.0;
}

QString PricePrefix(const JobState& state, const QString& price) {
    if (state.m_taobaoPriceInName == 0 || price.isEmpty()) {
        return QString();
    }
    if (state.m_taobaoPriceDelta == 0) {
        return QStringLiteral("价格%1元_").arg(price);
    }
    return QStringLiteral("价格%1元_")
        .arg(LeadingDecimal(price) + state.m_taobaoPriceDelta, 0, 'f', 2);
}

// The pictures behind the page's "data-src" attributes, as the skip pages show them.
void QueueSkipPagePictures(JobState& state, int albumIndex) {
    const QString& page = state.m_jobText1;
    if (page.isEmpty()) {
        return;
    }
    if (!DescriptionPicturesOnly(state)) {
        const QStringView separator =
            page.contains(u"data-src=\"") ? u"data-src=\"" : u"image:url(";
        if (!QueueMainPictures(state, albumIndex, page, {.separator = separator},
                               [](const QString& piece) { return TakeBefore(piece, u"\""); })) {
            return;
        }
    }
    TellMainPicturesDone(state);
}

}  // namespace

void FetchTaobaoItem(JobState& state, const QString& input) {
    if (!ContainsAfterStart(input, u"item.") && !ContainsAfterStart(input, u"tbskip.")) {
        return;
    }
    const auto page =
        SiteRequest(input).Uncompressed().Decode(ItemPageDecoding(state, false)).Fetch();
    if (!page) {
        return;
    }
    state.m_jobText1 = *page;
    WriteItemPage(state, *page);

    ST_PERLISTRECORD record;
    record.title = ItemTitle(*page);
    record.albumRef = input;
    state.m_account = SellerNick(*page);
    ListAlbum(state, record);
}

void FetchTaobaoPictures(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString albumRef = record->albumRef;
    if (albumRef.contains(u"tbskip")) {
        QueueSkipPagePictures(state, albumIndex);
        return;
    }
    auto page = ProductPage(state, ItemPageRequest(state, albumRef, albumRef));
    if (!page) {
        return;
    }
    if (page->contains(u'\'' + host::kPackageDeal + QStringLiteral("/item.htm'"))) {
        QString address = albumRef;
        address.replace(host::kItem, host::kPackageDeal);
        page = ItemPageRequest(state, address, albumRef).Fetch();
        if (!page) {
            return;
        }
    }
    const bool recognised =
        std::any_of(std::begin(kUnreadPageMarkers), std::end(kUnreadPageMarkers),
                    [&](const QString& marker) { return ContainsAfterStart(*page, marker); });
    if (!recognised) {
        ReportUnreadPage(state, *page, 2);
        return;
    }
    const QString prefix = PricePrefix(state, PriceText(*page));
    if (DescriptionPicturesOnly(state)) {
        TellMainPicturesDone(state);
        return;
    }

    QString block = *page;
    SkipTo(block, u"id=\"J_UlThumb\"", true);
    if (CutAt(block, u"</ul>") < 0) {
        block.clear();
    }
    const QStringView separator =
        CountOccurrences(block, u"src=\"") > 0 ? u"src=\"" : u"image:url(";
    const bool queued = QueueMainPictures(
        state, albumIndex, block,
        {.separator = separator, .referer = RefererHeader(albumRef), .namePrefix = prefix},
        [](const QString& piece) {
            QString address = ContainsAfterStart(piece, u"lazyload=\"")
                                  ? TakeBetween(QStringView(piece), u"lazyload=\"", u"\"")
                                  : TakeBefore(piece, u"\"");
            // The thumbnail's size suffix follows the last "_"; an address without one is
            // already the picture itself.
            const qsizetype suffix = address.lastIndexOf(u'_');
            if (suffix >= 0) {
                address.truncate(suffix);
            }
            return address;
        });
    if (queued) {
        TellMainPicturesDone(state);
    }
}

}  // namespace mosaiq
