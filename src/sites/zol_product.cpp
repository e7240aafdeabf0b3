#include "sites/zol_product.h"

#include "core/naming.h"
#include "sites/shop_pages.h"
#include "sites/site_text.h"
#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// The product pages come from the address the user typed (the product-detail host); the
// pictures from the addresses on them.

constexpr qsizetype kShortestPicture = 7;

const QString kNoTitle = QStringLiteral(
    "没有在页面里找到产品名称，请输入中关村在线产品图片页面的网址(detail.zol.com.cn)后重试");

}  // namespace

void FetchZolProduct(JobState& state, const QString& input) {
    const auto page = SiteRequest(input).Decode(Inflate).Fetch();
    if (!page) {
        return;
    }
    QString title = TakeBetween(QStringView(*page), u"page-title\">", u"<");
    SanitizeName(title, 0, false);
    if (title.isEmpty()) {
        Tell(state, kNoTitle);
        return;
    }
    state.m_account = QStringLiteral("Zol");
    ListProduct(state, title, input, *page);
}

void FetchZolProductPictures(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    // A list loaded from a file kept no page: fetch it rather than report an empty one.
    const auto page = ProductPage(state, SiteRequest(record->albumRef).Decode(Inflate));
    if (!page) {
        return;
    }
    if (!ContainsAfterStart(*page, u"class=\"content")) {
        ReportUnreadPage(state, *page, 3);
        return;
    }
    QString block = *page;
    SkipTo(block, u"class=\"content", true);
    SkipTo(block, u"class=\"section", true);
    CutAt(block, u"Detail/RelativePro");
    QStringList pieces;
    SplitText(block, u"<li>", pieces);
    QString section = QStringLiteral("图片");
    for (qsizetype k = 0; k < pieces.size(); ++k) {
        TextSource piece(pieces[k]);
        if (k >= 1) {
            QString address = TakeBetween(piece, u"src=\"", u"\"", Consume);
            if (address.size() >= kShortestPicture) {
                // The thumbnail's path without its size is the full picture's.
                address.replace(QLatin1String("_120x90/"), QLatin1String("/"));
                if (!QueuePicture(state, address, section, QString(), albumIndex)) {
                    return;
                }
            }
        }
        if (ContainsAfterStart(piece.view(), u"section-header")) {
            section = TakeBetween(piece, u"section-header", u"<em>", Consume);
            section.remove(0, section.lastIndexOf(u'>') + 1);
        }
    }
}

}  // namespace mosaiq
