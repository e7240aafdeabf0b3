#include "sites/sina.h"

#include "core/naming.h"
#include "sites/site_toolkit.h"
#include "web/site_tokens.h"

#include <chrono>

namespace mosaiq {
namespace {

using namespace std::chrono_literals;

// Every host of the Sina blog and Sina Weibo.
namespace host {
const QString kPhotoBlog = QStringLiteral("http://photo.blog.sina.com.cn");
const QString kWeiboPhotos = QStringLiteral("https://photo.weibo.com");
const QString kWeiboSite = QStringLiteral("https://weibo.com/");
}  // namespace host

const QString kNextPageLink = QStringLiteral("\">下一页");
constexpr int kBlogPageFailures = 3;  // failed requests of one page tried again
constexpr int kWeiboPageSize = 32;

// The blog owner's name: the page title without its "_新浪博客" tail.
QString BlogOwner(QString& page) {
    QString owner = StripTags(TakeBetween(page, u"<title>", u"</", Consume));
    CutAt(owner, u"_新浪");
    return owner;
}

// The Weibo pages answer a logged-in visitor only; the login window leaves its cookies on
// the Weibo site.
SiteRequest WeiboRequest(const QString& address) {
    SiteRequest request(address);
    const QString cookies = GetSiteCookies(host::kWeiboSite);
    if (!cookies.isEmpty()) {
        request.Header(u"Cookie", cookies);
    }
    return request;
}

// The user's id and nick name, in whichever form the user page carries them.
void ReadWeiboUser(QString& page, QString& id, QString& nick) {
    for (const auto& [idMarker, nickMarker] :
         {std::pair{u"['oid'] = '", u"['onick'] = '"}, std::pair{u"['oid']='", u"['onick']='"}}) {
        if (page.indexOf(QStringView(idMarker)) >= 1) {
            id = TakeBetween(page, idMarker, u"'", Consume);
            nick = TakeBetween(page, nickMarker, u"'", Consume);
            return;
        }
    }
    // A quoted id is the same number.
    id = TakeBetween(page, u"\"id\":", u",", Consume).trimmed().remove(u'"');
    nick = TakeBetween(page, u"\"name\":\"", u"\"", Consume);
}

}  // namespace

void FetchSinaBlogAlbums(JobState& state, const QString& blogAddress) {
    auto page = SiteRequest(blogAddress).Fetch();
    if (!page) {
        return;
    }
    state.m_account = BlogOwner(*page);
    state.m_jobText1 = TakeBetween(*page, u"articlelist_", u"_", Consume);
    // Without the user id there is no category list to ask for.
    if (state.m_jobText1.isEmpty()) {
        return;
    }
    const auto text =
        SiteRequest(SiteAddress(host::kPhotoBlog, u"/services/ctg_list_ctg.php?format=gsonv&uid=%s",
                                {state.m_jobText1}))
            .Fetch();
    if (!text) {
        return;
    }
    QStringList pieces;
    SplitText(*text, u"\"category\":\"", pieces);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QString& piece = pieces[i];
        ST_PERLISTRECORD record;
        record.title = UnescapeUnicode(TakeBefore(piece, u"\","));
        if (record.title.isEmpty()) {
            continue;
        }
        record.pictureCount = LeadingNumber(TakeBetween(piece, u"pic_cnt\":\"", u"\"", Consume));
        record.albumRef = Unslashed(TakeBetween(piece, u"ctg_url\":\"", u"\"", Consume));
        record.coverUrl = Unslashed(TakeBetween(piece, u"big_url\":\"", u"\"", Consume));
        if (!ListAlbum(state, record)) {
            return;
        }
    }
}

void FetchSinaBlogAlbumPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    int failures = 0;
    // The pause keeps the request rate low; a failed page is asked for again after its own.
    for (PageWalk walk(state, WalkOf::Pictures, {.first = 1, .pause = 2000ms}); walk.Next();) {
        const QString address =
            SiteAddress({}, u"%s/page%d", {AddressValue::Verbatim(record->albumRef), walk.Page()});
        const SiteRequest request = SiteRequest(address).Referer(address);
        HttpResponse response;
        if (!request.Exchange(response)) {
            if (++failures > kBlogPageFailures) {
                return;
            }
            Pause(4000ms);
            walk.Again();
            continue;
        }
        failures = 0;
        const QString text = DecodeResponseText(response, request.decodeFlags());
        if (text.isEmpty()) {
            return;
        }
        const bool lastPage = !text.contains(kNextPageLink);
        QStringList pieces;
        SplitText(text, u"class=\"pt_border\"", pieces);
        QStringList addresses;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            QString& piece = pieces[i];
            QString picture = TakeBetween(piece, u"src=\"", u"\"", Consume);
            if (picture.isEmpty()) {
                continue;
            }
            picture.replace(QStringLiteral("/small/"), QStringLiteral("/orignal/"));
            picture.remove(QStringLiteral("amp"));
            const QString name = TakeBetween(piece, u"title=\"", u"\"", Consume);
            addresses.append(picture);
            if (!QueuePicture(state, picture, name, QString(), albumIndex)) {
                return;
            }
        }
        // A site that answers every page number with the same pictures never ends by itself.
        if (lastPage || walk.Repeats(addresses)) {
            return;
        }
    }
}

void FetchSinaBlogArticles(JobState& state, const QString& listAddress) {
    QString separator = QStringLiteral("class=\"atc_title\">");
    for (PageWalk walk(state, WalkOf::Albums, {.first = 1}); walk.Next();) {
        auto text = SiteRequest(SiteAddress({}, u"%s_%d.html",
                                            {AddressValue::Verbatim(listAddress), walk.Page()}))
                        .Fetch();
        if (!text) {
            return;
        }
        const bool lastPage = !text->contains(kNextPageLink);
        QStringList pieces;
        if (walk.Index() == 0) {
            state.m_account = BlogOwner(*text);
            // The other page layout marks its articles otherwise; its later pages do too.
            if (SplitText(*text, separator, pieces) == 0) {
                separator = QStringLiteral("class=\"SG_j_linedot");
                SplitText(*text, separator, pieces);
            }
        } else {
            SplitText(*text, separator, pieces);
        }
        QStringList articles;
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QStringView piece(pieces[i]);
            ST_PERLISTRECORD record;
            record.title = TakeBetween(piece, u"title=\"", u"\"");
            record.albumRef = TakeBetween(piece, u"href=\"", u"\"");
            // The link text, when the other layout leaves the link's tag in front of it.
            if (record.title.isEmpty()) {
                record.title = StripTags(TakeBetween(piece, u">", u"</")).trimmed();
            }
            // An article without its address could not be downloaded.
            if (record.title.isEmpty() || record.albumRef.isEmpty()) {
                continue;
            }
            articles.append(record.albumRef);
            if (!ListAlbum(state, record)) {
                return;
            }
        }
        if (lastPage || walk.Repeats(articles)) {
            return;
        }
    }
}

void FetchSinaBlogArticlePhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    auto text = SiteRequest(record->albumRef).EndMarker("class=\"shareUp\">").Fetch();
    if (!text) {
        return;
    }
    // The article's own title names its picture; the album keeps the title it was listed
    // with, so two articles of one title never share a folder.
    QString title = TakeBetween(*text, u"class=\"titName", u"</", Consume);
    SkipTo(title, u">", true);
    SanitizeName(title, 0, false);
    if (title.isEmpty()) {
        title = record->title;
    }
    SkipTo(*text, u"class=\"articalContent", true);
    QString separator = QStringLiteral("&url=");
    if (CountOccurrences(*text, separator) != CountOccurrences(*text, u"real_src =\"")) {
        separator = QStringLiteral("real_src =\"");
    }
    QStringList pieces;
    if (SplitText(*text, separator, pieces) == 0) {
        return;
    }
    QString picture = pieces[1];
    CutAt(picture, u"\"");
    if (picture.trimmed().isEmpty()) {
        return;
    }
    for (const QString& size :
         {QStringLiteral("/middle/"), QStringLiteral("/bmiddle/"), QStringLiteral("/mw690/")}) {
        picture.replace(size, QStringLiteral("/orignal/"));
    }
    QueuePicture(state, picture, title, QString(), albumIndex);
}

void FetchSinaWeiboAlbums(JobState& state, const QString& userAddress) {
    auto page = WeiboRequest(userAddress).Fetch();
    if (!page) {
        return;
    }
    QString nick;
    ReadWeiboUser(*page, state.m_jobText1, nick);
    SanitizeName(nick, kTimeStampFallback, true);
    state.m_account = nick;
    if (state.m_jobText1.isEmpty()) {
        return;
    }
    const auto text =
        WeiboRequest(SiteAddress(host::kWeiboPhotos, u"/albums/get_all?uid=%s&count=65535",
                                 {state.m_jobText1}))
            .Fetch();
    if (!text) {
        return;
    }
    QStringList pieces;
    SplitText(*text, u"\"album_id\":\"", pieces);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QString& piece = pieces[i];
        const QString key = TakeBefore(piece, u"\",");
        if (key.isEmpty()) {
            continue;
        }
        state.m_jobText2 = key;
        const QString type = TakeBetween(piece, u"type\":", u",", Consume);
        ST_PERLISTRECORD record;
        record.albumRef = SiteAddress(host::kWeiboPhotos,
                                      u"/photos/get_all?uid=%s&album_id=%s&count=32&type=%s&page=",
                                      {state.m_jobText1, key, type});
        record.title = UnescapeUnicode(TakeBetween(piece, u"\"caption\":\"", u"\"", Consume));
        record.coverUrl = Unslashed(TakeBetween(piece, u"cover_pic\":\"", u"\"", Consume));
        record.pictureCount = LeadingNumber(TakeBetween(piece, u"\"photos\":", u",", Consume));
        if (!ListAlbum(state, record)) {
            return;
        }
    }
}

void FetchSinaWeiboPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    // A count of 0, or none (-1), bounds the paging at once.
    const int lastPage =
        int((uint32_t(record->pictureCount) + kWeiboPageSize - 1) / uint32_t(kWeiboPageSize));
    SiteRequest request;
    request
        .Referer(SiteAddress(host::kWeiboPhotos, u"/%s/talbum/index?from=profile_wb",
                             {state.m_jobText1}))
        .Attempts(3, 4);
    bool retried = false;
    for (PageWalk walk(state, WalkOf::Pictures, {.first = 1}); walk.Next();) {
        const auto text = request
                              .At(SiteAddress({}, u"%s%d&_rnd=%s",
                                              {AddressValue::Verbatim(record->albumRef),
                                               walk.Page(), CacheBreaker()}))
                              .Fetch();
        if (!text) {
            return;
        }
        QStringList pieces;
        // The first entry is the album itself; its photos follow.
        if (SplitText(*text, u"album_id\":", pieces) < 2) {
            if (walk.Page() >= lastPage) {
                return;
            }
            // The site answers an empty page now and then: once more, then the next one.
            if (!retried) {
                retried = true;
                Pause(3000ms);
                walk.Again();
            } else {
                retried = false;
                Pause(1500ms);
            }
            continue;
        }
        QStringList addresses;
        for (qsizetype i = 2; i < pieces.size(); ++i) {
            QString& piece = pieces[i];
            QString name = StripTags(
                UnescapeUnicode(TakeBetween(QStringView(piece), u"\"caption\":\"", u"\",\"")));
            if (name.isEmpty()) {
                name = record->title;
            }
            QString picture = TakeBetween(piece, u"original_pic\":\"", u"\"", Consume);
            if (picture.isEmpty()) {
                const QString type = TakeBetween(QStringView(piece), u"pic_type\":", u",");
                const QString file = TakeBetween(QStringView(piece), u"pic_name\":\"", u"\"");
                const QString pictureHost =
                    TakeBetween(QStringView(piece), u"pic_host\":\"", u"\"");
                // An entry with neither address names no picture.
                if (file.isEmpty() || pictureHost.isEmpty()) {
                    continue;
                }
                picture = type != u"0"
                              ? pictureHost + QStringLiteral("/large/") + file
                              : pictureHost + state.m_jobText1 + QStringLiteral("/180/") + file;
            }
            picture = Unslashed(picture);
            addresses.append(picture);
            if (!QueuePicture(state, picture, name, QString(), albumIndex)) {
                return;
            }
        }
        if (walk.Repeats(addresses)) {
            return;
        }
    }
}

}  // namespace mosaiq
