#include "sites/duitang.h"

#include "sites/site_toolkit.h"

#include <QDateTime>

using namespace std::chrono_literals;

namespace mosaiq {
namespace {

// Every host of Duitang.
namespace host {
const QString kWeb = QStringLiteral("http://www.duitang.com");
const QString kWebTls = QStringLiteral("https://www.duitang.com");
}  // namespace host

constexpr int kPageSize = 24;

void ListOneAlbum(JobState& state) {
    const QStringView page(state.m_jobText1);
    ST_PERLISTRECORD record;
    record.albumRef = state.m_jobText2;
    record.title = TakeBetween(page, u"album-title\">", u"</");
    record.pictureCount = LeadingNumber(TakeBetween(page, u"count\">", u"个"));
    if (ListAlbum(state, record)) {
        Pause(2000ms);
    }
}

}  // namespace

void FetchDuitangAlbums(JobState& state, const QString& userId) {
    if (!state.m_jobText1.isEmpty()) {
        ListOneAlbum(state);
        return;
    }
    SiteRequest request;
    request.Referer(SiteAddress(host::kWeb, u"/people/?user_id=%s", {userId}));
    Pause(1500ms);
    for (PageWalk walk(state, WalkOf::Albums, {.pause = 1500ms}); walk.Next();) {
        const int64_t now = QDateTime::currentSecsSinceEpoch();
        const QString address =
            SiteAddress(host::kWeb, u"/album/list/%d/24/?user_id=%s&_=%s",
                        {walk.Page(), userId,
                         AddressValue::Verbatim(SecondsAndNumber(now, uint32_t(now % 10000), 4))});
        const auto text = request.At(address).Fetch();
        if (!text) {
            if (walk.Index() == 0) {
                TellUnreachable(state, address);
            }
            return;
        }
        QStringList pieces;
        const bool more = SplitText(*text, u"\"like_count\"", pieces) > 0;
        QStringList ids;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.pictureCount = LeadingNumber(TakeBetween(piece, u"count\":", u",", Consume));
            record.coverUrl = TakeBetween(piece, u"pics\":[\"", u"\"", Consume);
            record.albumRef = TakeBetween(piece, u"\"id\":", u",", Consume);
            record.title = TakeBetween(piece, u"name\":\"", u"\"", Consume);
            ids << record.albumRef;
            if (record.title.isEmpty()) {
                continue;
            }
            if (!ListAlbum(state, record)) {
                return;
            }
        }
        // A server that answers every page number with the same albums ends here.
        if (!more || walk.Repeats(ids)) {
            return;
        }
    }
}

void FetchDuitangPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString albumId = record->albumRef;
    SiteRequest request;
    request.Referer(SiteAddress(host::kWeb, u"/album/?id=%s", {albumId}));
    uint32_t pageTag = ProcessClockMs() % 800;
    for (PageWalk walk(state, WalkOf::Pictures, {.first = 0, .step = kPageSize, .pause = 2500ms});
         walk.Next();) {
        const auto text =
            request
                .At(SiteAddress(
                    host::kWebTls,
                    u"/napi/blog/list/by_album/?album_id=%s&limit=24&include_fields=top_comments"
                    u"%2Cis_root%2Csource_link%2Cbuyable%2Croot_id%2Cstatus%2Clike_count"
                    u"%2Csender%2Creply_count&start=%d&_=%s",
                    {albumId, walk.Page(),
                     AddressValue::Verbatim(
                         SecondsAndNumber(QDateTime::currentSecsSinceEpoch(), pageTag, 3))}))
                .Fetch();
        ++pageTag;
        if (!text) {
            return;
        }
        bool more = text->contains(u"more\":1");
        QString page = *text;
        CutAt(page, u"has_next\":");
        QStringList pieces;
        if (SplitText(page, u"\"photo\"", pieces) == 0) {
            more = false;
        }
        QStringList addresses;
        QStringList descriptions;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            addresses << TakeBetween(piece, u"path\":\"", u"\"", Consume)
                             .replace(QLatin1String(".thumb.224_0."), QLatin1String("."))
                             .replace(QLatin1String(".thumb.700_0."), QLatin1String("."));
            descriptions << TakeBetween(piece, u"msg\":\"", u"\"", Consume);
        }
        if (walk.Repeats(addresses)) {
            return;
        }
        for (qsizetype i = 0; i < addresses.size(); ++i) {
            if (addresses[i].size() < 8) {
                continue;
            }
            if (!QueuePicture(state, addresses[i], descriptions[i], QString(), albumIndex)) {
                return;
            }
        }
        if (!more) {
            return;
        }
    }
}

}  // namespace mosaiq
