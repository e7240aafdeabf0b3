#include "sites/qqgroup.h"

#include "sites/site_toolkit.h"
#include "web/site_tokens.h"

namespace mosaiq {
namespace {

// Every host of QQ group albums. The photo host stands inside the h5 host's proxy path.
namespace host {
const QString kH5 = QStringLiteral("https://h5.qzone.qq.com");
const QString kGroup = QStringLiteral("http://qun.qq.com");
const QString kGroupPhoto = QStringLiteral("u.photo.qzone.qq.com");
}  // namespace host

constexpr int kAlbumPageSize = 36;
constexpr int kPhotoPageSize = 500;
constexpr uint8_t kAttempts = 3;
constexpr uint8_t kRetryDelaySeconds = 5;

const QString kNotLoggedIn = QStringLiteral("message\":\"对不起，您尚未登录");

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
    QString address = TakeBetween(piece, u"\"rawurl\" : \"", u"\"");
    if (address.isEmpty()) {
        address = TakeBetween(piece, u"\"hdurl\" : \"", u"\"");
    }
    if (address.isEmpty()) {
        address = TakeBetween(piece, u"\"burl\" : \"", u"\"");
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
    const QString name = TakeBetween(piece, u"\"name\" : \"", u"\"");
    const QString desc = TakeBetween(piece, u"\"desc\" : \"", u"\"");
    const bool nameFirst = state.m_qzoneOrigName == 1;
    const QString first = (nameFirst ? name : desc).trimmed();
    return first.isEmpty() ? (nameFirst ? desc : name) : first;
}

}  // namespace

void FetchQqGroupAlbums(JobState& state, const QString& group) {
    SiteRequest request;
    request.Referer(SiteAddress(host::kH5, u"/groupphoto/index?inqq=3&groupId=%s", {group}))
        .Attempts(kAttempts, kRetryDelaySeconds);
    const QString cookies = GetSiteCookies(host::kH5 + u'/') + u';';
    const uint32_t gtk = GtkFromCookies(cookies, true);
    state.m_jobText1 = LoggedInUin(cookies);
    const QString token = PageToken();
    for (PageWalk walk(state, WalkOf::Albums, {.first = 0, .step = kAlbumPageSize}); walk.Next();) {
        const auto text =
            request
                .At(SiteAddress(host::kH5,
                                u"/proxy/domain/%s/cgi-bin/upp/"
                                u"qun_list_album_v2?g_tk=%d&qzonetoken=%s&callback=shine7_Callback&"
                                u"t=947098911&qunId=%s&uin=%s&start=%d&num=36&getMemberRole=1&"
                                u"format=jsonp&platform=qzone&inCharset=utf-8&outCharset=utf-8&"
                                u"source=qzone&callbackFun=shine7&_=%s",
                                {host::kGroupPhoto, gtk, token, group, state.m_jobText1,
                                 walk.Page(), CacheBreaker()}))
                .Fetch();
        if (!text || text->indexOf(kNotLoggedIn) >= 1) {
            return;
        }
        QStringList pieces;
        if (SplitText(*text, u"\"coverurl\" : \"", pieces) == 0) {
            return;
        }
        QStringList ids;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            ids.append(TakeBetween(QStringView(pieces[i]), u"\"id\" : \"", u"\""));
        }
        if (walk.Repeats(ids)) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QStringView piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.title = TakeBetween(piece, u"\"title\" : \"", u"\"");
            if (record.title.isEmpty()) {
                continue;
            }
            record.albumRef =
                SiteAddress({}, u"qzonetoken=%s&qunId=%s&albumId=%s&uin=%s&hostUin=%s&g_tk=%d",
                            {token, group, ids[i - 1], state.m_jobText1, state.m_jobText1, gtk});
            record.coverUrl = Unslashed(TakeBefore(piece, u"\""));
            record.createdText =
                TakeBetween(piece, u"createtime\" : \"", u"\"").replace(u':', QStringLiteral("："));
            record.pictureCount = LeadingNumber(TakeBetween(piece, u"\"photocnt\" :", u","));
            if (!ListAlbum(state, record)) {
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
    SiteRequest request;
    request.Referer(host::kGroup + QStringLiteral("/group"))
        .Attempts(kAttempts, kRetryDelaySeconds);
    for (PageWalk walk(state, WalkOf::Pictures, {.first = 0, .step = kPhotoPageSize});
         walk.Next();) {
        const auto text =
            request
                .At(SiteAddress(host::kH5,
                                u"/proxy/domain/%s/cgi-bin/upp/"
                                u"qun_list_photo_v2?callback=shine4_Callback&t=507118553&"
                                u"getCommentCnt=0&getMemberRole=1&getalbum=1&format=jsonp&"
                                u"platform=qzone&inCharset=utf-8&outCharset=utf-8&source=qzone&"
                                u"callbackFun=shine4&%s&_=%s&start=%d&num=500",
                                {host::kGroupPhoto, AddressValue::Verbatim(record->albumRef),
                                 CacheBreaker(), walk.Page()}))
                .Fetch();
        if (!text) {
            return;
        }
        QStringList pieces;
        // Whole pieces, so a page of photos without any address ends the paging too.
        if (SplitText(*text, u"\"bheight\"", pieces) == 0 || walk.Repeats(pieces.mid(1))) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QString address = PhotoAddress(pieces[i]);
            if (!address.isEmpty() &&
                !QueuePicture(state, address, Caption(state, pieces[i]), QString(), albumIndex)) {
                return;
            }
        }
    }
}

}  // namespace mosaiq
