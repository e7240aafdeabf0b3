#include "sites/qzone.h"

#include "sites/site_toolkit.h"
#include "web/site_tokens.h"

#include <QFile>

#include <mutex>

namespace mosaiq {
namespace {

// Every host of QQ Zone. The proxied ones stand inside the h5 and user hosts' proxy paths.
namespace host {
const QString kUser = QStringLiteral("http://user.qzone.qq.com");
const QString kUserTls = QStringLiteral("https://user.qzone.qq.com");
const QString kMain = QStringLiteral("https://qzone.qq.com");
const QString kH5 = QStringLiteral("https://h5.qzone.qq.com");
const QString kRoute = QStringLiteral("r.qzone.qq.com");
const QString kMoodList = QStringLiteral("taotao.qq.com");
const QString kStatic = QStringLiteral("https://qzonestyle.gtimg.cn");
const QString kPhotoStore = QStringLiteral("http://r.photo.store.qq.com");
// The route names photo hosts under the short domain; they answer under the long one.
const QString kShortPhotoDomain = QStringLiteral("photo.qq.com");
const QString kPhotoDomain = QStringLiteral("photo.qzone.qq.com");
}  // namespace host

constexpr int kAlbumPageSize = 48;
constexpr int kOldPhotoPageSize = 500;
constexpr int kPhotoPageSize = 400;
constexpr int kMoodPageSize = 20;
constexpr uint8_t kPhotoAttempts = 3;
constexpr uint8_t kRetryDelaySeconds = 5;
constexpr std::chrono::milliseconds kPauseAfterPassword{3000};

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
    return SiteAddress(host::kUser, u"/%s", {account});
}

QString UserHostCookies() {
    return GetSiteCookies(host::kUser + u'/') + u';';
}

// The pauses of the photo and mood lists grow with the pages asked so far.
std::chrono::milliseconds GrowingPause(int pagesRequested) {
    return std::chrono::milliseconds((pagesRequested + 20) * 200);
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

// The route lookup: which servers hold the account. Leaves the route text after the default
// entry's "s" value.
bool LookUpRoute(JobState& state, const QString& account, SiteRequest request, int& idcNum,
                 TextSource& route) {
    const auto text =
        request
            .At(SiteAddress(host::kUserTls, u"/proxy/domain/%s/GetRoute?UIN=%s&type=json&version=2",
                            {host::kRoute, account}))
            .Fetch();
    if (!text) {
        Tell(state, kRouteError);
        return false;
    }
    route = TextSource(*text);
    idcNum = LeadingNumber(TakeBetween(route, u"idcno\":\"", u",", Consume));
    const QString defaultKey = TakeBetween(route, u"default\":\"", u"\"", Consume);
    SkipTo(route, QString(defaultKey + QStringLiteral("\":")), true);
    const QString nu = TakeBetween(route, u"\"nu\":\"", u"\"", Consume);
    const QString list = TakeBetween(route, u"\"p\":\"", u"\"", Consume)
                             .replace(QLatin1String("sznewp"), QLatin1String("alist"))
                             .replace(QLatin1String("xanewp"), QLatin1String("xalist"));
    const QString photo = TakeBetween(route, u"\"s\":\"", u"\"", Consume)
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
    const QString message = TakeBetween(QStringView(text), marker, u"\"");
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

// Hands every album of one list page to the table. False when the list ends here: no album
// on the page, a page seen before, or a stop.
bool ListAlbums(JobState& state, PageWalk& walk, const QString& text, int idcNum,
                const QString& account) {
    QStringList pieces;
    if (SplitText(text, u"\"id\" : \"", pieces) == 0) {
        return false;
    }
    QStringList ids;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        ids.append(TakeBefore(pieces[i], u"\""));
    }
    if (walk.Repeats(ids)) {
        return false;
    }
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        TextSource piece(pieces[i]);
        ST_PERLISTRECORD record;
        record.albumRef =
            SiteAddress({}, u"idcNum=%d&hostUin=%s&albumid=%s", {idcNum, account, ids[i - 1]});
        record.title = TakeBetween(piece, u"\"name\" : \"", u"\"", Consume);
        if (record.title.isEmpty()) {
            continue;
        }
        record.coverUrl = Unslashed(TakeBetween(piece, u"\"pre\" : \"", u"\"", Consume));
        record.accessFlags = AccessFlagsOfPriv(TakeBetween(piece, u"\"priv\" :", u",", Consume));
        record.pictureCount = LeadingNumber(TakeBetween(piece, u"\"total\" :", u",", Consume));
        if (!ListAlbum(state, record)) {
            return false;
        }
    }
    return true;
}

// The account of an album: its "hostUin" (the mood list carries it too), else the job's.
QString AlbumAccount(const JobState& state, const ST_PERLISTRECORD& record) {
    const QString uin = TakeBetween(QStringView(record.albumRef), u"hostUin=", u"&", ToEnd);
    return uin.isEmpty() ? state.m_account : uin;
}

QString Caption(const JobState& state, QStringView piece) {
    const QString name = TakeBetween(piece, u"\"name\" : \"", u"\"").trimmed();
    const QString desc = TakeBetween(piece, u"\"desc\" : \"", u"\"").trimmed();
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
    return Unslashed(TakeBetween(piece, u"\"pre\" : \"", u"\"", Consume))
        .replace(QLatin1String("/a/"), QLatin1String("/b/"));
}

struct Picture {
    QString address;
    QString caption;
};
using Pictures = std::vector<Picture>;

// Queues the pictures of one page unless the page repeats an earlier one; `pageItems` are
// the page's pieces as sent, so a repeated page without any usable picture ends the album
// too. False when the album ends here (a repeat, a stop, or the marker of pictures
// downloaded before).
bool QueuePage(JobState& state, PageWalk& walk, const QStringList& pageItems,
               const Pictures& pictures, const QString& referer, int albumIndex) {
    if (walk.Repeats(pageItems)) {
        return false;
    }
    for (const Picture& p : pictures) {
        if (!QueuePicture(state, p.address, p.caption, referer, albumIndex)) {
            return false;
        }
    }
    return true;
}

bool AsksForPassword(const QString& text, const ST_PERLISTRECORD& record) {
    return text.indexOf(QStringLiteral("\"message\":\"对不起")) >= 1 &&
           (record.accessFlags & kAccessEncrypted) != 0;
}

// The album's own page, where the login window asks for its password.
QString PasswordPage(const QString& albumRef) {
    QString rest = albumRef;
    SkipTo(rest, u"&", true);
    rest.remove(QLatin1String("hostUin="));
    rest.replace(QLatin1String("&albumid="), QLatin1String("/photo/"));
    return host::kUser + u'/' + rest;
}

// Older photo list: one picture of a page.
Picture OldPhoto(const JobState& state, const QString& pieceText) {
    TextSource piece(pieceText);
    const QString rawFlag = TakeBetween(piece, u"\"raw_upload\"", u",");
    QString address = Unslashed(TakeBetween(piece, u"\"raw\" : \"", u"\""));
    if (address.isEmpty()) {
        address = Unslashed(TakeBetween(piece, u"\"origin_url\" : \"", u"\"", Consume));
        if (rawFlag.contains(u'1')) {
            address.replace(QLatin1String("/o/"), QLatin1String("/r/"));
        }
    }
    address.replace(QLatin1String("/psbe?/"), QLatin1String("/psb?/"));
    return {WithFallback(address, FallbackAddress(piece)), Caption(state, pieceText)};
}

// Newer photo list: one picture of a page.
Picture NewPhoto(const JobState& state, const QString& pieceText) {
    TextSource piece(pieceText);
    const QString rawFlag = TakeBetween(piece, u"\"raw_upload\"", u",");
    QString address = state.m_qzoneBigPicture == 0 ? TakeBetween(piece, u"\"raw\" : \"", u"\"")
                                                   : TakeBetween(piece, u"\"url\" : \"", u"\"");
    if (address.isEmpty()) {
        address = TakeBetween(piece, u"\"url\" : \"", u"\"", Consume);
    }
    // Pages escape every slash, the raw address too.
    address = Unslashed(address);
    if (rawFlag.contains(u'1') && !address.isEmpty()) {
        address.replace(QLatin1String("/b/"), QLatin1String("/r/"));
        SkipTo(address, u".com/", true);
        SkipTo(address, u".cn/", true);
        address = host::kPhotoStore + u'/' + address;
    }
    address.replace(QLatin1String("/psbe?/"), QLatin1String("/psb?/"));
    return {WithFallback(address, FallbackAddress(piece)), Caption(state, pieceText)};
}

Pictures PhotosOfPage(const JobState& state, const QStringList& pieces,
                      Picture (*photo)(const JobState&, const QString&)) {
    Pictures pictures;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        Picture p = photo(state, pieces[i]);
        if (!p.address.isEmpty()) {
            pictures.push_back(std::move(p));
        }
    }
    return pictures;
}

Pictures MoodPictures(const QStringList& posts) {
    Pictures pictures;
    for (qsizetype i = 1; i < posts.size(); ++i) {
        TextSource post(posts[i]);
        SkipTo(post, u"conlist\"", true);
        const QString caption = TakeBetween(post, u"\"content\":\"", u"\"", Consume);
        QStringList pieces;
        SplitText(post.view(), u"\"pic_id\"", pieces);
        for (qsizetype j = 1; j < pieces.size(); ++j) {
            const QString address =
                Unslashed(TakeBetween(QStringView(pieces[j]), u"smallurl\":\"", u"\""))
                    .replace(QLatin1String("/a/"), QLatin1String("/b/"));
            if (!address.isEmpty()) {
                pictures.push_back({address, caption});
            }
        }
    }
    return pictures;
}

void FetchMoodPictures(JobState& state, int albumIndex, const ST_PERLISTRECORD& record) {
    SiteRequest request;
    // The mood page sends its referer in lower case.
    request.Header(u"referer", host::kStatic + QStringLiteral("/qzone/app/mood_v6/html/index.html"))
        .Decode(Inflate | AutoUtf8);
    const QString referer = RefererHeader(AccountPage(AlbumAccount(state, record)));
    const QString listInterface = SiteAddress(u"http://", u"%s/cgi-bin/emotion_cgi_msglist_v6",
                                              {AddressValue::Verbatim(host::kMoodList)});
    PageWalk walk(state, WalkOf::Pictures, {.first = 0, .step = kMoodPageSize});
    for (int pages = 1; walk.Next(); ++pages) {
        const uint32_t gtk = GtkFromCookies(UserHostCookies(), true);
        const auto text =
            request
                .At(SiteAddress(
                    {},
                    u"%s&pos=%d&num=20&cgi_host=%s&code_version=1&format=jsonp&"
                    u"need_private_comment=1&g_tk=%d",
                    {AddressValue::Verbatim(record.albumRef), walk.Page(), listInterface, gtk}))
                .Fetch();
        if (!text) {
            return;
        }
        if (text->contains(QLatin1String("\"message\":\"")) &&
            text->contains(QLatin1String("\"code\":-3000"))) {
            Tell(state, kMoodRefused);
            return;
        }
        QStringList posts;
        SplitText(*text, u"\"certified\"", posts);
        // A page of fewer than 20 posts is the last: no pause follows it.
        if (!QueuePage(state, walk, posts.mid(1), MoodPictures(posts), referer, albumIndex) ||
            posts.size() != kMoodPageSize + 1) {
            return;
        }
        walk.SetPause(GrowingPause(pages));
    }
}

}  // namespace

ST_PERLISTRECORD MoodAlbumRecord(const QString& account) {
    ST_PERLISTRECORD record;
    record.title = QStringLiteral("说说里的图片");
    record.albumRef = SiteAddress(host::kUserTls,
                                  u"/proxy/domain/%s/cgi-bin/emotion_cgi_msglist_v6?uin=%s&"
                                  u"inCharset=utf-8&outCharset=utf-8&hostUin=%s&notice=0&sort=0",
                                  {host::kMoodList, account, account});
    record.coverUrl = kMoodMark;
    return record;
}

void FetchQzoneAlbums(JobState& state, const QString& account) {
    SiteRequest request;
    request.Uncompressed().Referer(AccountPage(account));
    int idcNum = 0;
    TextSource route;
    if (!LookUpRoute(state, account,
                     SiteRequest(request).Decode(unsigned(state.m_qzoneV3Encoding) & ~Inflate),
                     idcNum, route)) {
        return;
    }
    request.Decode(Utf8);
    for (PageWalk walk(state, WalkOf::Albums, {.first = 0, .step = kAlbumPageSize}); walk.Next();) {
        const QString cookies = UserHostCookies();
        const auto text =
            request
                .At(SiteAddress(
                    host::kH5,
                    u"/proxy/domain/%s/fcgi-bin/fcg_list_album_v3?g_tk=%d&"
                    u"callback=shine5_Callback&hostUin=%s&uin=%s&appid=4&"
                    u"inCharset=utf-8&outCharset=utf-8&source=qzone&plat=qzone&"
                    u"format=jsonp&notice=0&filter=1&handset=4&pageNumModeSort=40&"
                    u"pageNumModeClass=15&needUserInfo=1&idcNum=%d&mode=2&"
                    u"sortOrder=0&pageStart=%d&pageNum=48&callbackFun=shine5&_=%s",
                    {state.m_jobText1, GtkFromCookies(cookies, true), account,
                     UinFromCookies(cookies, true), idcNum, walk.Page(), CacheBreaker()}))
                .Fetch();
        if (!text || HandleMessage(state, account, *text) ||
            !ListAlbums(state, walk, *text, idcNum, account)) {
            return;
        }
    }
}

void FetchQzoneAlbumsOld(JobState& state, const QString& account) {
    SiteRequest request;
    request.Referer(AccountPage(account));
    int idcNum = 0;
    TextSource route;
    if (!LookUpRoute(state, account, SiteRequest(request).Decode(Inflate), idcNum, route)) {
        return;
    }
    const QString address = SiteAddress(
        u"http://",
        u"%s/fcgi-bin/fcg_list_album_v2?hostUin=%s&format=jsonp&plat=qzone&"
        u"source=qzone&t=%s&g_tk=%d",
        {state.m_jobText1, account, CacheBreaker(), GtkFromCookies(UserHostCookies(), false)});
    const QString photoListHost = TakeBetween(route, u"\"s\":\"", u"\"", Consume)
                                      .replace(QLatin1String("static"), QLatin1String("plist"));
    // The photo list of this interface goes to that host; a route without a usable one keeps
    // the list host.
    if (IsPlainHostName(photoListHost)) {
        state.m_jobText1 = photoListHost;
    }
    const auto text =
        request.At(address).Decode(unsigned(state.m_qzoneV2Encoding) | Inflate).Fetch();
    if (!text || HandleMessage(state, account, *text)) {
        return;
    }
    PageWalk walk(state, WalkOf::Albums);
    ListAlbums(state, walk, *text, idcNum, account);
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
    const QString accountPage = AccountPage(AlbumAccount(state, *record));
    SiteRequest request;
    request.Referer(accountPage)
        .Attempts(kPhotoAttempts, kRetryDelaySeconds)
        .Decode(Inflate | AutoUtf8);
    const QString referer = RefererHeader(accountPage);
    QString topicRef = record->albumRef;
    topicRef.replace(QLatin1String("albumid="), QLatin1String("topicId="));
    // The album's count reached ends the list before the pause (a count of -1 never does).
    const uint32_t count = uint32_t(record->pictureCount);
    const auto countReached = [count] { return uint32_t(g_pictureQueue().Count()) >= count; };
    bool passwordMark = false;
    int requests = 0;
    for (PageWalk walk(state, WalkOf::Pictures,
                       {.first = 0, .step = kPhotoPageSize, .ended = countReached});
         walk.Next();) {
        ++requests;
        const QString cookies = GetSiteCookies(host::kMain + u'/') + u';';
        const auto text =
            request
                .At(SiteAddress(
                    host::kH5,
                    u"/proxy/domain/%s/fcgi-bin/cgi_list_photo?t=%d&mode=0&%s&noTopic=0&uin=%s&"
                    u"pageStart=%d&pageNum=400&skipCmtCount=0&singleurl=1&batchId=&notice=0&"
                    u"appid=4&inCharset=utf-8&outCharset=utf-8&source=qzone&plat=qzone&"
                    u"outstyle=json&format=jsonp&json_esc=1&question=&answer=&"
                    u"callbackFun=shine0&g_tk=%d",
                    {state.m_jobText3, int64_t(ProcessClockMs()) + int64_t(requests) * 1000000,
                     AddressValue::Verbatim(topicRef), UinFromCookies(cookies, true), walk.Page(),
                     GtkFromCookies(cookies, true)}))
                .Fetch();
        if (!text) {
            return;
        }
        if (!passwordMark && AsksForPassword(*text, *record)) {
            passwordMark = true;
            RememberPasswordAsked(record->albumRef);
            if (Ask(state, kPasswordQuestion)) {
                OpenLogin(state, PasswordPage(record->albumRef));
                Pause(kPauseAfterPassword);
                walk.Again();
                continue;
            }
        }
        QStringList pieces;
        if (SplitText(*text, u"\"batchId\"", pieces) == 0 ||
            !QueuePage(state, walk, pieces.mid(1), PhotosOfPage(state, pieces, NewPhoto), referer,
                       albumIndex)) {
            return;
        }
        walk.SetPause(GrowingPause(requests));
    }
}

void FetchQzonePhotosOld(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr || record->coverUrl == kMoodMark) {
        return;
    }
    const QString accountPage = AccountPage(AlbumAccount(state, *record));
    SiteRequest request;
    request.Referer(accountPage).Decode(Inflate | AutoUtf8);
    const QString referer = RefererHeader(accountPage);
    const bool photoListSwitch = QFile::exists(state.m_dataDir + QStringLiteral("Q2.txt"));
    QString topicRef = record->albumRef;
    topicRef.replace(QLatin1String("albumid="), QLatin1String("topicId="));
    QString viewRef = record->albumRef;
    viewRef.replace(QLatin1String("albumid="), QLatin1String("albumId="));
    // Asked already during this visit: go straight to the album view, without asking again.
    bool passwordMark = PasswordAskedFor(record->albumRef);
    for (PageWalk walk(state, WalkOf::Pictures, {.first = 0, .step = kOldPhotoPageSize});
         walk.Next();) {
        const QString cookies = UserHostCookies();
        const uint32_t gtk = GtkFromCookies(cookies, false);
        const QString uin = UinFromCookies(cookies, false);
        const bool albumView = passwordMark || (record->accessFlags != 0 && !photoListSwitch);
        if (albumView) {
            request.At(SiteAddress(
                u"http://",
                u"%s/cgi-bin/common/cgi_view_album_v2?inCharset=gbk&"
                u"outCharset=gbk&format=jsonp&plat=qzone&source=qzone&%s&t=%s&"
                u"g_tk=%d&uin=%s",
                {state.m_jobText2, AddressValue::Verbatim(viewRef), CacheBreaker(), gtk, uin}));
        } else {
            request.At(SiteAddress(
                u"http://",
                u"%s/fcgi-bin/cgi_list_photo?g_tk=%d&callback=shine0_Callback&mode=0&%s&"
                u"noTopic=0&uin=%s&pageStart=%d&pageNum=500&singleurl=1&notice=0&appid=4&"
                u"inCharset=gbk&outCharset=gbk&source=qzone&plat=qzone&outstyle=json&"
                u"format=jsonp&json_esc=1&callbackFun=shine0&_=%s",
                {state.m_jobText1, gtk, AddressValue::Verbatim(topicRef), uin, walk.Page(),
                 CacheBreaker()}));
        }
        const auto text = request.Fetch();
        if (!text) {
            return;
        }
        if (!passwordMark && AsksForPassword(*text, *record) && Ask(state, kPasswordQuestion)) {
            OpenLogin(state, PasswordPage(record->albumRef));
            passwordMark = true;
            continue;
        }
        QStringList pieces;
        if (SplitText(*text, u"\"batchId\"", pieces) == 0) {
            if (albumView || passwordMark || g_pictureQueue().Count() > 0) {
                return;
            }
            // Tried once more through the album view.
            passwordMark = true;
            continue;
        }
        if (!QueuePage(state, walk, pieces.mid(1), PhotosOfPage(state, pieces, OldPhoto), referer,
                       albumIndex) ||
            albumView) {
            return;
        }
    }
}

}  // namespace mosaiq
