#include "sites/lofter.h"

#include "core/naming.h"
#include "sites/site_text.h"
#include "sites/site_toolkit.h"
#include "web/codepage.h"

#include <QDateTime>

namespace mosaiq {
namespace {

// Every host of Lofter: the blogs are on the user's own sub-domain (the input).
namespace host {
const QString kSite = QStringLiteral("http://www.lofter.com/");
}  // namespace host

constexpr int kPostsAsked = 50;
// Only the latest posts are listed, whatever the archive service answers.
constexpr int kPostsListed = 20;

const QString kArchiveTitle = QStringLiteral("归档 - ");
const QString kNotABlog = QStringLiteral(
    "没有找到这个LOFTER博客的归档页，请输入博客首页的网址(例如 https://名字.lofter.com/)");
const QString kNoBlogId = QStringLiteral("没有在归档页里找到这个博客的编号，无法获取文章列表");
const QString kOnlyLatest = QStringLiteral("这个博客的文章较多，这里只列出了最新的20篇文章");

QByteArray PostListBody(const QString& blogId) {
    const QString stamp =
        QString::number(QDateTime::currentSecsSinceEpoch()) + QStringLiteral("000");
    return TextToGbk(QStringLiteral("callCount=1\r\nscriptSessionId=${scriptSessionId}187\r\n"
                                    "httpSessionId=\r\nc0-scriptName=ArchiveBean\r\n"
                                    "c0-methodName=getArchivePostByTime\r\nc0-id=0\r\n"
                                    "c0-param0=boolean:false\r\nc0-param1=number:%1\r\n"
                                    "c0-param2=number:%2\r\nc0-param3=number:%3\r\n"
                                    "c0-param4=boolean:false\r\nbatchId=1")
                         .arg(blogId, stamp)
                         .arg(kPostsAsked));
}

}  // namespace

void FetchLofterPosts(JobState& state, const QString& blog) {
    const auto text = SiteRequest(blog + QStringLiteral("view")).Fetch();
    if (!text) {
        TellUnreachable(state, blog + QStringLiteral("view"));
        return;
    }
    TextSource page(*text);
    state.m_account = TakeBetween(page, u"<title>", u"</title>", Consume);
    if (!state.m_account.startsWith(kArchiveTitle)) {
        Tell(state, kNotABlog);
        return;
    }
    SkipTo(state.m_account, kArchiveTitle, true);
    SanitizeName(state.m_account, kTimeStampFallback, true);
    state.m_jobText1 = TakeBetween(page, u"blogId=", u"\"", Consume);
    // The id goes into the call's body as a number: anything else is not this page's id.
    if (!IsDigitsOnly(state.m_jobText1)) {
        Tell(state, kNoBlogId);
        return;
    }
    const auto posts =
        SiteRequest(blog +
                    QStringLiteral("dwr/call/plaincall/ArchiveBean.getArchivePostByTime.dwr"))
            .Referer(host::kSite)
            .Header(u"Content-Type", QStringLiteral("text/plain"))
            .Post(PostListBody(state.m_jobText1))
            .Decode(Inflate)
            .Fetch();
    if (!posts) {
        return;
    }
    QStringList pieces;
    SplitText(*posts, u".blogId=", pieces);
    for (qsizetype i = 1; i < pieces.size() && i <= kPostsListed; ++i) {
        TextSource piece(pieces[i]);
        ST_PERLISTRECORD record;
        SkipTo(piece, u".time=", true);
        record.title = TakeBetween(piece, u".title=\"", u"\"", Consume);
        const QString path = TakeBetween(piece, u".permalink=\"", u"\"", Consume);
        if (path.isEmpty()) {
            continue;
        }
        if (record.title.isEmpty()) {
            record.title = TakeBetween(piece, u"noticeLinkTitle=\"", u"\"", Consume);
        }
        // The service writes every non-ASCII character as "\uXXXX".
        record.title = UnescapeUnicode(record.title);
        if (record.title.isEmpty()) {
            record.title = path;
        }
        record.albumRef = blog + QStringLiteral("post/") + path;
        if (!ListAlbum(state, record)) {
            return;
        }
    }
    if (pieces.size() > kPostsAsked) {
        Tell(state, kOnlyLatest);
    }
}

void FetchLofterPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* album = state.m_records.At(albumIndex);
    if (album == nullptr) {
        return;
    }
    const auto text = SiteRequest(album->albumRef).Decode(Inflate).Fetch();
    if (!text) {
        return;
    }
    QString post = *text;
    CutAt(post, u"class=\"nctitle");
    const QStringView photoPost = u"class=\"m-detail m-detail-photo";
    SkipTo(post, ContainsAfterStart(post, photoPost) ? photoPost : u"div class=\"content", true);
    const bool bigImages = ContainsAfterStart(post, u"bigimgsrc=\"");
    QStringList pieces;
    SplitText(post, bigImages ? u"bigimgsrc=\"" : u"<img ", pieces);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QString address = bigImages ? TakeBefore(pieces[i], u"\"")
                                    : TakeBetween(QStringView(pieces[i]), u"src=\"", u"\"");
        // The small thumbnails of other posts.
        if (ContainsAfterStart(address, u"x0x90.jpg")) {
            continue;
        }
        CutAt(address, u"?");
        if (address.isEmpty() || address.endsWith(u'/')) {
            continue;
        }
        const QString name = QStringLiteral("图片%1").arg(g_pictureQueue().Count() + 1);
        QueuePicture(state, address, name, QString(), albumIndex);
        return;
    }
}

}  // namespace mosaiq
