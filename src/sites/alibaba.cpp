#include "sites/alibaba.h"

#include "core/naming.h"
#include "sites/shop_pages.h"
#include "sites/site_text.h"
#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Alibaba pages are read at the address the user typed; the pictures at the addresses on
// them.

// "jpg_" this far in belongs to the host or folder, not to a thumbnail suffix.
constexpr qsizetype kShortestSuffixPosition = 10;

// The thumbnail "…/a.jpg_50x50.jpg" is the picture "…/a.jpg".
QString FullPicture(QString address) {
    if (address.contains(u"jpg_") && CutAt(address, u"jpg_") > kShortestSuffixPosition) {
        address += QStringLiteral("jpg");
    }
    return address;
}

}  // namespace

void FetchAlibabaProduct(JobState& state, const QString& input) {
    state.m_jobText1.clear();
    if (!ContainsAfterStart(input, u"product-detail")) {
        return;
    }
    const auto page = ShopPageRequest(input).Referer(input).Fetch();
    if (!page) {
        return;
    }
    TextSource rest(*page);
    QString title = TakeBetween(rest, u"ma-title-text\" title=\"", u"\">", Consume);
    SkipTo(rest, u"company-name\">", true);
    QString company = TakeBetween(rest, u"text\">", u"</");
    if (company.isEmpty()) {
        company = TakeBetween(rest, u"company-name\">", u"</");
    }
    if (company.isEmpty()) {
        TellNoProduct(state);
        return;
    }
    SanitizeName(company, kTimeStampFallback, true);
    state.m_account = company;
    ListProduct(state, title, input, *page);
}

void FetchAlibabaPictures(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString albumRef = record->albumRef;
    const auto page = ProductPage(state, ShopPageRequest(albumRef).Referer(albumRef));
    if (!page) {
        return;
    }
    if (!DescriptionPicturesOnly(state) &&
        !QueueMainPictures(state, albumIndex, *page,
                           {.separator = u"class=\"thumb\"", .referer = RefererHeader(albumRef)},
                           [](const QString& piece) {
                               return FullPicture(
                                   TakeBetween(QStringView(piece), u"src=\"", u"\""));
                           })) {
        return;
    }
    TellMainPicturesDone(state);
}

}  // namespace mosaiq
