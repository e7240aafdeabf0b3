#include "sites/aliexpress.h"

#include "core/naming.h"
#include "sites/shop_pages.h"
#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// AliExpress pages are read at the address the user typed; the pictures at the addresses on
// them.

const QString kDefaultShop = QStringLiteral("AliExpress");

std::optional<QString> ItemPage(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return std::nullopt;
    }
    const QString albumRef = record->albumRef;
    return ProductPage(state, ShopPageRequest(albumRef).Referer(albumRef));
}

// The picture list between `start` and `end`; empty when the page has none (the rest of the
// page is no picture list).
QString PictureList(QString page, QStringView start, QStringView end) {
    if (SkipTo(page, start, true) < 0) {
        return QString();
    }
    CutAt(page, end);
    return page;
}

bool QueueMain(JobState& state, int albumIndex, const QString& address, int n) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    return QueuePicture(state, address, MainPictureName(n), RefererHeader(record->albumRef),
                        albumIndex);
}

}  // namespace

void FetchAliexpressItem(JobState& state, const QString& input) {
    state.m_jobText1.clear();
    const auto page = ShopPageRequest(input).Referer(input).Fetch();
    if (!page) {
        return;
    }
    QString title = TakeBetween(QStringView(*page), u" itemprop=\"name\">", u"</");
    QString shop;
    if (!title.isEmpty()) {
        state.m_subType = SubTypeValue(ShopSubType::AliexpressFirstForm);
        TextSource rest(*page);
        SkipTo(rest, u"class=\"shop-name\">", true);
        shop = TakeBetween(rest, u"\">", u"</");
    } else {
        state.m_subType = SubTypeValue(ShopSubType::AliexpressSecondForm);
        title = TakeBetween(QStringView(*page), u"\"subject\":\"", u"\"");
        shop = TakeBetween(QStringView(*page), u"\"storeName\":\"", u"\"");
    }
    if (shop.isEmpty()) {
        shop = kDefaultShop;
    }
    SanitizeName(shop, kTimeStampFallback, true);
    state.m_account = shop;
    ListProduct(state, title, input, *page);
}

void FetchAliexpressPicturesFirstForm(JobState& state, int albumIndex) {
    const auto page = ItemPage(state, albumIndex);
    if (!page) {
        return;
    }
    if (!DescriptionPicturesOnly(state)) {
        QStringList pieces;
        SplitText(PictureList(*page, u"imageBigViewURL", u"]"), u"\"h", pieces);
        for (qsizetype n = 1; n < pieces.size(); ++n) {
            const QString rest = TakeBefore(pieces[n], u"\"");
            if (rest.isEmpty()) {
                continue;
            }
            if (!QueueMain(state, albumIndex, u'h' + rest, int(n))) {
                return;
            }
        }
    }
    TellMainPicturesDone(state);
}

void FetchAliexpressPicturesSecondForm(JobState& state, int albumIndex) {
    const auto page = ItemPage(state, albumIndex);
    if (!page) {
        return;
    }
    if (!DescriptionPicturesOnly(state)) {
        const QString list = PictureList(*page, u"imagePathList\":[\"", u"\"]");
        QStringList pieces;
        // A list of one picture has no separator, and is still that picture.
        if (SplitText(list, u"\",\"", pieces) == 0 && !list.isEmpty()) {
            pieces = {list};
        }
        for (qsizetype n = 0; n < pieces.size(); ++n) {
            if (pieces[n].isEmpty()) {
                continue;
            }
            if (!QueueMain(state, albumIndex, pieces[n], int(n))) {
                return;
            }
        }
    }
    TellMainPicturesDone(state);
}

}  // namespace mosaiq
