#include "sites/netease.h"

#include "core/naming.h"
#include "sites/site_hosts.h"
#include "sites/site_toolkit.h"
#include "web/http_response.h"

namespace mosaiq {
namespace {

// Every host of NetEase photo albums and the "pp" community.
namespace host {
const QString kPhoto = QStringLiteral("http://photo.163.com");
const QString kResource = QStringLiteral("http://b.bst.126.net");
// "%1": the user's host name.
const QString kPpSpace = QStringLiteral("http://%1.pp.163.com");
// "%1": the server number of a picture path (may be empty).
const QString kClassicPicture = QStringLiteral("http://img%1.photo.163.com");
const QString kCurrentPicture = QStringLiteral("http://img%1.ph.126.net");
}  // namespace host

// The album data call: host name, then "number%3A" (or "string%3A" for the fallback) and the
// album id, then one of the two tails.
const QString kDataCall = QStringLiteral(
    "/photo/%s/dwr/call/plaincall/AlbumBean.getAlbumData.dwr?callCount=1&"
    "scriptSessionId=%24%7BscriptSessionId%7D187&c0-scriptName=AlbumBean&"
    "c0-methodName=getAlbumData&c0-id=0&c0-param0=");
const QString kDataCallTail = QStringLiteral(
    "&c0-param1=string%3A&c0-param2=string%3A&c0-param3=number%3A24881696&"
    "c0-param4=boolean%3Afalse&batchId=530377");
// After the verification window: the album is asked for as the blog shows it.
const QString kVerifiedTail = QStringLiteral(
    "&c0-param1=string%3A&c0-param2=string%3Afromblog&c0-param3=string%3A24881696&"
    "c0-param4=boolean%3Afalse&batchId=530377");

const QString kWrongAddress = QStringLiteral("输入网址有误，应该输入相册网址或首页网址");
const QString kNotPublic =
    QStringLiteral("该相册为非公开,如果该相册为私密相册,登录帐号后重新获取相册列表可下载");
const QString kVerifyQuestion =
    QStringLiteral("为非公开相册,是否进行验证？\n\n验证成功后请手动关闭验证框");

// Pages are read in the ANSI code page.
constexpr unsigned kAnsi = Inflate;

bool IsServerLabel(QStringView server) {
    for (const QChar c : server) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-') {
            return false;
        }
    }
    return true;
}

// A raw picture path ("12/photo/..." or "ab/...": server number, then the path) as an
// address. A server that is no host-name label would put the picture on a host of the
// page's choosing: no address then.
QString PictureAddress(JobState& state, const QString& raw) {
    if (raw.isEmpty()) {
        return QString();
    }
    state.m_jobText1 = raw;
    const qsizetype slash = raw.indexOf(u'/');
    const bool hasServer = slash > 0;
    state.m_jobText2 = hasServer ? raw.left(slash) : QString();
    const QString rest = hasServer ? raw.mid(slash) : raw;
    if (!IsServerLabel(state.m_jobText2)) {
        return QString();
    }
    const QString& pattern =
        rest.contains(u"/photo/") ? host::kClassicPicture : host::kCurrentPicture;
    return pattern.arg(state.m_jobText2) + rest;
}

// `prefix` is "number%3A" for the normal call, "string%3A" for the fallback.
QString DataCallAddress(const QString& hostName, QStringView prefix, const QString& albumId,
                        const QString& tail) {
    return SiteAddress(host::kPhoto, kDataCall, {hostName}) + prefix.toString() +
           EncodedValue(albumId) + tail;
}

// The photo list script named by a data call's answer; empty when it names none.
QString ScriptFromDataCall(const QString& answer) {
    const QString script = TakeBetween(QStringView(answer), u",\"", u"\"");
    return script.contains(u".js") ? QStringLiteral("http://") + script : QString();
}

QString DescriptionText(QString text) {
    text.remove(QStringLiteral("\\r"));
    text.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    return text;
}

// Album codes without a script address: what the album is and the cover it shows.
void ApplyAccessCode(ST_PERLISTRECORD& record, const QString& code) {
    if (code == u"2") {
        record.accessFlags |= kAccessPrivate;
    } else if (code == u"4") {
        record.accessFlags |= kAccessFriends;
        if (record.coverUrl.isEmpty()) {
            record.coverUrl = host::kResource + QStringLiteral("/image/default/fwxhy.gif");
        }
    } else if (code == u"8") {
        record.accessFlags |= kAccessEncrypted;
        if (record.coverUrl.isEmpty()) {
            record.coverUrl = host::kResource + QStringLiteral("/image/default/fwxqa.gif");
        }
    } else if (code != u"0") {
        record.accessFlags |= kAccessEncrypted;
        record.coverUrl = host::kResource + QStringLiteral("/photo/image/default/fwxmm.gif");
    }
}

// The list script's address, from the page or else from the user's home page.
QString AlbumListAddress(const JobState& state, const QString& input, TextSource& page) {
    QString address = TakeBetween(page, u"albumUrl : '", u"'", Consume);
    if (!address.isEmpty()) {
        return address;
    }
    const qsizetype pp = input.indexOf(hosts::kNeteasePpDomain);
    const QString home =
        pp > 2 ? host::kPpSpace.arg(EncodedValue(state.m_jobText3)) + QStringLiteral("/album/")
               : SiteAddress(host::kPhoto, u"/%s", {state.m_jobText3});
    const auto homePage = SiteRequest(home).Decode(kAnsi).Fetch();
    return homePage ? TakeBetween(QStringView(*homePage), u"albumUrl : '", u"'") : QString();
}

// The decoded text of a request that answered, even an empty one; nothing when it failed.
std::optional<QString> FetchAnyText(const SiteRequest& request) {
    HttpResponse response;
    if (!request.Exchange(response)) {
        return std::nullopt;
    }
    return DecodeResponseText(response, request.decodeFlags());
}

}  // namespace

void FetchNeteaseAlbums(JobState& state, const QString& address) {
    const auto text = SiteRequest(address).Decode(kAnsi).Fetch();
    if (!text) {
        TellUnreachable(state, address);
        return;
    }
    TextSource page(*text);
    state.m_account = TakeBetween(page.view(), u"photo163HostName:'", u"'");
    if (state.m_account.isEmpty()) {
        state.m_account = TakeBetween(page.view(), u"hostName : '", u"'");
    }
    if (state.m_account.isEmpty()) {
        Tell(state, kWrongAddress);
        return;
    }
    state.m_jobText3 = state.m_account;
    const QString listAddress = AlbumListAddress(state, address, page);
    if (listAddress.isEmpty()) {
        return;
    }
    const auto list = SiteRequest(listAddress).Decode(kAnsi).Fetch();
    if (!list) {
        return;
    }
    QStringList pieces;
    SplitText(*list, u"{id:", pieces);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        // Each album may cost a data call: a stop is honoured between them.
        if (ListStopRequested(state)) {
            return;
        }
        TextSource piece(pieces[i]);
        ST_PERLISTRECORD record;
        record.createdText = pieces[i].left(pieces[i].indexOf(u','));
        record.title = TakeBetween(piece, u"name:'", u"'", Consume);
        record.extraRef = DescriptionText(TakeBetween(piece, u"desc:'", u"'", Consume));
        const QString code = TakeBetween(piece, u"au:", u",", Consume).trimmed();
        record.pictureCount = LeadingNumber(TakeBetween(piece, u"count:", u",", Consume));
        record.coverUrl = PictureAddress(state, TakeBetween(piece, u"curl:'", u"'", Consume));
        record.albumRef = TakeBetween(piece, u"purl:'", u"'", Consume);
        if (record.pictureCount == 0) {
            record.coverUrl = host::kResource + QStringLiteral("/image/default/none160.gif");
        }
        if (record.albumRef.isEmpty()) {
            ApplyAccessCode(record, code);
            if (code == u"8") {
                record.albumRef = record.createdText;
            } else {
                const auto answer = SiteRequest(DataCallAddress(state.m_jobText3, u"number%3A",
                                                                record.createdText, kDataCallTail))
                                        .Fetch();
                if (!answer) {
                    continue;
                }
                record.albumRef = TakeBetween(QStringView(*answer), u"',\"", u"\");");
                if (record.albumRef.isEmpty()) {
                    record.albumRef = record.createdText;
                }
            }
        }
        if (!ListAlbum(state, record)) {
            return;
        }
    }
}

void FetchNeteasePhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* found = state.m_records.At(albumIndex);
    if (found == nullptr) {
        return;
    }
    const ST_PERLISTRECORD album = *found;
    if (album.albumRef.isEmpty()) {
        Tell(state, kNotPublic);
        return;
    }
    QString script;
    if (album.albumRef.size() < 20) {
        // Known by its id only: the album opens after the owner's question is answered.
        if (!Ask(state, kVerifyQuestion)) {
            return;
        }
        OpenLogin(state, SiteAddress(host::kPhoto, u"/%s/list/#aid=%s&m=1&p=1",
                                     {state.m_jobText3, album.albumRef}));
        const auto answer = SiteRequest(DataCallAddress(state.m_jobText3, u"number%3A",
                                                        album.albumRef, kVerifiedTail))
                                .Decode(kAnsi)
                                .Fetch();
        if (!answer) {
            return;
        }
        script = ScriptFromDataCall(*answer);
        if (script.isEmpty()) {
            return;
        }
    } else {
        script = QStringLiteral("http://") + album.albumRef;
    }
    auto text = FetchAnyText(SiteRequest(script).Decode(kAnsi));
    if (!text) {
        return;
    }
    if (text->size() < 10) {
        const auto answer = SiteRequest(DataCallAddress(state.m_jobText3, u"string%3A",
                                                        album.createdText, kDataCallTail))
                                .Decode(kAnsi)
                                .Fetch();
        if (!answer) {
            return;
        }
        script = ScriptFromDataCall(*answer);
        if (script.isEmpty()) {
            return;
        }
        text = SiteRequest(script).Decode(kAnsi).Fetch();
        if (!text) {
            return;
        }
    }
    QStringList pieces;
    SplitText(*text, u"{id:", pieces);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        TextSource piece(pieces[i]);
        QString raw = TakeBetween(piece, u"ourl:'", u"'", Consume);
        for (const QStringView marker : {u"murl:'", u"surl:'"}) {
            if (raw.isEmpty()) {
                raw = TakeBetween(piece, marker, u"'", Consume);
            }
        }
        if (raw.isEmpty()) {
            continue;
        }
        QString description = TakeBetween(piece, u"desc:'", u"'", Consume);
        if (description.isEmpty()) {
            description = album.title;
        }
        const QString address = PictureAddress(state, raw);
        if (address.isEmpty()) {
            continue;
        }
        if (!QueuePicture(state, address, description, QString(), albumIndex)) {
            return;
        }
    }
}

void FetchNeteasePpAlbums(JobState& state, const QString& address) {
    const auto text = SiteRequest(address).Decode(kAnsi).Fetch();
    if (!text) {
        TellUnreachable(state, address);
        return;
    }
    TextSource page(*text);
    state.m_account = TakeBetween(page, u"nickName : '", u"'", Consume);
    SanitizeName(state.m_account, kTimeStampFallback, true);
    QStringList pieces;
    SplitText(page.view(), u"<li class=\"w-cover", pieces);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        TextSource piece(pieces[i]);
        ST_PERLISTRECORD record;
        record.albumRef = TakeBetween(piece, u"href=\"", u"\"", Consume);
        if (record.albumRef.isEmpty()) {
            continue;
        }
        record.title = TakeBetween(piece, u"title=\"", u"\"", Consume);
        record.coverUrl = TakeBetween(piece, u"src=\"", u"\"", Consume);
        SkipTo(piece, u"<em>", true);
        record.pictureCount = LeadingNumber(TakeBetween(piece, u"~ [", u"张", Consume));
        if (!ListAlbum(state, record)) {
            return;
        }
    }
}

void FetchNeteasePpPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* found = state.m_records.At(albumIndex);
    if (found == nullptr) {
        return;
    }
    const ST_PERLISTRECORD album = *found;
    // Only the picture list script of the page is kept.
    const auto text = SiteRequest(album.albumRef)
                          .Decode(kAnsi)
                          .StartMarker("window.picList")
                          .EndMarker("photoidsList")
                          .Fetch();
    if (!text) {
        return;
    }
    QStringList pieces;
    SplitText(*text, u",url:'", pieces);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const QString address = TakeBefore(pieces[i], u"'");
        if (address.isEmpty()) {
            continue;
        }
        QString description = TakeBetween(QStringView(pieces[i]), u",picDesc:'", u"'");
        if (description.isEmpty()) {
            description = album.title;
        }
        if (!QueuePicture(state, address, description, QString(), albumIndex)) {
            return;
        }
    }
}

}  // namespace mosaiq
