#include "sites/shop1688.h"

#include "core/naming.h"
#include "sites/shop_pages.h"
#include "sites/site_text.h"
#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// 1688 pages are read at the address the user typed; the pictures at the addresses on them.

constexpr qsizetype kShortestPicture = 7;

// The login page 1688 shows instead of an offer.
const QString kLoginPageMarker = QStringLiteral("淘宝会员（仅限会员名）请在此登录");
const QString kLoginFirst = QStringLiteral(
    "1688要求登录后才能查看这个商品。\n\n请先在登录菜单里登录1688(淘宝)帐号，"
    "登录时勾上下次自动登录，然后重新获取");

QString CompanyName(QStringView page) {
    for (const QStringView start :
         {QStringView(u"_compname\">"), QStringView(u"chinaname hidden\"")}) {
        QString name = TakeBetween(page, start, u"</");
        SkipTo(name, u"\">", true);
        if (!name.isEmpty()) {
            return name;
        }
    }
    return QString();
}

}  // namespace

void Fetch1688Offer(JobState& state, const QString& input) {
    state.m_jobText1.clear();
    if (!ContainsAfterStart(input, u".com/offer")) {
        return;
    }
    const auto page = ShopPageRequest(input).Referer(input).Fetch();
    if (!page) {
        return;
    }
    QString company = CompanyName(*page);
    if (company.isEmpty()) {
        if (page->contains(kLoginPageMarker)) {
            Tell(state, kLoginFirst);
        } else {
            TellNoProduct(state);
        }
        return;
    }
    SanitizeName(company, kTimeStampFallback, true);
    state.m_account = company;

    TextSource rest(*page);
    SkipTo(rest, u"class=\"box-img", true);
    QString title =
        TakeBetween(rest, u"title=\"", u"\"", Consume).remove(QStringLiteral("点击查看大图："));
    ListProduct(state, title, input, *page);
}

void Fetch1688Pictures(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString albumRef = record->albumRef;
    const auto page = ProductPage(state, ShopPageRequest(albumRef));
    if (!page) {
        return;
    }
    if (!ContainsAfterStart(*page, u"data-tfs-url=\"")) {
        ReportUnreadPage(state, *page, 2);
        return;
    }
    if (!DescriptionPicturesOnly(state)) {
        const QStringView separator = CountOccurrences(*page, u"\"original\":\"") > 0
                                          ? QStringView(u"\"original\":\"")
                                          : QStringView(u"image:url(");
        const bool queued = QueueMainPictures(
            state, albumIndex, *page, {.separator = separator, .referer = RefererHeader(albumRef)},
            [](const QString& piece) {
                const QString address = TakeBefore(piece, u"\"");
                return address.size() < kShortestPicture ? QString() : address;
            });
        if (!queued) {
            return;
        }
    }
    TellMainPicturesDone(state);
}

}  // namespace mosaiq
