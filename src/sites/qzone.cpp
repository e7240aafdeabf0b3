#include "sites/qzone.h"

#include "core/album_sink.h"
#include "core/frontend.h"
#include "core/job_state.h"
#include "core/naming.h"
#include "core/picture_queue.h"
#include "sites/qq_common.h"
#include "sites/site_sinks.h"
#include "sites/site_values.h"
#include "web/http_client.h"
#include "web/pause_clock.h"
#include "web/response_decoding.h"
#include "web/site_tokens.h"
#include "web/text_helpers.h"

#include <QFile>

#include <mutex>

namespace mosaiq {
namespace {

// Every host of QQ Zone.
namespace host {
const QString kUser = QStringLiteral("user.qzone.qq.com");
const QString kMain = QStringLiteral("qzone.qq.com");
const QString kH5 = QStringLiteral("h5.qzone.qq.com");
const QString kRoute = QStringLiteral("r.qzone.qq.com");
const QString kShortPhotoDomain = QStringLiteral("photo.qq.com");
const QString kPhotoDomain = QStringLiteral("photo.qzone.qq.com");
const QString kStatic = QStringLiteral("qzonestyle.gtimg.cn");
const QString kMoodList = QStringLiteral("taotao.qq.com");
const QString kPhotoStore = QStringLiteral("r.photo.store.qq.com");
}  // namespace host

constexpr int kAlbumPageSize = 48;
constexpr int kOldPhotoPageSize = 500;
constexpr int kPhotoPageSize = 400;
constexpr int kMoodPageSize = 20;
constexpr int kPauseAfterPasswordMs = 3000;

const QString kRouteError = QStringLiteral("QQ空间相册错误1");
const QString kTooOften = QStringLiteral("您的操作过于频繁");
const QString kVerifyQuestion =
    QStringLiteral("加密或非公开空间，是否进行身份验证?\n(验证成功后请重新获取相册列表)");
const QString kPasswordQuestion = QStringLiteral("加密相册，是否输入密码？");
const QString kMoodRefused =
    QStringLiteral("无法获取说说里的图片：该空间的说说需要登录有权限查看的QQ号后才能下载");
const QString kMoodMark = QStringLiteral("123");

// The album whose password question was asked during this visit (the newer photo list asks,
// the older one that may follow for the same album does not ask again).
std::mutex g_askedMutex;
QString g_passwordAskedFor;

void RememberPasswordAsked(const QString& albumRef) {
    std::lock_guard lock(g_askedMutex);
    g_passwordAskedFor = albumRef;
}

bool PasswordAskedFor(const QString& albumRef) {
    std::lock_guard lock(g_askedMutex);
    return !albumRef.isEmpty() && g_passwordAskedFor == albumRef;
}

QString AccountPage(const QString& account) {
    return QStringLiteral("http://") + host::kUser + u'/' + account;
}

QString RefererLine(const QString& account) {
    return QStringLiteral("Referer: ") + AccountPage(account);
}

QString UserHostCookies() {
    return GetSiteCookies(QStringLiteral("http://") + host::kUser + u'/') + u';';
}

// A host name a route entry may name; anything else would steer the request elsewhere.
bool IsPlainHostName(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'.' && c != u'-') {
            return false;
        }
    }
    return true;
}

// The route lookup: which servers hold the account. Leaves the route text positioned after
// the default entry's "s" value.
bool LookUpRoute(JobState& state, const QString& account, const QString& headers,
                 unsigned decodeFlags, int& idcNum, TextSource& route) {
    RequestOptions options(QStringLiteral("https://") + host::kUser +
                               QStringLiteral("/proxy/domain/") + host::kRoute +
                               QStringLiteral("/GetRoute?UIN=") + QueryValue(account) +
                               QStringLiteral("&type=json&version=2"),
                           QString(), kSiteTimeoutMs);
    options.headers = headers;
    QString text;
    if (!FetchText(options, decodeFlags, text)) {
        Tell(state, kRouteError);
        return false;
    }
    route = TextSource(text);
    idcNum = LeadingNumber(
        TakeBetween(route, QStringLiteral("idcno\":\""), QStringLiteral(","), Consume));
    const QString defaultKey =
        TakeBetween(route, QStringLiteral("default\":\""), QStringLiteral("\""), Consume);
    SkipTo(route, QString(defaultKey + QStringLiteral("\":")), true);
    const QString nu =
        TakeBetween(route, QStringLiteral("\"nu\":\""), QStringLiteral("\""), Consume);
    const QString list =
        TakeBetween(route, QStringLiteral("\"p\":\""), QStringLiteral("\""), Consume)
            .replace(QLatin1String("sznewp"), QLatin1String("alist"))
            .replace(QLatin1String("xanewp"), QLatin1String("xalist"));
    const QString photo =
        TakeBetween(route, QStringLiteral("\"s\":\""), QStringLiteral("\""), Consume)
            .replace(host::kShortPhotoDomain, host::kPhotoDomain);
    if (!IsPlainHostName(nu) || !IsPlainHostName(list) || !IsPlainHostName(photo)) {
        Tell(state, kRouteError);
        return false;
    }
    state.m_jobText2 = nu;
    state.m_jobText1 = list;
    state.m_jobText3 = photo;
    return true;
}

// A message in place of albums: the site's own when it says the user acts too often, else
// the offer to verify identity in the login window. True when the answer was a message.
bool HandleMessage(JobState& state, const QString& account, const QString& text) {
    const QString marker = QStringLiteral("\"msg\" : \"");
    if (text.indexOf(marker) < 1) {
        return false;
    }
    const QString message = TakeBetween(QStringView(text), marker, QStringLiteral("\""));
    if (message.contains(kTooOften)) {
        Tell(state, message);
    } else if (Ask(state, kVerifyQuestion)) {
        OpenLogin(state, AccountPage(account));
    }
    return true;
}

int32_t AccessFlagsOfPriv(const QString& priv) {
    if (priv.contains(u'3')) {
        return kAccessPrivate;
    }
    if (priv.contains(u'4') || priv.contains(u'6')) {
        return kAccessFriends;
    }
    if (priv.contains(u'5')) {
        return kAccessEncrypted;
    }
    return 0;
}

enum class PageEnd { NoAlbums, Stopped, More };

// Hands every album of one list page to the table.
PageEnd ParseAlbums(JobState& state, const QString& text, int idcNum, const QString& account,
                    RepeatGuard& guard) {
    QStringList pieces;
    if (SplitText(text, QStringLiteral("\"id\" : \""), pieces) == 0) {
        return PageEnd::NoAlbums;
    }
    QStringList ids;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        ids.append(TakeBefore(pieces[i], QStringLiteral("\"")));
    }
    if (guard.IsRepeat(ids)) {
        return PageEnd::NoAlbums;
    }
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        TextSource piece(pieces[i]);
        ST_PERLISTRECORD record;
        record.albumRef = QStringLiteral("idcNum=") + QString::number(idcNum) +
                          QStringLiteral("&hostUin=") + account + QStringLiteral("&albumid=") +
                          QueryValue(ids[i - 1]);
        record.title =
            TakeBetween(piece, QStringLiteral("\"name\" : \""), QStringLiteral("\""), Consume);
        if (record.title.isEmpty()) {
            continue;
        }
        record.coverUrl = Unslashed(
            TakeBetween(piece, QStringLiteral("\"pre\" : \""), QStringLiteral("\""), Consume));
        record.accessFlags = AccessFlagsOfPriv(
            TakeBetween(piece, QStringLiteral("\"priv\" :"), QStringLiteral(","), Consume));
        record.pictureCount = LeadingNumber(
            TakeBetween(piece, QStringLiteral("\"total\" :"), QStringLiteral(","), Consume));
        AppendAndShow(state, record);
        if (ListStopRequested(state)) {
            return PageEnd::Stopped;
        }
    }
    // Polled between pages too: a page of nameless pieces adds nothing.
    return ListStopRequested(state) ? PageEnd::Stopped : PageEnd::More;
}

// The account of an album: its "hostUin" (the mood list carries it too), else the job's.
QString AlbumAccount(const JobState& state, const ST_PERLISTRECORD& record) {
    const QString uin = TakeBetween(QStringView(record.albumRef), QStringLiteral("hostUin="),
                                    QStringLiteral("&"), ToEnd);
    return uin.isEmpty() ? state.m_account : uin;
}

QString Caption(const JobState& state, QStringView piece) {
    const QString name =
        TakeBetween(piece, QStringLiteral("\"name\" : \""), QStringLiteral("\"")).trimmed();
    const QString desc =
        TakeBetween(piece, QStringLiteral("\"desc\" : \""), QStringLiteral("\"")).trimmed();
    if (state.m_qzoneOrigName == 1) {
        return name.isEmpty() ? desc : name;
    }
    return desc.isEmpty() ? name : desc;
}

QString WithFallback(const QString& primary, const QString& fallback) {
    if (primary.isEmpty() || fallback.isEmpty()) {
        return primary.isEmpty() ? fallback : primary;
    }
    return primary + QStringLiteral("\r\n") + fallback;
}

QString FallbackAddress(TextSource& piece) {
    return Unslashed(
               TakeBetween(piece, QStringLiteral("\"pre\" : \""), QStringLiteral("\""), Consume))
        .replace(QLatin1String("/a/"), QLatin1String("/b/"));
}

struct Picture {
    QString address;
    QString caption;
};

// Queues the pictures of one page unless the page repeats an earlier one; `pageItems` are the
// page's pieces as sent, so a repeated page without any usable picture ends the album too.
// False when the album ends here (a repeat, the user's stop or the marker of pictures
// downloaded before). The stop is polled after the page as well: a page that queues nothing
// would never poll it.
bool QueuePage(JobState& state, const QStringList& pageItems, const std::vector<Picture>& pictures,
               const QString& referer, int albumIndex, RepeatGuard& guard) {
    if (guard.IsRepeat(pageItems)) {
        return false;
    }
    for (const Picture& p : pictures) {
        AddPicture(state, p.address, p.caption, referer, albumIndex);
        if (DownloadShouldEnd(state)) {
            return false;
        }
    }
    return !DownloadShouldEnd(state);
}

bool AsksForPassword(const QString& text, const ST_PERLISTRECORD& record) {
    return text.indexOf(QStringLiteral("\"message\":\"对不起")) >= 1 &&
           (record.accessFlags & kAccessEncrypted) != 0;
}

// The album's own page, where the login window asks for its password.
QString PasswordPage(const QString& albumRef) {
    QString rest = albumRef;
    SkipTo(rest, QStringLiteral("&"), true);
    rest.remove(QLatin1String("hostUin="));
    rest.replace(QLatin1String("&albumid="), QLatin1String("/photo/"));
    return QStringLiteral("http://") + host::kUser + u'/' + rest;
}

// Older photo list: one picture of a page.
Picture OldPhoto(const JobState& state, const QString& pieceText) {
    TextSource piece(pieceText);
    Picture p;
    p.caption = Caption(state, pieceText);
    const QString rawFlag =
        TakeBetween(piece, QStringLiteral("\"raw_upload\""), QStringLiteral(","));
    QString address =
        Unslashed(TakeBetween(piece, QStringLiteral("\"raw\" : \""), QStringLiteral("\"")));
    if (address.isEmpty()) {
        address = Unslashed(TakeBetween(piece, QStringLiteral("\"origin_url\" : \""),
                                        QStringLiteral("\""), Consume));
        if (rawFlag.contains(u'1')) {
            address.replace(QLatin1String("/o/"), QLatin1String("/r/"));
        }
    }
    address.replace(QLatin1String("/psbe?/"), QLatin1String("/psb?/"));
    p.address = WithFallback(address, FallbackAddress(piece));
    return p;
}

// Newer photo list: one picture of a page.
Picture NewPhoto(const JobState& state, const QString& pieceText) {
    TextSource piece(pieceText);
    Picture p;
    p.caption = Caption(state, pieceText);
    const QString rawFlag =
        TakeBetween(piece, QStringLiteral("\"raw_upload\""), QStringLiteral(","));
    QString address =
        state.m_qzoneBigPicture == 0
            ? TakeBetween(piece, QStringLiteral("\"raw\" : \""), QStringLiteral("\""))
            : TakeBetween(piece, QStringLiteral("\"url\" : \""), QStringLiteral("\""));
    if (address.isEmpty()) {
        address = TakeBetween(piece, QStringLiteral("\"url\" : \""), QStringLiteral("\""), Consume);
    }
    // Pages escape every slash, the raw address too.
    address = Unslashed(address);
    if (rawFlag.contains(u'1') && !address.isEmpty()) {
        address.replace(QLatin1String("/b/"), QLatin1String("/r/"));
        SkipTo(address, QStringLiteral(".com/"), true);
        SkipTo(address, QStringLiteral(".cn/"), true);
        address = QStringLiteral("http://") + host::kPhotoStore + u'/' + address;
    }
    address.replace(QLatin1String("/psbe?/"), QLatin1String("/psb?/"));
    p.address = WithFallback(address, FallbackAddress(piece));
    return p;
}

std::vector<Picture> PhotosOfPage(const JobState& state, const QStringList& pieces,
                                  Picture (*photo)(const JobState&, const QString&)) {
    std::vector<Picture> pictures;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        Picture p = photo(state, pieces[i]);
        if (!p.address.isEmpty()) {
            pictures.push_back(std::move(p));
        }
    }
    return pictures;
}

void FetchMoodPictures(JobState& state, int albumIndex, const ST_PERLISTRECORD& record) {
    RequestOptions options(QString(), QString(), kSiteTimeoutMs);
    options.headers = kAcceptCompressedLine + QStringLiteral("referer:https://") + host::kStatic +
                      QStringLiteral("/qzone/app/mood_v6/html/index.html");
    const QString referer = RefererLine(AlbumAccount(state, record));
    const QString cgiHost = QStringLiteral("http%3A%2F%2F") + host::kMoodList +
                            QStringLiteral("%2Fcgi-bin%2Femotion_cgi_msglist_v6");
    RepeatGuard guard;
    int pages = 0;
    for (int position = 0;; position += kMoodPageSize) {
        const uint32_t gtk = GtkFromCookies(UserHostCookies(), true);
        options.url = record.albumRef + QStringLiteral("&pos=") + QString::number(position) +
                      QStringLiteral("&num=20&cgi_host=") + cgiHost +
                      QStringLiteral("&code_version=1&format=jsonp&need_private_comment=1&g_tk=") +
                      QString::number(gtk);
        ++pages;
        QString text;
        if (!FetchText(options, Inflate | AutoUtf8, text)) {
            return;
        }
        if (text.contains(QLatin1String("\"message\":\"")) &&
            text.contains(QLatin1String("\"code\":-3000"))) {
            Tell(state, kMoodRefused);
            return;
        }
        QStringList posts;
        SplitText(text, QStringLiteral("\"certified\""), posts);
        std::vector<Picture> pictures;
        for (qsizetype i = 1; i < posts.size(); ++i) {
            TextSource post(posts[i]);
            SkipTo(post, QStringLiteral("conlist\""), true);
            const QString caption =
                TakeBetween(post, QStringLiteral("\"content\":\""), QStringLiteral("\""), Consume);
            QStringList pieces;
            SplitText(post.view(), QStringLiteral("\"pic_id\""), pieces);
            for (qsizetype j = 1; j < pieces.size(); ++j) {
                const QString address =
                    Unslashed(TakeBetween(QStringView(pieces[j]), QStringLiteral("smallurl\":\""),
                                          QStringLiteral("\"")))
                        .replace(QLatin1String("/a/"), QLatin1String("/b/"));
                if (!address.isEmpty()) {
                    pictures.push_back({address, caption});
                }
            }
        }
        if (!QueuePage(state, posts.mid(1), pictures, referer, albumIndex, guard) ||
            posts.size() != kMoodPageSize + 1) {
            return;
        }
        Pause(std::chrono::milliseconds((pages + 20) * 200));
    }
}

}  // namespace

void FetchQzoneAlbums(JobState& state, const QString& account) {
    const QString headers = RefererLine(account);
    int idcNum = 0;
    TextSource route;
    if (!LookUpRoute(state, account, headers,
                     unsigned(state.m_qzoneV3Encoding) & ~unsigned(Inflate), idcNum, route)) {
        return;
    }
    RepeatGuard guard;
    for (int pageStart = 0;; pageStart += kAlbumPageSize) {
        const QString cookies = UserHostCookies();
        const uint32_t gtk = GtkFromCookies(cookies, true);
        RequestOptions options(
            QStringLiteral("https://") + host::kH5 + QStringLiteral("/proxy/domain/") +
                state.m_jobText1 + QStringLiteral("/fcgi-bin/fcg_list_album_v3?g_tk=") +
                QString::number(gtk) + QStringLiteral("&callback=shine5_Callback&hostUin=") +
                QueryValue(account) + QStringLiteral("&uin=") +
                QueryValue(UinFromCookies(cookies, true)) +
                QStringLiteral("&appid=4&inCharset=utf-8&outCharset=utf-8&source=qzone&plat=qzone&"
                               "format=jsonp&notice=0&filter=1&handset=4&pageNumModeSort=40&"
                               "pageNumModeClass=15&needUserInfo=1&idcNum=") +
                QString::number(idcNum) + QStringLiteral("&mode=2&sortOrder=0&pageStart=") +
                QString::number(pageStart) + QStringLiteral("&pageNum=48&callbackFun=shine5&_=") +
                CacheBreaker(),
            QString(), kSiteTimeoutMs);
        options.headers = headers;
        QString text;
        if (!FetchText(options, Utf8, text) || text.isEmpty() ||
            HandleMessage(state, account, text) ||
            ParseAlbums(state, text, idcNum, account, guard) != PageEnd::More) {
            return;
        }
    }
}

void FetchQzoneAlbumsOld(JobState& state, const QString& account) {
    const QString headers = kAcceptCompressedLine + RefererLine(account);
    int idcNum = 0;
    TextSource route;
    if (!LookUpRoute(state, account, headers, Inflate, idcNum, route)) {
        return;
    }
    const uint32_t gtk = GtkFromCookies(UserHostCookies(), false);
    RequestOptions options(QStringLiteral("http://") + state.m_jobText1 +
                               QStringLiteral("/fcgi-bin/fcg_list_album_v2?hostUin=") +
                               QueryValue(account) +
                               QStringLiteral("&format=jsonp&plat=qzone&source=qzone&t=") +
                               CacheBreaker() + QStringLiteral("&g_tk=") + QString::number(gtk),
                           QString(), kSiteTimeoutMs);
    options.headers = headers;
    const QString photoListHost =
        TakeBetween(route, QStringLiteral("\"s\":\""), QStringLiteral("\""), Consume)
            .replace(QLatin1String("static"), QLatin1String("plist"));
    // The photo list of this interface goes to that host; a route without a usable one keeps
    // the list host.
    if (IsPlainHostName(photoListHost)) {
        state.m_jobText1 = photoListHost;
    }
    QString text;
    if (!FetchText(options, unsigned(state.m_qzoneV2Encoding) | Inflate, text) || text.isEmpty() ||
        HandleMessage(state, account, text)) {
        return;
    }
    RepeatGuard guard;
    ParseAlbums(state, text, idcNum, account, guard);
}

void FetchQzonePhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    if (record->coverUrl == kMoodMark) {
        FetchMoodPictures(state, albumIndex, *record);
        return;
    }
    RememberPasswordAsked(QString());
    RequestOptions options(QString(), QString(), kSiteTimeoutMs);
    options.attempts = 3;
    options.retryDelaySeconds = kQqRetryDelaySeconds;
    const QString referer = RefererLine(AlbumAccount(state, *record));
    options.headers = kAcceptCompressedLine + referer;
    QString topicRef = record->albumRef;
    topicRef.replace(QLatin1String("albumid="), QLatin1String("topicId="));
    const PictureQueue& queue = g_pictureQueue();
    RepeatGuard guard;
    bool passwordMark = false;
    int page = 0;
    for (int requests = 0;; ++requests) {
        if (uint32_t(queue.Count()) >= uint32_t(record->pictureCount)) {
            return;
        }
        const QString cookies =
            GetSiteCookies(QStringLiteral("https://") + host::kMain + u'/') + u';';
        const int64_t t = int64_t(ProcessClockMs()) + int64_t(requests + 1) * 1000000;
        options.url = QStringLiteral("https://") + host::kH5 + QStringLiteral("/proxy/domain/") +
                      state.m_jobText3 + QStringLiteral("/fcgi-bin/cgi_list_photo?t=") +
                      QString::number(t) + QStringLiteral("&mode=0&") + topicRef +
                      QStringLiteral("&noTopic=0&uin=") +
                      QueryValue(UinFromCookies(cookies, true)) + QStringLiteral("&pageStart=") +
                      QString::number(page * kPhotoPageSize) +
                      QStringLiteral(
                          "&pageNum=400&skipCmtCount=0&singleurl=1&batchId=&notice=0&appid=4&"
                          "inCharset=utf-8&outCharset=utf-8&source=qzone&plat=qzone&outstyle=json&"
                          "format=jsonp&json_esc=1&question=&answer=&callbackFun=shine0&g_tk=") +
                      QString::number(GtkFromCookies(cookies, true));
        ++page;
        QString text;
        if (!FetchText(options, Inflate | AutoUtf8, text) || text.isEmpty()) {
            return;
        }
        if (!passwordMark && AsksForPassword(text, *record)) {
            passwordMark = true;
            RememberPasswordAsked(record->albumRef);
            if (Ask(state, kPasswordQuestion)) {
                OpenLogin(state, PasswordPage(record->albumRef));
                Pause(std::chrono::milliseconds(kPauseAfterPasswordMs));
                --page;
                continue;
            }
        }
        QStringList pieces;
        if (SplitText(text, QStringLiteral("\"batchId\""), pieces) == 0 ||
            !QueuePage(state, pieces.mid(1), PhotosOfPage(state, pieces, NewPhoto), referer,
                       albumIndex, guard)) {
            return;
        }
        Pause(std::chrono::milliseconds((requests + 1 + 20) * 200));
    }
}

void FetchQzonePhotosOld(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr || record->coverUrl == kMoodMark) {
        return;
    }
    RequestOptions options(QString(), QString(), kSiteTimeoutMs);
    const QString referer = RefererLine(AlbumAccount(state, *record));
    options.headers = kAcceptCompressedLine + referer;
    const bool photoListSwitch = QFile::exists(state.m_dataDir + QStringLiteral("Q2.txt"));
    QString topicRef = record->albumRef;
    topicRef.replace(QLatin1String("albumid="), QLatin1String("topicId="));
    QString viewRef = record->albumRef;
    viewRef.replace(QLatin1String("albumid="), QLatin1String("albumId="));
    RepeatGuard guard;
    // Asked already during this visit: go straight to the album view, without asking again.
    bool passwordMark = PasswordAskedFor(record->albumRef);
    for (int page = 0;;) {
        const QString cookies = UserHostCookies();
        const QString gtk = QString::number(GtkFromCookies(cookies, false));
        const QString uin = QueryValue(UinFromCookies(cookies, false));
        const bool albumView = passwordMark || (record->accessFlags != 0 && !photoListSwitch);
        if (albumView) {
            options.url = QStringLiteral("http://") + state.m_jobText2 +
                          QStringLiteral(
                              "/cgi-bin/common/"
                              "cgi_view_album_v2?inCharset=gbk&outCharset=gbk&format=jsonp&plat="
                              "qzone&source=qzone&") +
                          viewRef + QStringLiteral("&t=") + CacheBreaker() +
                          QStringLiteral("&g_tk=") + gtk + QStringLiteral("&uin=") + uin;
        } else {
            options.url = QStringLiteral("http://") + state.m_jobText1 +
                          QStringLiteral("/fcgi-bin/cgi_list_photo?g_tk=") + gtk +
                          QStringLiteral("&callback=shine0_Callback&mode=0&") + topicRef +
                          QStringLiteral("&noTopic=0&uin=") + uin + QStringLiteral("&pageStart=") +
                          QString::number(page * kOldPhotoPageSize) +
                          QStringLiteral(
                              "&pageNum=500&singleurl=1&notice=0&appid=4&inCharset=gbk&outCharset="
                              "gbk&source=qzone&plat=qzone&outstyle=json&format=jsonp&json_esc=1&"
                              "callbackFun=shine0&_=") +
                          CacheBreaker();
            ++page;
        }
        QString text;
        if (!FetchText(options, Inflate | AutoUtf8, text) || text.isEmpty()) {
            return;
        }
        if (!passwordMark && AsksForPassword(text, *record)) {
            if (Ask(state, kPasswordQuestion)) {
                OpenLogin(state, PasswordPage(record->albumRef));
                passwordMark = true;
                continue;
            }
        }
        QStringList pieces;
        if (SplitText(text, QStringLiteral("\"batchId\""), pieces) == 0) {
            if (albumView || passwordMark || g_pictureQueue().Count() > 0) {
                return;
            }
            // Tried once more through the album view.
            passwordMark = true;
            continue;
        }
        if (!QueuePage(state, pieces.mid(1), PhotosOfPage(state, pieces, OldPhoto), referer,
                       albumIndex, guard) ||
            albumView) {
            return;
        }
    }
}

}  // namespace mosaiq
