#include "sites/site51.h"

#include "sites/site_toolkit.h"
#include "web/codepage.h"
#include "web/http_response.h"

namespace mosaiq {
namespace {

// Every host of 51.
namespace host {
const QString kHome = QStringLiteral("http://home.51.com");
}  // namespace host

// 51 answers a busy server with this page (status 200); it is tried again 10 s later.
const QString kBusy = QStringLiteral("请稍候再试");
constexpr uint8_t kAttempts = 3;
constexpr uint8_t kRetryDelaySeconds = 10;
constexpr uint32_t kConnectTimeoutMs = 15000;

SiteRequest Request51(const QString& address) {
    SiteRequest request(address);
    request.RetryMarker(TextToGbk(kBusy))
        .Attempts(kAttempts, kRetryDelaySeconds)
        .ConnectTimeout(kConnectTimeoutMs);
    return request;
}

// The page's text, or nothing. A site still busy after every attempt is said with its own
// answer: the user must learn why nothing came.
std::optional<QString> Fetch51(JobState& state, const SiteRequest& request) {
    HttpResponse response;
    const bool ok = request.Exchange(response);
    const QString text = DecodeResponseText(response, ok ? Inflate | Utf8 : Inflate | AutoUtf8);
    if (!ok) {
        if (text.contains(kBusy)) {
            Tell(state, text);
        }
        return std::nullopt;
    }
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

void FetchAlbums51(JobState& state, const QString& account) {
    state.m_jobText1 = account;
    const auto text = Fetch51(state, Request51(SiteAddress(host::kHome, u"/%s/photo", {account})));
    if (!text) {
        return;
    }
    for (const QString& piece :
         PiecesAfter(Section(*text, u"class=\"p_main", {}), u"class=\"pic")) {
        TextSource source(piece);
        ST_PERLISTRECORD record;
        record.coverUrl = TakeBetween(source, u"src=\"", u"\"", Consume);
        record.albumRef = TakeBetween(source, u"href=\"", u"\"", Consume);
        record.title = TakeBetween(source, u">", u"</", Consume);
        if (record.title.isEmpty()) {
            continue;
        }
        record.pictureCount = LeadingNumber(TakeBetween(source, u"(共", u"张", Consume));
        if (!ListAlbum(state, record)) {
            return;
        }
    }
}

void FetchPhotos51(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString albumPage = PageLink(host::kHome, record->albumRef);
    auto text = Fetch51(state, Request51(albumPage));
    if (!text) {
        return;
    }
    QString list = *text;
    if (SkipTo(list, u"class=\"photo_item_list", true) < 0) {
        return;
    }
    const QString firstPhoto = TakeBetween(QStringView(list), u"/item/", u".htm");
    text = Fetch51(state, Request51(SiteAddress(host::kHome, u"/%s/photo/getdataview/?id=%s",
                                                {state.m_jobText1, firstPhoto})));
    if (!text) {
        return;
    }
    QString rows = *text;
    const bool hasRows = SkipTo(rows, u"rows\":", true) >= 0;
    const QStringList pieces = hasRows ? PiecesAfter(rows, u"\"photo_id\"") : QStringList();
    if (pieces.isEmpty()) {
        // A busy answer in place of the rows is shown as the site wrote it.
        if (text->indexOf(kBusy) >= 1) {
            Tell(state, *text);
        }
        return;
    }
    const QString referer = RefererHeader(albumPage);
    for (const QString& piece : pieces) {
        TextSource source(piece);
        QString description =
            UnescapeUnicode(TakeBetween(source, u"photo_name\":\"", u"\"", Consume));
        const QString address = Unslashed(TakeBetween(source, u"big_photo\":\"", u"\"", Consume));
        if (address.isEmpty()) {
            continue;
        }
        if (description.isEmpty()) {
            description = record->title;
        }
        if (!QueuePicture(state, WithHttp(address), description, referer, albumIndex)) {
            return;
        }
    }
}

}  // namespace mosaiq
