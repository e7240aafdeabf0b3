#include "sites/baidu.h"

#include "sites/site_toolkit.h"

namespace mosaiq {
namespace {

// Every host of Baidu albums and Tieba.
namespace host {
const QString kAlbums = QStringLiteral("https://xiangce.baidu.com");
const QString kTieba = QStringLiteral("https://tieba.baidu.com");
const QString kTiebaPictures = QStringLiteral("https://imgsrc.baidu.com");
}  // namespace host

const QString kVerifyQuestion =
    QStringLiteral("为非公开相册,是否进行验证？\n\n验证成功后请手动关闭验证框");

QString TiebaPictureAddress(const QString& pictureId) {
    return SiteAddress(host::kTiebaPictures, u"/forum/pic/item/%s.jpg", {pictureId});
}

QString OrTitle(const QString& name, const ST_PERLISTRECORD& record) {
    return name.isEmpty() ? record.title : name;
}

// The albums embedded in the user's page, in either quoting style once the JSON one is
// rewritten into the script one.
bool ListEmbeddedAlbums(JobState& state, QString page) {
    SkipTo(page, u"mobileAlbum:", true);
    CutAt(page, u"userAlbumList");
    page.replace(QStringLiteral("\":\""), QStringLiteral(": '"));
    page.replace(QStringLiteral("\",\""), QStringLiteral("',"));
    QStringList pieces;
    SplitText(page, u"create_time:", pieces);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QString& piece = pieces[i];
        ST_PERLISTRECORD record;
        record.title = TakeBetween(piece, u"album_name: '", u"'", Consume);
        if (record.title.contains(u"\\u")) {
            record.title = UnescapeUnicode(record.title);
        }
        record.albumRef = Unslashed(TakeBetween(piece, u"album_sign: '", u"'", Consume));
        if (record.albumRef.isEmpty()) {
            continue;
        }
        record.pictureCount =
            LeadingNumber(TakeBetween(piece, u"album_picture_total: '", u"'", Consume));
        record.coverUrl = Unslashed(TakeBetween(piece, u"picture_cover: '", u"'", Consume));
        if (!ListAlbum(state, record)) {
            return false;
        }
    }
    return true;
}

}  // namespace

void FetchBaiduAlbums(JobState& state, const QString& user) {
    const auto page = SiteRequest(SiteAddress(host::kAlbums, u"/u/%s", {user}))
                          .EndMarker("id=\"feedback\"")
                          .Fetch();
    if (!page) {
        return;
    }
    state.m_account = user;
    if (!ListEmbeddedAlbums(state, *page)) {
        return;
    }
    QString lastSign;
    for (PageWalk walk(state, WalkOf::Albums); walk.Next();) {
        const auto text =
            SiteRequest(SiteAddress(host::kAlbums,
                                    u"/album/list/%s?size=2000&album_type=0&album_sign=%s&_=%s",
                                    {user, lastSign, CacheBreaker()}))
                .Fetch();
        if (!text) {
            return;
        }
        QStringList pieces;
        if (SplitText(*text, u"\"picture_cover", pieces) == 0) {
            return;
        }
        QStringList signs;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            QString& piece = pieces[i];
            ST_PERLISTRECORD record;
            record.coverUrl = Unslashed(TakeBetween(piece, u":\"", u"\"", Consume));
            record.title = UnescapeUnicode(TakeBetween(piece, u"album_name\":\"", u"\"", Consume));
            record.albumRef = Unslashed(TakeBetween(piece, u"album_sign\":\"", u"\"", Consume));
            if (record.albumRef.isEmpty()) {
                continue;
            }
            record.pictureCount =
                LeadingNumber(TakeBetween(piece, u"picture_total\":", u"\"", Consume));
            signs.append(record.albumRef);
            if (!ListAlbum(state, record)) {
                return;
            }
            lastSign = record.albumRef;
        }
        // A page without a new album would be asked for again with the same sign.
        if (signs.isEmpty() || walk.Repeats(signs)) {
            return;
        }
    }
}

void FetchBaiduPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    int offset = 0;
    bool verificationOffered = false;
    for (PageWalk walk(state, WalkOf::Pictures); walk.Next();) {
        const auto text = SiteRequest(SiteAddress(host::kAlbums,
                                                  u"/picture/album/list/%s?format=json&size=100&"
                                                  u"pn=%d&width=80&t=%s&resolution=1280",
                                                  {record->albumRef, offset, CacheBreaker()}))
                              .Fetch();
        if (!text) {
            return;
        }
        QStringList pieces;
        const int found = SplitText(*text, u"picture_name", pieces);
        if (found == 0) {
            // An album that has pictures but shows none is not public: the owner's friends
            // may pass the site's verification.
            if (record->pictureCount == 0 || offset != 0 || verificationOffered ||
                !Ask(state, kVerifyQuestion)) {
                return;
            }
            verificationOffered = true;
            OpenLogin(state,
                      SiteAddress(host::kAlbums, u"/picture/album/list/%s", {record->albumRef}));
            walk.Again();
            continue;
        }
        offset += found;
        QStringList addresses;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            QString& piece = pieces[i];
            const QString name = UnescapeUnicode(TakeBetween(piece, u"\":\"", u"\"", Consume));
            const QString thumbnail =
                Unslashed(TakeBetween(piece, u"img_src\":\"", u"\"", Consume));
            if (thumbnail.isEmpty()) {
                continue;
            }
            QString large = thumbnail;
            CutAt(large, u"album");
            large += QStringLiteral("album/pic/item") + thumbnail.mid(thumbnail.lastIndexOf(u'/'));
            addresses.append(large);
            if (!QueuePicture(state, large, OrTitle(name, *record), QString(), albumIndex)) {
                return;
            }
        }
        if (walk.Repeats(addresses)) {
            return;
        }
    }
}

void FetchTiebaForumAlbums(JobState& state, const QString& keyword) {
    for (PageWalk walk(state, WalkOf::Albums, {.first = 1}); walk.Next();) {
        const auto text =
            SiteRequest(SiteAddress(host::kTieba,
                                    u"/photo/g?kw=%s&alt=jview&pn=%d&rn=30&cat_id=all&_=%s",
                                    {keyword, walk.Page(), CacheBreaker()}))
                .Fetch();
        if (!text) {
            return;
        }
        // The markup arrives inside a JSON string: its quotes are escaped.
        QStringList pieces;
        if (SplitText(*text, u"class=\\\"grbm_ele_wrapper", pieces) == 0) {
            return;
        }
        QStringList threads;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            QString& piece = pieces[i];
            ST_PERLISTRECORD record;
            record.albumRef = Unslashed(TakeBetween(piece, u"href=\\\"", u"\\\"", Consume));
            SkipTo(record.albumRef, u"p/", true);
            if (record.albumRef.isEmpty()) {
                continue;
            }
            record.coverUrl = Unslashed(TakeBetween(piece, u"src=\\\"", u"\\\"", Consume));
            SkipTo(piece, u"grbm_ele_pic_amount", true);
            record.pictureCount = LeadingNumber(TakeBetween(piece, u">", u"<", Consume));
            record.title = UnescapeUnicode(TakeBetween(piece, u"title=\\\"", u"\\\"", Consume));
            threads.append(record.albumRef);
            if (!ListAlbum(state, record)) {
                return;
            }
        }
        if (walk.Repeats(threads)) {
            return;
        }
    }
}

void FetchTiebaForumPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    for (PageWalk walk(state, WalkOf::Pictures, {.first = 1}); walk.Next();) {
        const auto text =
            SiteRequest(SiteAddress(host::kTieba,
                                    u"/photo/g/bw/picture/list?kw=%s&alt=jview&rn=200&tid=%s&"
                                    u"pn=%d&ps=%d&pe=%d&wall_type=v&_=%s",
                                    {state.m_jobText1, record->albumRef, walk.Page(), 0, 200,
                                     CacheBreaker()}))
                .Fetch();
        if (!text) {
            return;
        }
        QStringList pieces;
        if (SplitText(*text, u"pic_id\"", pieces) == 0) {
            return;
        }
        QStringList ids;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            QString& piece = pieces[i];
            const QString id = TakeBetween(piece, u"\"", u"\"", Consume);
            if (id.isEmpty()) {
                continue;
            }
            ids.append(id);
            const QString name = UnescapeUnicode(TakeBetween(piece, u"descr\":\"", u"\"", Consume));
            if (!QueuePicture(state, TiebaPictureAddress(id), OrTitle(name, *record), QString(),
                              albumIndex)) {
                return;
            }
        }
        if (walk.Repeats(ids)) {
            return;
        }
    }
}

void FetchTiebaThreadAlbum(JobState& state, const QString& photoPage) {
    // The thread page is GBK.
    const SiteRequest request = SiteRequest(photoPage).Decode(Inflate);
    HttpResponse response;
    if (!request.Exchange(response)) {
        return;
    }
    ST_PERLISTRECORD record;
    record.title = TakeBetween(QStringView(DecodeResponseText(response, request.decodeFlags())),
                               u"title' : '", u"'");
    record.albumRef = photoPage;
    ListAlbum(state, record);
}

void FetchTiebaThreadPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    QString lastId;
    for (PageWalk walk(state, WalkOf::Pictures); walk.Next();) {
        QString address =
            SiteAddress({},
                        u"%s&see_lz=1&from_page=0&alt=jview&next=50&prev=1&"
                        u"pic_id=%s&_=%s",
                        {AddressValue::Verbatim(record->albumRef), lastId, CacheBreaker()});
        address.replace(QStringLiteral("/photo/p"), QStringLiteral("/photo/bw/picture/guide"));
        auto text = SiteRequest(address).Fetch();
        if (!text) {
            return;
        }
        // The page starts again with the last picture seen (prev=1).
        if (!lastId.isEmpty()) {
            SkipTo(*text, lastId, true);
        }
        QStringList pieces;
        if (SplitText(*text, u"\"img\":", pieces) == 0) {
            return;
        }
        QStringList ids;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            QString& piece = pieces[i];
            const QString id = TakeBetween(piece, u"id\":\"", u"\"", Consume);
            lastId = id;
            ids.append(id);
            QString picture = Unslashed(TakeBetween(piece, u"waterurl\":\"", u"\"", Consume));
            if (picture.isEmpty()) {
                if (id.isEmpty()) {
                    continue;
                }
                picture = TiebaPictureAddress(id);
            }
            const QString name = UnescapeUnicode(TakeBetween(piece, u"descr\":\"", u"\"", Consume));
            if (!QueuePicture(state, picture, OrTitle(name, *record), QString(), albumIndex)) {
                return;
            }
        }
        // A server that ignores the last id answers the same pictures for ever.
        if (walk.Repeats(ids)) {
            return;
        }
    }
}

}  // namespace mosaiq
