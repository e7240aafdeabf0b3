#include "sites/tweibo.h"

#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of Tencent Weibo.
namespace host {
const QString kSite = QStringLiteral("http://t.qq.com");
const QString kApi = QStringLiteral("http://api.t.qq.com");
}  // namespace host

SiteRequest TweiboRequest() {
    SiteRequest request;
    request.Referer(host::kApi + QStringLiteral("/proxy.html"));
    return request;
}

QString PostText(TextSource& post) {
    return Unslashed(
        StripTags(UnescapeUnicode(TakeBetween(post, u"content\":\"", u"\",", Consume))));
}

}  // namespace

void FetchTweiboAlbums(JobState& state, const QString& account) {
    SiteRequest request = TweiboRequest();
    const auto app =
        request.At(SiteAddress(host::kSite, u"/app/qzphoto/%s?preview", {account})).Fetch();
    if (!app) {
        return;
    }
    TextSource page(*app);
    SkipTo(page, u"MI.App.guest", true);
    state.m_jobText1 = TakeBetween(page, u"uin\":\"", u"\"", Consume);
    for (PageWalk walk(state, WalkOf::Albums, {.first = 1}); walk.Next();) {
        const auto text =
            request
                .At(SiteAddress(host::kApi,
                                u"/asyn/gettopicalbum.php?op=1&uin=%s&page=%d&n=12&apiType=14&"
                                u"apiHost=%s&_r=1382084292800&g_tk=%d",
                                {state.m_jobText1, walk.Page(), host::kApi, ProcessClockMs()}))
                .Fetch();
        QStringList pieces;
        // Whole pieces, so a page of nothing but skipped albums ends the paging too.
        if (!text || SplitText(*text, u"\"num\"", pieces) == 0 || walk.Repeats(pieces.mid(1))) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.pictureCount = LeadingNumber(TakeBetween(piece, u":", u",", Consume));
            record.title = UnescapeUnicode(TakeBetween(piece, u"name\":\"", u"\",", Consume));
            record.albumRef = TakeBetween(piece, u"\"type\":\"", u"\"", Consume);
            if (!record.albumRef.isEmpty()) {
                record.pictureCount = -1;
            } else {
                record.albumRef = TakeBetween(piece, u"\"topicid\":\"", u"\"", Consume);
            }
            if (record.albumRef.isEmpty() || record.title.isEmpty()) {
                continue;
            }
            record.coverUrl = Unslashed(TakeBetween(piece, u"image\":[\"", u"\"", Consume)) +
                              QStringLiteral("/240");
            if (!ListAlbum(state, record)) {
                return;
            }
        }
    }
}

void FetchTweiboPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    SiteRequest request = TweiboRequest();
    // The last post of a page tells the next page where to go on (nothing on the first).
    QString continuation;
    for (PageWalk walk(state, WalkOf::Pictures, {.first = 1}); walk.Next();) {
        const auto text =
            request
                .At(SiteAddress(host::kApi,
                                u"/asyn/gettopicalbum.php?op=2&uin=%s&page=%d&n=24&topicid=%s&"
                                u"apiType=14&apiHost=%s&_r=1382325110273&g_tk=6180339%s",
                                {state.m_jobText1, walk.Page(), record->albumRef, host::kApi,
                                 AddressValue::Verbatim(continuation)}))
                .Fetch();
        QStringList posts;
        // Whole posts, so a page of posts without pictures ends the paging too.
        if (!text || SplitText(*text, u"{\"id\":\"", posts) == 0 || walk.Repeats(posts.mid(1))) {
            return;
        }
        for (qsizetype i = 1; i < posts.size(); ++i) {
            TextSource post(posts[i]);
            QString description = PostText(post);
            QStringList pictures;
            SplitText(post.view(), u"{\"url\"", pictures);
            continuation = SiteAddress({}, u"&time=%s&r=%d&u=%s",
                                       {TakeBetween(post, u"realtime\":", u",", Consume).trimmed(),
                                        ProcessClockMs(), state.m_jobText2});
            if (description.isEmpty()) {
                description = PostText(post);
            }
            if (description.isEmpty()) {
                description = record->title;
            }
            for (qsizetype j = 1; j < pictures.size(); ++j) {
                const QString url = Unslashed(TakeBetween(QStringView(pictures[j]), u"\"", u"\""));
                if (!url.isEmpty() && !QueuePicture(state, url + QStringLiteral("/2000"),
                                                    description, QString(), albumIndex)) {
                    return;
                }
            }
        }
    }
}

}  // namespace mosaiq
