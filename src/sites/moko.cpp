#include "sites/moko.h"

#include "sites/site_hosts.h"
#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of moko; the user's post-list address typed as a name is built on the same.
namespace host {
const QString kWeb = hosts::kMokoHost;
}  // namespace host

const QString kUserPageEnd = QStringLiteral("<div class=\"sBox");

// The address cut before its last "/": the base of the numbered list pages.
QString ListBase(QString address) {
    const qsizetype slash = address.lastIndexOf(u'/');
    return slash >= 0 ? address.left(slash) : address;
}

// The post lists of the user page (one per category), read up to its side box.
QStringList UserListBases(JobState& state, const QString& userPage) {
    const auto text = SiteRequest(userPage).EndMarker(kUserPageEnd.toUtf8()).Fetch();
    if (!text) {
        return {};
    }
    TextSource page(*text);
    SkipTo(page, u"imgUserLogo", true);
    state.m_account = PageAccountName(TakeBetween(page, u"title=\"", u"'s", Consume));
    // Without the menu every link of the page would pass for a post list.
    if (SkipTo(page, u"class=\"mwC\"", true) < 0) {
        return {};
    }
    QStringList bases;
    for (const QString& piece : PiecesAfter(Section(page.view(), {}, kUserPageEnd), u"href=\"")) {
        QString link = piece;
        CutAt(link, u"\"");
        bases.append(ListBase(PageLink(host::kWeb, link)));
    }
    return bases;
}

// The albums of one list page, in its two layouts. False when the job was stopped.
bool ListPageAlbums(JobState& state, const QString& text) {
    const bool shows = text.indexOf(u"class=\"show") >= 1;
    const QStringList pieces = PiecesAfter(text, shows ? u"class=\"show" : u"class=\"twShow");
    return ListAlbumPieces(state, pieces, [shows](TextSource& source, auto& album) {
        if (shows) {
            album.pictureCount = LeadingNumber(TakeBetween(source, u"mC\">", u"</", Consume));
            album.title = TakeBetween(source, u"title=\"", u"\"", Consume);
            album.albumRef = TakeBetween(source, u"href=\"", u"\"", Consume);
        } else {
            album.pictureCount = LeadingNumber(TakeBetween(source, u"/>(", u")", Consume));
            album.albumRef = TakeBetween(source, u"href=\"", u"\"", Consume);
            album.title = TakeBetween(source, u"title=\"", u"\"", Consume);
        }
        album.coverUrl = TakeBetween(source, u"src2=\"", u"\"", Consume);
    });
}

}  // namespace

void FetchMokoAlbums(JobState& state, const QString& input) {
    const QStringList bases = input.contains(u"/category/") || input.contains(u"/new/")
                                  ? QStringList{ListBase(input)}
                                  : UserListBases(state, input);
    SiteRequest request;
    for (qsizetype b = 0; b < bases.size(); ++b) {
        for (LinkedPages pages(state, WalkOf::Albums,
                               {u"class=\"b bC\">&gt;</a>", u"class=\"b bC\">></a>"});
             pages.Next();) {
            const auto text =
                pages.Fetch(request.At(SiteAddress(bases[b], u"/%d.html", {pages.Page()})));
            if (!text) {
                break;
            }
            if (b == 0 && pages.IsFirst() && state.m_account.isEmpty()) {
                state.m_account =
                    PageAccountName(TakeBetween(QStringView(*text), u"<title>", u"'s"));
            }
            if (!ListPageAlbums(state, *text)) {
                return;
            }
        }
        if (ListStopRequested(state)) {
            return;
        }
    }
}

void FetchMokoPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const auto text = SiteRequest(PageLink(host::kWeb, record->albumRef)).Decode(Inflate).Fetch();
    if (!text) {
        return;
    }
    for (const QString& piece : PiecesAfter(*text, u"class=\"picBox\">")) {
        const QString address = TakeBetween(QStringView(piece), u"src2=\"", u"\"");
        if (address.isEmpty()) {
            continue;
        }
        if (!QueuePicture(state, address, record->title, QString(), albumIndex)) {
            return;
        }
    }
}

}  // namespace mosaiq
