#include "sites/tweibo.h"

#include "core/album_sink.h"
#include "core/job_state.h"
#include "core/naming.h"
#include "sites/qq_common.h"
#include "sites/site_sinks.h"
#include "sites/site_values.h"
#include "web/http_client.h"
#include "web/pause_clock.h"
#include "web/response_decoding.h"
#include "web/text_helpers.h"

namespace mosaiq {
namespace {

// Every host of Tencent Weibo.
namespace host {
const QString kSite = QStringLiteral("t.qq.com");
const QString kApi = QStringLiteral("api.t.qq.com");
}  // namespace host

RequestOptions TweiboOptions() {
    RequestOptions options(QString(), QString(), kSiteTimeoutMs);
    options.headers = kAcceptCompressedLine + QStringLiteral("Referer: http://") + host::kApi +
                      QStringLiteral("/proxy.html");
    return options;
}

QString ApiAddress(const QString& query) {
    return QStringLiteral("http://") + host::kApi + QStringLiteral("/asyn/gettopicalbum.php?") +
           query + QStringLiteral("&apiType=14&apiHost=http%3A%2F%2F") + host::kApi;
}

QString PostText(TextSource& post) {
    return Unslashed(StripTags(UnescapeUnicode(
        TakeBetween(post, QStringLiteral("content\":\""), QStringLiteral("\","), Consume))));
}

bool FetchTweiboText(RequestOptions& options, const QString& address, QString& text) {
    options.url = address;
    return FetchText(options, Inflate | Utf8, text) && !text.isEmpty();
}

}  // namespace

void FetchTweiboAlbums(JobState& state, const QString& account) {
    RequestOptions options = TweiboOptions();
    QString text;
    if (!FetchTweiboText(options,
                         QStringLiteral("http://") + host::kSite + QStringLiteral("/app/qzphoto/") +
                             QueryValue(account) + QStringLiteral("?preview"),
                         text)) {
        return;
    }
    TextSource page(text);
    SkipTo(page, QStringLiteral("MI.App.guest"), true);
    state.m_jobText1 = TakeBetween(page, QStringLiteral("uin\":\""), QStringLiteral("\""), Consume);
    const QString uin = QueryValue(state.m_jobText1);
    RepeatGuard guard;
    for (int number = 1;; ++number) {
        const QString address =
            ApiAddress(QStringLiteral("op=1&uin=") + uin + QStringLiteral("&page=") +
                       QString::number(number) + QStringLiteral("&n=12")) +
            QStringLiteral("&_r=1382084292800&g_tk=") + QString::number(ProcessClockMs());
        if (!FetchTweiboText(options, address, text)) {
            return;
        }
        QStringList pieces;
        if (SplitText(text, QStringLiteral("\"num\""), pieces) == 0) {
            return;
        }
        // Whole pieces, so a page of nothing but skipped albums ends the paging too.
        if (guard.IsRepeat(pieces.mid(1))) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.accessFlags = 0;
            record.pictureCount = LeadingNumber(
                TakeBetween(piece, QStringLiteral(":"), QStringLiteral(","), Consume));
            record.title = UnescapeUnicode(
                TakeBetween(piece, QStringLiteral("name\":\""), QStringLiteral("\","), Consume));
            record.albumRef =
                TakeBetween(piece, QStringLiteral("\"type\":\""), QStringLiteral("\""), Consume);
            if (!record.albumRef.isEmpty()) {
                record.pictureCount = -1;
            } else {
                record.albumRef = TakeBetween(piece, QStringLiteral("\"topicid\":\""),
                                              QStringLiteral("\""), Consume);
            }
            if (record.albumRef.isEmpty() || record.title.isEmpty()) {
                continue;
            }
            record.coverUrl = Unslashed(TakeBetween(piece, QStringLiteral("image\":[\""),
                                                    QStringLiteral("\""), Consume)) +
                              QStringLiteral("/240");
            AppendAndShow(state, record);
            if (ListStopRequested(state)) {
                return;
            }
        }
        if (ListStopRequested(state)) {
            return;
        }
    }
}

void FetchTweiboPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    RequestOptions options = TweiboOptions();
    const QString uin = QueryValue(state.m_jobText1);
    const QString topic = QueryValue(record->albumRef);
    QString continuation;
    RepeatGuard guard;
    for (int number = 1;; ++number) {
        const QString address =
            ApiAddress(QStringLiteral("op=2&uin=") + uin + QStringLiteral("&page=") +
                       QString::number(number) + QStringLiteral("&n=24&topicid=") + topic) +
            QStringLiteral("&_r=1382325110273&g_tk=6180339") +
            (number > 1 ? continuation : QString());
        QString text;
        if (!FetchTweiboText(options, address, text)) {
            return;
        }
        QStringList posts;
        if (SplitText(text, QStringLiteral("{\"id\":\""), posts) == 0) {
            return;
        }
        // Whole posts, so a page of posts without pictures ends the paging too.
        if (guard.IsRepeat(posts.mid(1))) {
            return;
        }
        for (qsizetype i = 1; i < posts.size(); ++i) {
            TextSource post(posts[i]);
            QString description = PostText(post);
            QStringList pictures;
            SplitText(post.view(), QStringLiteral("{\"url\""), pictures);
            continuation = QStringLiteral("&time=") +
                           QueryValue(TakeBetween(post, QStringLiteral("realtime\":"),
                                                  QStringLiteral(","), Consume)
                                          .trimmed()) +
                           QStringLiteral("&r=") + QString::number(ProcessClockMs()) +
                           QStringLiteral("&u=") + QueryValue(state.m_jobText2);
            if (description.isEmpty()) {
                description = PostText(post);
            }
            if (description.isEmpty()) {
                description = record->title;
            }
            for (qsizetype j = 1; j < pictures.size(); ++j) {
                const QString url = Unslashed(TakeBetween(
                    QStringView(pictures[j]), QStringLiteral("\""), QStringLiteral("\"")));
                if (url.isEmpty()) {
                    continue;
                }
                AddPicture(state, url + QStringLiteral("/2000"), description, QString(),
                           albumIndex);
                if (DownloadShouldEnd(state)) {
                    return;
                }
            }
        }
        if (DownloadShouldEnd(state)) {
            return;
        }
    }
}

}  // namespace mosaiq
