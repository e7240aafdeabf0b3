#include "sites/huaban.h"

#include "core/naming.h"
#include "sites/site_toolkit.h"
#include "web/site_tokens.h"

using namespace std::chrono_literals;

namespace mosaiq {
namespace {

// Every host of Huaban: the boards are read on the host of the typed address; the picture
// host is named by each page, this one serves when a page names none.
namespace host {
const QString kDefaultImages = QStringLiteral("hbimg.huabanimg.com");
}  // namespace host

const QString kNoBoard = QStringLiteral("没有在页面里找到画板，请确认网址，或登录花瓣后重试");

constexpr uint8_t kBoardAttempts = 4;
constexpr uint8_t kBoardRetryDelaySeconds = 4;
constexpr uint32_t kBoardMinBytes = 100;
constexpr int kPinFailures = 3;

QString PinsAddress(const QString& boardRef, const QString& lastPin) {
    QString address = boardRef + QStringLiteral("?js9pibaa&max=") + EncodedValue(lastPin) +
                      QStringLiteral("&limit=20&wfl=1");
    return address.replace(QLatin1String(".com/"), QLatin1String(".com/boards/"));
}

// The pictures of a board are all queued once the queue holds its pin count (when the board
// page gave one).
bool BoardComplete(int pinCount) {
    return pinCount > 0 && g_pictureQueue().Count() >= pinCount;
}

}  // namespace

void FetchHuabanBoard(JobState& state, const QString& boardAddress) {
    state.m_jobText3 = boardAddress;
    CutAt(state.m_jobText3, u"boards/");
    state.m_jobText1.clear();
    if (!boardAddress.contains(u"/boards/")) {
        return;
    }
    QString address = boardAddress;
    CutAt(address, u"?");
    const auto page = SiteRequest(address)
                          .Attempts(kBoardAttempts, kBoardRetryDelaySeconds)
                          .MinBodyLength(kBoardMinBytes)
                          .Fetch();
    if (!page) {
        TellUnreachable(state, address);
        return;
    }
    TextSource board(*page);
    SkipTo(board, u"app.page[\"", true);
    const QString boardId = TakeBetween(board, u"board_id\":", u",", Consume).trimmed();
    // A page without a board: a login or an error page.
    if (boardId.isEmpty()) {
        Tell(state, kNoBoard);
        return;
    }
    ST_PERLISTRECORD record;
    record.albumRef = state.m_jobText3 + boardId + u'/';
    record.title = TakeBetween(board, u"title\":\"", u"\"", Consume);
    record.pictureCount = LeadingNumber(TakeBetween(board, u"pin_count\":", u",", Consume));
    state.m_account = TakeBetween(board, u"username\":\"", u"\"", Consume);
    SanitizeName(state.m_account, kTimeStampFallback, true);
    ListAlbum(state, record);
    state.m_jobText1 = *page;
}

void FetchHuabanPins(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString boardRef = record->albumRef;
    const int pinCount = record->pictureCount;
    SiteRequest request;
    request.Referer(boardRef);
    state.m_jobText2.clear();
    QString previousPin;
    int failures = 0;
    for (PageWalk walk(state, WalkOf::Pictures, {.pause = 2000ms});
         failures < kPinFailures && walk.Next();) {
        QString page;
        if (walk.Index() == 0 && !state.m_jobText1.isEmpty()) {
            page = std::exchange(state.m_jobText1, QString());
        } else {
            const auto text = request.At(PinsAddress(boardRef, state.m_jobText2)).Fetch();
            if (!text || text->contains(u"504 Gateway Time-out")) {
                // A session the site no longer likes: start afresh, later.
                ClearSiteCookies(boardRef);
                Pause(6000ms);
                ++failures;
                walk.Again();
                continue;
            }
            page = *text;
        }
        QString imageHost = TakeBetween(QStringView(page), u"hbimg\":\"", u"\"");
        if (imageHost.isEmpty()) {
            imageHost = host::kDefaultImages;
        }
        SkipTo(page, u"\"pins\"", true);
        if (BoardComplete(pinCount)) {
            return;
        }
        QStringList pieces;
        if (SplitText(page, u"{\"pin_id", pieces) == 0) {
            return;
        }
        QStringList pins;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            pins << TakeBetween(QStringView(pieces[i]), u":", u",");
        }
        // A server that answers every "max" with the same pins ends here.
        if (walk.Repeats(pins)) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QString& pin = pins[i - 1];
            state.m_jobText2 = pin;
            if (pin.isEmpty() || pin == previousPin) {
                continue;
            }
            previousPin = pin;
            TextSource piece(pieces[i]);
            const QString key = TakeBetween(piece, u"key\":\"", u"\"", Consume);
            const QString description = TakeBetween(piece, u"raw_text\":\"", u"\"", Consume);
            if (key.isEmpty()) {
                continue;
            }
            const QString address = QStringLiteral("http://%1/%2").arg(imageHost, key);
            if (!QueuePicture(state, address, description, QString(), albumIndex) ||
                BoardComplete(pinCount)) {
                return;
            }
        }
    }
}

}  // namespace mosaiq
