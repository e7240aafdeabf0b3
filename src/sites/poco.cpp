#include "sites/poco.h"

#include "sites/site_toolkit.h"
#include "web/codepage.h"

#include <QCryptographicHash>
#include <QUrl>

#include <chrono>

namespace mosaiq {
namespace {

// Every host of POCO.
namespace host {
const QString kSite = QStringLiteral("https://www.poco.cn");
const QString kWebApi = QStringLiteral("https://web-api.poco.cn");
}  // namespace host

const QString kAppName = QStringLiteral("poco_photography_web");
constexpr int kWorksPerPage = 18;

// The site's web API signs the parameter object between two fixed texts.
QString SignCode(const QString& param) {
    const QByteArray digest = QCryptographicHash::hash(TextToGbk(QStringLiteral("lumi_") + param +
                                                                 QStringLiteral("_zed")),
                                                       QCryptographicHash::Md5)
                                  .toHex();
    return QString::fromLatin1(digest.mid(5, 19));
}

// Only letters, digits, "." and "_" stay as they are.
QByteArray FormValue(const QString& text) {
    return QUrl::toPercentEncoding(TextToGbk(text), QByteArray(), "-~");
}

QString UserCenter(const QString& userId) {
    return SiteAddress(host::kSite, u"/user/user_center?user_id=%s", {userId});
}

}  // namespace

QByteArray PocoWorksListBody(const QString& userId, int start) {
    const QString param = QStringLiteral(
                              "{\"user_id\":null,\"visited_user_id\":%1,\"year\":0,\"length\":18,"
                              "\"start\":%2}")
                              .arg(userId)
                              .arg(start);
    const QString request = QStringLiteral("{\"version\":\"1.1.0\",\"app_name\":\"") + kAppName +
                            QStringLiteral(
                                "\",\"os_type\":\"weixin\",\"is_enc\":0,\"env\":"
                                "\"prod\",\"ctime\":1518794347184,\"param\":") +
                            param + QStringLiteral(",\"sign_code\":\"") + SignCode(param) +
                            QStringLiteral("\"}");
    return "req=" + FormValue(request) + "&host_port=" + FormValue(host::kSite);
}

void FetchPocoWorks(JobState& state, const QString& userId) {
    state.m_jobText1 = userId;
    SiteRequest request(host::kWebApi + QStringLiteral("/v1_1/space/get_user_works_list"));
    request
        .Header(u"Content-Type", QStringLiteral("application/x-www-form-urlencoded; charset=UTF-8"))
        .Referer(UserCenter(userId));
    for (PageWalk walk(state, WalkOf::Albums, {.first = 0, .step = kWorksPerPage}); walk.Next();) {
        auto text = request.Post(PocoWorksListBody(userId, walk.Page())).Fetch();
        if (!text) {
            return;
        }
        const bool more = text->contains(u"has_more\":true") || text->contains(u"has_more\": true");
        SkipTo(*text, u"\"list\"", true);
        QStringList pieces;
        if (SplitText(*text, u"\"works_id", pieces) == 0 ||
            // The list answers every start with works: a repeated page ignores the start.
            walk.Repeats(ItemKeys(pieces, u"works_url\":\"", u"\""))) {
            return;
        }
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            const QStringView whole(pieces[i]);
            ST_PERLISTRECORD record;
            record.title = UnescapeUnicode(TakeBetween(whole, u"title\":\"", u"\""));
            record.albumRef = Unslashed(TakeBetween(whole, u"works_url\":\"", u"\""));
            if (record.albumRef.isEmpty()) {
                continue;
            }
            record.pictureCount = LeadingNumber(TakeBetween(whole, u"works_photo_count\":", u","));
            record.coverUrl = Unslashed(TakeBetween(whole, u"user_avatar\":\"", u"\""));
            if (!record.coverUrl.contains(u"http")) {
                record.coverUrl.prepend(u"http:");
            }
            if (!ListAlbum(state, record)) {
                return;
            }
        }
        if (!more) {
            return;
        }
        // 2, 3, 1, 2, 3, 1 ... seconds after pages 1, 2, 3 ...
        const int nextStart = walk.Page() + kWorksPerPage;
        walk.SetPause(std::chrono::seconds((nextStart / kWorksPerPage) % 3 + 1));
    }
}

void FetchPocoPhotos(JobState& state, int albumIndex) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    if (record == nullptr || WalkStopped(state, WalkOf::Pictures)) {
        return;
    }
    auto text = SiteRequest(record->albumRef).Referer(UserCenter(state.m_jobText1)).Fetch();
    if (!text) {
        return;
    }
    QString description;
    // Without the marker the first block of the page is no description.
    if (SkipTo(*text, u"<span>点", true) >= 0) {
        description = StripTags(TakeBetween(*text, u"<div>", u"</div>", Consume));
        DecodeHtmlEntities(description);
        description = description.trimmed();
    }
    QStringList pieces;
    SplitText(*text, u"<img data-src=\"", pieces);
    int queued = 0;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const QString address = TakeBefore(pieces[i], u"\"").trimmed();
        if (address.isEmpty()) {
            break;
        }
        ++queued;
        if (!QueuePicture(state, address, record->title, QString(), albumIndex)) {
            return;
        }
    }
    // The album folder exists once a picture was queued; before, the save root is the folder.
    if (!description.isEmpty() && queued > 0) {
        WriteAlbumDescription(description);
    }
}

}  // namespace mosaiq
