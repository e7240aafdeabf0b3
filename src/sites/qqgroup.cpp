#include "sites/qqgroup.h"

#include "core/album_sink.h"
#include "core/job_state.h"
#include "core/naming.h"
#include "sites/qq_common.h"
#include "sites/site_request.h"
#include "web/http_client.h"
#include "web/response_decoding.h"
#include "web/site_tokens.h"
#include "web/text_helpers.h"

namespace mosaiq {
namespace {

// Every host of QQ group albums.
namespace host {
const QString kH5 = QStringLiteral("h5.qzone.qq.com");
const QString kGroupPhoto = QStringLiteral("u.photo.qzone.qq.com");
const QString kGroup = QStringLiteral("qun.qq.com");
}  // namespace host

constexpr int kAlbumPageSize = 36;
constexpr int kPhotoPageSize = 500;

RequestOptions GroupOptions(const QString& headers) {
    RequestOptions options(QString(), QString(), kSiteTimeoutMs);
    options.headers = headers;
    options.attempts = 3;
    options.retryDelaySeconds = QqRetryDelaySeconds();
    return options;
}

// The number after the "o" of the first "guin=o" (which QQ's "pt2gguin" cookie carries too),
// one leading zero dropped; "p_uin=o" when that leaves nothing.
QString LoggedInUin(const QString& cookies) {
    for (const QStringView marker : {u"guin=o", u"p_uin=o"}) {
        QString value = TakeBetween(QStringView(cookies), marker, u";");
        if (value.startsWith(u'0')) {
            value.remove(0, 1);
        }
        if (!value.isEmpty()) {
            return value;
        }
    }
    return QString();
}

QString PhotoAddress(QStringView piece) {
    QString address = TakeBetween(piece, QStringLiteral("\"rawurl\" : \""), QStringLiteral("\""));
    if (address.isEmpty()) {
        address = TakeBetween(piece, QStringLiteral("\"hdurl\" : \""), QStringLiteral("\""));
    }
    if (address.isEmpty()) {
        address = TakeBetween(piece, QStringLiteral("\"burl\" : \""), QStringLiteral("\""));
        if (address.isEmpty()) {
            return QString();
        }
        address += QStringLiteral("/800");
    }
    return Unslashed(address)
        .replace(QLatin1String("/200/"), QLatin1String("/"))
        .replace(QLatin1String("/200?"), QLatin1String("/800?"));
}

// The trimmed first choice, or the fallback as it stands.
QString Caption(const JobState& state, QStringView piece) {
    const QString name = TakeBetween(piece, QStringLiteral("\"name\" : \""), QStringLiteral("\""));
    const QString desc = TakeBetween(piece, QStringLiteral("\"desc\" : \""), QStringLiteral("\""));
    const bool nameFirst = state.m_qzoneOrigName == 1;
    const QString first = (nameFirst ? name : desc).trimmed();
    return first.isEmpty() ? (nameFirst ? desc : name) : first;
}

}  // namespace

void FetchQqGroupAlbums(JobState& state, const QString& group) {
    // Encoded in the referer too: a line break in the input must not start a header line.
    const QString groupValue = QueryValue(group);
    RequestOptions options =
        GroupOptions(kAcceptCompressedLine + QStringLiteral("Referer: https://") + host::kH5 +
                     QStringLiteral("/groupphoto/index?inqq=3&groupId=") + groupValue);
    const QString cookies = GetSiteCookies(QStringLiteral("https://") + host::kH5 + u'/') + u';';
    const QString gtk = QString::number(GtkFromCookies(cookies, true));
    state.m_jobText1 = LoggedInUin(cookies);
    const QString uin = QueryValue(state.m_jobText1);
    const QString token = QueryValue(PageToken());
    RepeatGuard guard;
    for (int start = 0;; start += kAlbumPageSize) {
        options.url = QStringLiteral("https://") + host::kH5 + QStringLiteral("/proxy/domain/") +
                      host::kGroupPhoto + QStringLiteral("/cgi-bin/upp/qun_list_album_v2?g_tk=") +
                      gtk + QStringLiteral("&qzonetoken=") + token +
                      QStringLiteral("&callback=shine7_Callback&t=947098911&qunId=") + groupValue +
                      QStringLiteral("&uin=") + uin + QStringLiteral("&start=") +
                      QString::number(start) +
                      QStringLiteral(
                          "&num=36&getMemberRole=1&format=jsonp&platform=qzone&inCharset=utf-8&"
                          "outCharset=utf-8&source=qzone&callbackFun=shine7&_=") +
                      CacheBreaker();
        QString text;
        if (!FetchText(options, Inflate | Utf8, text) || text.isEmpty() ||
            text.indexOf(QStringLiteral("message\":\"对不起，您尚未登录")) >= 1) {
            return;
        }
        QStringList pieces;
        if (SplitText(text, QStringLiteral("\"coverurl\" : \""), pieces) == 0) {
            return;
        }
        QStringList ids;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            ids.append(TakeBetween(QStringView(pieces[i]), QStringLiteral("\"id\" : \""),
                                   QStringLiteral("\"")));
        }
        if (guard.IsRepeat(ids)) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QStringView piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.title =
                TakeBetween(piece, QStringLiteral("\"title\" : \""), QStringLiteral("\""));
            record.albumRef = QStringLiteral("qzonetoken=") + token + QStringLiteral("&qunId=") +
                              groupValue + QStringLiteral("&albumId=") + QueryValue(ids[i - 1]) +
                              QStringLiteral("&uin=") + uin + QStringLiteral("&hostUin=") + uin +
                              QStringLiteral("&g_tk=") + gtk;
            record.coverUrl = Unslashed(TakeBefore(piece, QStringLiteral("\"")));
            record.createdText =
                TakeBetween(piece, QStringLiteral("createtime\" : \""), QStringLiteral("\""))
                    .replace(u':', QStringLiteral("："));
            record.pictureCount = LeadingNumber(
                TakeBetween(piece, QStringLiteral("\"photocnt\" :"), QStringLiteral(",")));
            record.accessFlags = 0;
            if (!record.title.isEmpty()) {
                AppendAndShow(state, record);
            }
            if (ListStopRequested(state)) {
                return;
            }
        }
    }
}

void FetchQqGroupPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    RequestOptions options =
        GroupOptions(kAcceptCompressedLine + QStringLiteral("Referer: http://") + host::kGroup +
                     QStringLiteral("/group"));
    RepeatGuard guard;
    for (int page = 0;; ++page) {
        options.url = QStringLiteral("https://") + host::kH5 + QStringLiteral("/proxy/domain/") +
                      host::kGroupPhoto +
                      QStringLiteral(
                          "/cgi-bin/upp/"
                          "qun_list_photo_v2?callback=shine4_Callback&t=507118553&getCommentCnt=0&"
                          "getMemberRole=1&getalbum=1&format=jsonp&platform=qzone&inCharset=utf-8&"
                          "outCharset=utf-8&source=qzone&callbackFun=shine4&") +
                      record->albumRef + QStringLiteral("&_=") + CacheBreaker() +
                      QStringLiteral("&start=") + QString::number(page * kPhotoPageSize) +
                      QStringLiteral("&num=500");
        QString text;
        if (!FetchText(options, Inflate | Utf8, text) || text.isEmpty()) {
            return;
        }
        QStringList pieces;
        if (SplitText(text, QStringLiteral("\"bheight\""), pieces) == 0) {
            return;
        }
        // Whole pieces, so a page of photos without any address ends the paging too.
        if (guard.IsRepeat(pieces.mid(1))) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QString address = PhotoAddress(pieces[i]);
            if (address.isEmpty()) {
                continue;
            }
            AddPicture(state, address, Caption(state, pieces[i]), QString(), albumIndex);
            if (DownloadShouldEnd(state)) {
                return;
            }
        }
        if (DownloadShouldEnd(state)) {
            return;
        }
    }
}

}  // namespace mosaiq
