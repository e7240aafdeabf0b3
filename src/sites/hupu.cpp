#include "sites/hupu.h"

#include "sites/site_hosts.h"
#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of Hupu albums.
namespace host {
const QString kPersonal = QStringLiteral("http://my.hupu.com");
}  // namespace host

const QString kMaintenance = QStringLiteral("当前页面正在维护中");
const QString kWrongPassword = QStringLiteral("你输入的密码错误");
const QString kPasswordFirst = QStringLiteral("请先在IE里输入密码后，再下载");

// The user id of a personal-page address: the path step after the Hupu domain.
QString UserId(QString input) {
    SkipTo(input, QString(hosts::kHupuDomain + u'/'), true);
    for (const QStringView marker : {u"/", u"&", u"*", u"?", u"#"}) {
        CutAt(input, marker);
    }
    return input;
}

// An album's path on the personal-page host, without its page suffix: "<user>/photo/a<id>".
// Whole addresses and paths from the root give the same.
QString AlbumPath(QString link) {
    SkipTo(link, u".com/", true);
    while (link.startsWith(u'/')) {
        link.remove(0, 1);
    }
    CutAt(link, u"-");
    CutAt(link, u".htm");
    return link;
}

SiteRequest HupuRequest(const QString& address = QString()) {
    SiteRequest request(address);
    request.Decode(Inflate | AutoUtf8);
    return request;
}

void ListSingleAlbum(JobState& state, const QString& input) {
    const auto text = HupuRequest(input).Fetch();
    if (!text || text->indexOf(kMaintenance) >= 1) {
        return;
    }
    TextSource source(*text);
    SkipTo(source, u"class=\"albumlist", true);
    ST_PERLISTRECORD record;
    record.coverUrl = TakeBetween(source, u"src=\"", u"\"", Consume);
    record.title = TakeBetween(source, u"alt=\"", u"\"", Consume);
    record.albumRef = AlbumPath(input);
    record.pictureCount = LeadingNumber(TakeBetween(source, u">共", u"张", Consume));
    ListAlbum(state, record);
    state.m_account = UserId(input);
}

}  // namespace

void FetchHupuAlbums(JobState& state, const QString& input) {
    if (input.indexOf(u"/photo/a") >= 1) {
        ListSingleAlbum(state, input);
        return;
    }
    const QString userId = UserId(input);
    state.m_account = userId;
    SiteRequest request = HupuRequest();
    for (LinkedPages pages(state, WalkOf::Albums, {u"id=\"j_next"}); pages.Next();) {
        const auto text = pages.Fetch(
            request.At(SiteAddress(host::kPersonal, u"/%s/photo-%d", {userId, pages.Page()})));
        if (!text || text->indexOf(kMaintenance) >= 1) {
            return;
        }
        const QStringList pieces =
            PiecesAfter(Section(*text, u"class=\"album_list", u"</ul>"), u"<li");
        if (pieces.isEmpty()) {
            return;
        }
        const bool more = ListAlbumPieces(state, pieces, [](TextSource& source, auto& album) {
            // A locked album shows its fields after the password call.
            SkipTo(source, u"login_pwd('", true);
            album.albumRef = AlbumPath(TakeBetween(source, u"href=\"", u"\"", Consume));
            album.coverUrl = TakeBetween(source, u"src=\"", u"\"", Consume);
            album.title = TakeBetween(source, u"title=\"", u"\"", Consume);
            if (album.title.isEmpty()) {
                album.title = TakeBetween(source, u">", u"</", Consume);
            }
            album.pictureCount = LeadingNumber(TakeBetween(source, u"(共", u"张", Consume));
        });
        if (!more) {
            return;
        }
    }
}

void FetchHupuPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    SiteRequest request = HupuRequest();
    for (LinkedPages pages(state, WalkOf::Pictures, {u"class=\"next"}); pages.Next();) {
        const auto text = pages.Fetch(
            request.At(SiteAddress(host::kPersonal, u"/%s-%d.html",
                                   {AddressValue::Verbatim(record->albumRef), pages.Page()})));
        if (!text) {
            return;
        }
        if (text->indexOf(kWrongPassword) >= 1) {
            Tell(state, kPasswordFirst);
            return;
        }
        const QStringList pieces =
            PiecesAfter(Section(*text, u"class=\"albumlist_list", u"</ul>"), u"<li");
        if (pieces.isEmpty()) {
            return;
        }
        for (const QString& piece : pieces) {
            TextSource source(piece);
            const QString address =
                TakeBetween(source, u"src=\"", u"\"", Consume)
                    .replace(QStringLiteral("small."), QStringLiteral("big."))
                    .replace(QStringLiteral("https://"), QStringLiteral("http://"));
            const QString description = TakeBetween(source, u"title=\"", u"\"", Consume);
            if (address.isEmpty()) {
                continue;
            }
            if (!QueuePicture(state, address, description, QString(), albumIndex)) {
                return;
            }
        }
    }
}

}  // namespace mosaiq
