#include "sites/jd.h"

#include "sites/shop_pages.h"
#include "sites/site_text.h"
#include "sites/site_toolkit.h"
#include "web/http_response.h"

namespace mosaiq {
namespace {

// Every host of JD products.
namespace host {
const QString kItem = QStringLiteral("https://item.jd.com");
}  // namespace host

constexpr std::chrono::milliseconds kVariantPause{2000};
// Shorter than any product page address: a variant without a usable item number.
constexpr qsizetype kShortestVariantAddress = 15;
// The class of the picture strip beside the product (written in two pieces).
constexpr QStringView kGallery =
    u"class=\"spe"
    u"c-items";

QString ProductTitle(QString page) {
    QString title = TakeBetween(page, u"sku-name\">", u"</d");
    SkipTo(title, u">", true);
    if (title.isEmpty() && ContainsAfterStart(page, u"item ellipsis")) {
        title = TakeBetween(page, u"item ellipsis", u"\">");
        SkipTo(title, u"title=\"", true);
    }
    SkipTo(page, u"id=\"product-intro", true);
    if (title.isEmpty()) {
        title = TakeBetween(page, u"<h1>", u"</");
    }
    return title;
}

// The thumbnail path of a gallery picture made the path of the large one.
QString Enlarged(QString address) {
    return address.replace(QLatin1String("/n5/"), QLatin1String("/n12/"))
        .replace(QLatin1String("/n9/"), QLatin1String("/n12/"))
        .replace(QLatin1String("/s75x75_jfs/"), QLatin1String("/jfs/"))
        .replace(QLatin1String("/s50x64_jfs/"), QLatin1String("/jfs/"))
        .remove(QLatin1String("!cc_50x64.jpg"))
        .replace(QLatin1String("/s54x54_jfs/"), QLatin1String("/jfs/"))
        .replace(QLatin1String("/s54x54_g15/"), QLatin1String("/g15/"));
}

bool Queued(const QString& address) {
    for (const PictureEntry& entry : g_pictureQueue().entries) {
        if (entry.address == address) {
            return true;
        }
    }
    return false;
}

// Queues the gallery pictures of one page; false when the download stopped. With
// `skipQueued`, a picture that an earlier variant offered already is left out.
bool QueueGallery(JobState& state, int albumIndex, const QString& text, const QString& referer,
                  const QString& prefix, bool skipQueued) {
    if (!ContainsAfterStart(text, kGallery)) {
        return true;
    }
    QString gallery = text;
    SkipTo(gallery, kGallery, true);
    CutAt(gallery, u"</ul>");
    QStringList pieces;
    SplitText(gallery, u"src=", pieces);
    const QString header = RefererHeader(referer);
    for (qsizetype n = 1; n < pieces.size(); ++n) {
        QString address = TakeBefore(pieces[n], u" ");
        if (!address.contains(u"http")) {
            if (!address.contains(u'.')) {
                continue;
            }
            address.prepend(QStringLiteral("http:"));
        }
        address.remove(u'"').remove(u'\'');
        const QString name =
            prefix.isEmpty() ? MainPictureName(int(n)) : MainPictureName(int(n), prefix + u'_');
        address = Enlarged(address);
        if (skipQueued && Queued(address)) {
            continue;
        }
        address.remove(QLatin1String("\\n"));
        if (!QueuePicture(state, address, name, header, albumIndex)) {
            return false;
        }
    }
    return true;
}

// Each variant's gallery, its page fetched unless it is the album's own; the album's own
// page is parsed last when no variant is it. False when the download stopped.
bool QueueVariants(JobState& state, int albumIndex, const QString& albumRef, const QString& ownPage,
                   QStringList& pieces) {
    bool foundOwn = false;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        TextSource piece(pieces[i]);
        const QString sku = TakeBetween(piece, u"data-sku=\"", u"\"", Consume);
        const QString value = TakeBetween(piece, u"data-value=\"", u"\"", Consume);
        QString address =
            sku.contains(u"http") ? sku : SiteAddress(host::kItem, u"/%s.html", {sku});
        QString text;
        if (albumRef.contains(sku)) {
            foundOwn = true;
            text = ownPage;
            if (sku.isEmpty()) {
                address = albumRef;  // the piece that stands for the album's own page
            }
        } else {
            if (i == pieces.size() - 1 && !foundOwn) {
                pieces.append(QStringLiteral("< href=\"%1\" title=\"\"").arg(albumRef));
            }
            if (address.size() < kShortestVariantAddress) {
                continue;
            }
            const auto page = SiteRequest(address).Uncompressed().Decode(Inflate).Fetch();
            if (!page) {
                continue;
            }
            Pause(kVariantPause);
            text = *page;
        }
        if (!QueueGallery(state, albumIndex, text, address, value, true)) {
            return false;
        }
    }
    return true;
}

}  // namespace

void FetchJdProduct(JobState& state, const QString& input) {
    HttpResponse response;
    if (!SiteRequest(input).Exchange(response)) {
        return;
    }
    HttpResponse kept = response;
    const QString page = DecodeResponseText(response, Inflate | Utf8);
    WritePageLog(state, page);
    const QString title = ProductTitle(page);
    if (title.isEmpty()) {
        TellNoProduct(state);
        return;
    }
    state.m_account = QStringLiteral("京东");
    ListProduct(state, title, input, DecodeResponseText(kept, Inflate));
}

void FetchJdPictures(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString albumRef = record->albumRef;
    // A list loaded from a file kept no page: fetch it as the album list would.
    const auto page = ProductPage(state, SiteRequest(albumRef).Decode(Inflate));
    if (!page) {
        return;
    }
    if (!DescriptionPicturesOnly(state)) {
        QString variants = *page;
        SkipTo(variants, u"id=\"summary-stock", true);
        CutAt(variants, u"class=\"btn-append");
        QStringList pieces;
        const bool walk = SplitText(variants, u"class=\"item", pieces) > 0 && state.m_jdSource == 1;
        const bool finished =
            walk ? QueueVariants(state, albumIndex, albumRef, *page, pieces)
                 : QueueGallery(state, albumIndex, *page, albumRef, QString(), false);
        if (!finished) {
            return;
        }
    }
    TellMainPicturesDone(state);
}

}  // namespace mosaiq
