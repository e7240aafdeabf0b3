#include "sites/instagram.h"

#include "sites/site_toolkit.h"

#include <QUrl>

using namespace std::chrono_literals;

namespace mosaiq {
namespace {

// Every host of Instagram.
namespace host {
const QString kWeb = QStringLiteral("https://www.instagram.com");
}  // namespace host

const QString kAgent = QStringLiteral(
    "Mozilla/5.0 (Windows NT 5.1) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/30.0.1599.101 Safari/537.36");
const QString kLanguages = QStringLiteral("zh-CN,zh;q=0.8");
const QString kAccountRequired = QStringLiteral("请输入Instagram用户主页的网址");
constexpr int kMaxSyntaxErrors = 3;

QString PictureAddress(QString address) {
    SkipTo(address, u"\":\"", true);
    return UnescapeUnicode(Unslashed(address));
}

// The cursor of the next page; empty on the last page.
QString NextCursor(const QString& page) {
    const QStringView text(page);
    QString cursor = TakeBetween(text, u"end_cursor\":", u",");
    if (cursor.isEmpty()) {
        cursor = TakeBetween(text, u"end_cursor\": \"", u"\"");
    }
    if (cursor.isEmpty()) {
        cursor = TakeBetween(text, u"end_cursor\":\"", u"\"");
    }
    if (cursor.startsWith(u"null")) {
        cursor = TakeBetween(text, u"true,\"end_cursor\":\"", u"\"");
    }
    return cursor.remove(u'"').remove(u'}').trimmed();
}

// The posts of a page: on the profile page they follow "nodes", on the others each starts
// with its node. A page with one post has no separator: it is then the one piece.
QStringList Posts(QString page, bool profilePage) {
    QString separator;
    if (profilePage) {
        SkipTo(page, u"\"nodes\"", true);
        separator = page.contains(u"}}, {") ? QStringLiteral("}}, {") : QStringLiteral("}},{");
    } else {
        separator = page.contains(u"node\": {\"id") ? QStringLiteral("node\": {\"id")
                                                    : QStringLiteral("node\":{\"id");
    }
    QStringList pieces;
    if (SplitText(page, separator, pieces) == 0) {
        pieces = {page};
    }
    return pieces;
}

QString Caption(QStringView post) {
    QString caption = UnescapeUnicode(TakeBetween(post, u"caption\":\"", u"\""));
    if (caption.isEmpty()) {
        caption = UnescapeUnicode(TakeBetween(post, u"text\":\"", u"\""));
    }
    return caption;
}

// Queues the pictures of a post of several ("ABC_002", "ABC_003" ...). Without them (the post
// unreachable or its pictures missing) the post's own picture stands for them. False when the
// download must end.
bool QueueSidecar(JobState& state, const SiteRequest& postRequest, QStringView post,
                  const QString& ownAddress, const QString& caption, const QString& account,
                  int albumIndex) {
    const QString code = TakeBetween(post, u"code\":\"", u"\"");
    int queued = 0;
    const std::optional<QString> text =
        code.isEmpty()
            ? std::nullopt
            : SiteRequest(postRequest)
                  .At(SiteAddress(host::kWeb, u"/p/%s/?taken-by=%s&__a=1", {code, account}))
                  .Fetch();
    if (text) {
        QStringList pieces;
        SplitText(*text, u"display_url\"", pieces);
        for (qsizetype j = 2; j < pieces.size(); ++j) {
            const QString address =
                PictureAddress(TakeBetween(QStringView(pieces[j]), u"\"", u"\""));
            if (address.isEmpty()) {
                continue;
            }
            ++queued;
            if (!QueuePicture(state, address,
                              QStringLiteral("%1_%2").arg(code).arg(j, 3, 10, QLatin1Char('0')),
                              QString(), albumIndex)) {
                return false;
            }
        }
        if (queued > 0) {
            Pause(1000ms);
        }
    }
    return queued > 0 || QueuePicture(state, ownAddress, caption, QString(), albumIndex);
}

}  // namespace

void FetchInstagramAccount(JobState& state, const QString& accountName) {
    state.m_account.clear();
    state.m_jobText2 = accountName;
    if (accountName.trimmed().isEmpty()) {
        Tell(state, kAccountRequired);
        return;
    }
    const QString site =
        state.m_jobText1.isEmpty() ? host::kWeb : state.m_jobText1 + QStringLiteral(".com");
    ST_PERLISTRECORD record;
    record.title = accountName;
    record.albumRef = site + u'/' + accountName;
    ListAlbum(state, record);
}

void FetchInstagramPosts(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr) {
        return;
    }
    const QString profile = record->albumRef;
    const QString account = state.m_jobText2;
    SiteRequest post;
    post.Header(u"User-Agent", kAgent).Header(u"Accept-Language", kLanguages);
    SiteRequest request(post);
    request.Header(u"referer", SiteAddress(host::kWeb, u"/%s/", {account}));

    int pages = 0;
    int syntaxErrors = 0;
    QString accountId;
    QString queryHash;
    QString cursor;
    QString previousAddress;
    for (PageWalk walk(state, WalkOf::Pictures); walk.Next();) {
        if (syntaxErrors >= kMaxSyntaxErrors) {
            return;
        }
        QString address = profile;
        if (pages > 0) {
            // The site answering the same cursor again: the paging does not advance.
            if (!cursor.isEmpty() && previousAddress.contains(EncodedValue(cursor))) {
                return;
            }
            address = SiteAddress(host::kWeb,
                                  u"/graphql/query/?query_hash=%s&variables=%7B%22id%22%3A%22%s"
                                  u"%22%2C%22first%22%3A12%2C%22after%22%3A%22%s%22%7D",
                                  {queryHash, accountId, cursor});
        }
        previousAddress = address;
        const auto text = request.At(address).Fetch();
        if (!text) {
            return;
        }
        QString page = *text;
        if (pages == 0) {
            const QString scriptPath = TakeBetween(QStringView(page), u"preload\" href=\"", u"\"");
            if (scriptPath.isEmpty()) {
                return;
            }
            const auto script =
                SiteRequest(request)
                    .At(QUrl(host::kWeb).resolved(QUrl(scriptPath)).toString(QUrl::FullyEncoded))
                    .Fetch();
            if (!script) {
                return;
            }
            queryHash = TakeBetween(QStringView(*script), u"n.pagination},queryId:\"", u"\"");
        }
        page.replace(QLatin1String("\": "), QLatin1String("\":"));
        if (page.contains(u"\"syntax error\"")) {
            ++syntaxErrors;
            Pause(5000ms);
            walk.Again();
            continue;
        }
        ++pages;
        cursor = NextCursor(page);
        accountId = TakeBetween(QStringView(page), u"owner\":{\"id\":\"", u"\"");
        for (const QString& piece : Posts(page, pages == 1)) {
            const QString caption = Caption(piece);
            QString picture = TakeBetween(QStringView(piece), u"display_src\":\"", u"\"");
            if (picture.isEmpty()) {
                picture = TakeBetween(QStringView(piece), u"display_url\":\"", u"\"");
            }
            if (picture.isEmpty()) {
                continue;
            }
            picture = PictureAddress(picture);
            const bool queued =
                piece.contains(u"\"GraphSidecar\"")
                    ? QueueSidecar(state, post, piece, picture, caption, account, albumIndex)
                    : QueuePicture(state, picture, caption, QString(), albumIndex);
            if (!queued) {
                return;
            }
        }
        // The last page has no cursor; without the query hash no later page can be asked for.
        if (cursor.isEmpty() || queryHash.isEmpty()) {
            return;
        }
        walk.SetPause(pages % 2 == 1 ? 4000ms : 3000ms);
    }
}

}  // namespace mosaiq
