#include "sites/site56.h"

#include "sites/site_hosts.h"
#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of 56 photo albums.
namespace host {
const QString kPhoto = hosts::k56Host;
}  // namespace host

// Pieces without an album id: the same album on two pages means the server ignores the page.
}  // namespace

void Fetch56Albums(JobState& state, const QString& indexAddress) {
    SiteRequest request;
    for (PageWalk walk(state, WalkOf::Albums); walk.Next();) {
        auto text = request
                        .At(SiteAddress({}, u"%s&page=%d",
                                        {AddressValue::Verbatim(indexAddress), walk.Page()}))
                        .Fetch();
        if (!text) {
            return;
        }
        const bool lastPage = !text->contains(u"下一页</a>");
        SkipTo(*text, u"class=\"album_list", true);
        CutAt(*text, u"</ul>");
        QStringList pieces;
        SplitText(*text, u"<li", pieces);
        if (walk.Repeats(ItemKeys(pieces, u"chackAlbum('", u"'"))) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.albumRef = TakeBetween(piece, u"chackAlbum('", u"'", Consume);
            record.coverUrl = TakeBetween(piece, u"src=\"", u"\"", Consume);
            record.title = TakeBetween(piece, u"title=\"", u"\"", Consume);
            if (record.title.isEmpty()) {
                continue;
            }
            record.pictureCount = LeadingNumber(TakeBetween(piece, u"140\">", u"<", Consume));
            if (!ListAlbum(state, record)) {
                return;
            }
        }
        if (lastPage) {
            return;
        }
    }
}

void Fetch56Photos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    SiteRequest request;
    for (PageWalk walk(state, WalkOf::Pictures); walk.Next();) {
        const QString page = SiteAddress(host::kPhoto, u"/photo/album/?do=Plist&did=%s&page=%d",
                                         {record->albumRef, walk.Page()});
        const auto text = request.At(page).Fetch();
        if (!text) {
            return;
        }
        const bool lastPage = !text->contains(u"\">下一页</a>");
        const QString referer = RefererHeader(page);
        QStringList pieces;
        if (SplitText(*text, u"class=\"img\"", pieces) == 0) {
            return;
        }
        if (walk.Repeats(ItemKeys(pieces, u"src='", u"'"))) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            TextSource piece(pieces[i]);
            const QString address = TakeBetween(piece, u"src='", u"'", Consume);
            // "http:" alone would be queued for a picture without an address.
            if (address.isEmpty()) {
                continue;
            }
            QString description =
                StripTags(TakeBetween(piece.view(), u"<label>", u"</label>")).trimmed();
            if (description.isEmpty()) {
                description = record->title;
            }
            if (!QueuePicture(state, address, description, referer, albumIndex)) {
                return;
            }
        }
        if (lastPage) {
            return;
        }
    }
}

}  // namespace mosaiq
