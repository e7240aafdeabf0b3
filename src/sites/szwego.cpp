#include "sites/szwego.h"

#include "sites/site_toolkit.h"

#include <QDateTime>

namespace mosaiq {
namespace {

// Every host of Szwego.
namespace host {
const QString kWeb = QStringLiteral("https://www.szwego.com");
}  // namespace host

const QString kAccept = QStringLiteral(
    "text/html,application/xhtml+xml,application/xml;q=0.9,image/webp,image/apng,*/*;q=0.8");
// The site shows this page instead of the list until the visitor passed its check.
const QString kVerificationPage = QStringLiteral("系统优化");
constexpr int kLoginAutoCloseSeconds = 4;

// The start's seconds, then the program's run time in milliseconds modulo 1000.
AddressValue CacheBreakerOf(int64_t seconds) {
    return AddressValue::Verbatim(SecondsAndNumber(seconds, ProcessClockMs() % 1000, 3));
}

QString PostsAddress(const QString& shopId, const QString& cursor, bool firstPage,
                     int64_t seconds) {
    if (firstPage) {
        return SiteAddress(host::kWeb,
                           u"/service/album/get_album_themes_list.jsp?act=single_album&shop_id=%s"
                           u"&search_value=&search_img=&start_date=&end_date=&tag=[]&page_index=1"
                           u"&from_id=&_=%s",
                           {shopId, CacheBreakerOf(seconds)});
    }
    return SiteAddress(host::kWeb,
                       u"/service/album/get_album_themes_list.jsp?act=single_album&shop_id=%s"
                       u"&search_value=&search_img=&start_date=&end_date=&tag=[]&page_index=1"
                       u"&from_id=&slip_type=1&time_stamp=%s&_=%s",
                       {shopId, cursor, CacheBreakerOf(seconds)});
}

QString CleanAddress(QString address) {
    return Unslashed(address.remove(u'"').trimmed());
}

}  // namespace

void FetchSzwegoPosts(JobState& state, const QString& shopId) {
    const int64_t seconds = QDateTime::currentSecsSinceEpoch();
    SiteRequest request;
    request.Header(u"Accept", kAccept);
    bool retried = false;
    state.m_jobText1.clear();
    for (PageWalk walk(state, WalkOf::Albums); walk.Next();) {
        const bool firstPage = walk.Index() == 0;
        const QString cursor = state.m_jobText1;
        const QString address = PostsAddress(shopId, cursor, firstPage, seconds);
        const auto text = request.At(address).Fetch();
        if (!text) {
            if (firstPage) {
                TellUnreachable(state, address);
            }
            return;
        }
        if (firstPage && !retried && text->indexOf(kVerificationPage) >= 1) {
            retried = true;
            OpenLogin(state, state.m_jobText2, kLoginAutoCloseSeconds);
            walk.Again();
            continue;
        }
        QStringList pieces;
        if (SplitText(*text, u"\"link\":", pieces) == 0) {
            return;
        }
        int listed = 0;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QStringView piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.albumRef = TakeBetween(piece, u"\"imgsSrc\":[", u"]");
            if (record.albumRef.isEmpty()) {
                continue;
            }
            record.coverUrl = TakeBetween(piece, u"imgs\":[\"", u"\"");
            record.createdText = TakeBetween(piece, u"\"title\":\"", u"\"")
                                     .replace(QLatin1String("\\n"), QLatin1String("\r\n"));
            record.extraRef = TakeBetween(piece, u"videoUrl\":\"", u"\"");
            state.m_jobText1 = TakeBetween(piece, u"time_stamp\":", u",").trimmed();
            record.title = TakeBetween(piece, u"goods_id\":\"", u"\"");
            ++listed;
            if (!ListAlbum(state, record)) {
                return;
            }
        }
        // The cursor moves only with a listed post: a page that lists none, or leaves the
        // cursor where it was, would be asked for again and again.
        if (listed == 0 || state.m_jobText1 == cursor) {
            return;
        }
    }
}

void FetchSzwegoPictures(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* found = state.m_records.At(albumIndex);
    if (found == nullptr) {
        return;
    }
    const ST_PERLISTRECORD record = *found;
    const int queuedBefore = g_pictureQueue().Count();
    if (!record.extraRef.isEmpty()) {
        // A video post: the video alone, its pictures are its frames.
        const QString address = CleanAddress(record.extraRef);
        if (!address.isEmpty()) {
            QueuePicture(state, address, QStringLiteral("%1.mp4").arg(g_pictureQueue().Count() + 1),
                         QString(), albumIndex);
        }
    } else {
        for (const QString& element : record.albumRef.split(u',')) {
            const QString address = CleanAddress(element);
            if (address.isEmpty()) {
                continue;
            }
            if (!QueuePicture(state, address,
                              QStringLiteral("%1.jpg").arg(g_pictureQueue().Count() + 1), QString(),
                              albumIndex)) {
                break;
            }
        }
    }
    // The queue's folder is this album's only once a picture of it was queued.
    if (!record.createdText.isEmpty() && g_pictureQueue().Count() > queuedBefore &&
        !WritePictureDescription(record.createdText)) {
        Tell(state, QStringLiteral("图片描述.txt 没有写入：") + g_pictureQueue().folder);
    }
}

}  // namespace mosaiq
