#include "sites/input_normalization.h"

#include "core/naming.h"
#include "sites/recognition.h"
#include "sites/site_address.h"
#include "sites/site_hosts.h"
#include "sites/site_text.h"
#include "sites/site_types.h"
#include "web/text_helpers.h"

#include <initializer_list>

namespace mosaiq {
namespace {

using namespace hosts;

const QString kQqNumberRequired = QStringLiteral("请直接输入QQ号进行下载");
const QString kQzoneEmpty = QStringLiteral(
    "没有获取到相册，原因如下：\n\n1、该空间需要登录QQ号后才能查看，你哪个号能进入他的空间，"
    "就先在下载器的登录菜单里登录了那个号后再点获取相册\n\n2、下载QQ空间相册请直接输入QQ号进行下"
    "载");
const QString kQqGroupEmpty = QStringLiteral(
    "没有获取到相册，可按以下步骤操作：\n\n1、你哪个号加入了你要下载的QQ群，"
    "就先在下载器的登录菜单里登录那个QQ号\n\n2、输入你要下载的QQ群号后，点获取相册列表");
const QString kTweiboEmpty = QStringLiteral(
    "没有获取到相册，可按以下步骤操作：\n\n1、请先在下载器的登录菜单里登录你的腾讯微博帐号"
    "(登录时勾上下次自动登录)\n\n2、输入你要下载的那个人的微博主页网址后，点获取相册列表");
const QString kRenrenEmpty = QStringLiteral(
    "错误原因：\n1.你没有登录你的人人帐号(在登录菜单里登录,登录时需要勾上下次自动登录)\n2."
    "你没有该相册的访问权限.");
const QString kRenrenZhanEmpty = QStringLiteral(
    "1、没有获取到相册，需要你在登录菜单里登录一个人人帐号(登录时勾上下次自动登录)后重新获取");
const QString kSinaEmpty =
    QStringLiteral("没有获取到相册，请在登录菜单里登录新浪(微博)帐号后重试,登录时勾上下次自动登录");
const QString kYupooEmpty = QStringLiteral(
    "没有获取到相册，如果你输入的网址正确，可能是因为被杀毒软件阻止了\r\n\r\n请按以下步骤操作"
    "\r\n\r\n1、将下载器添加到杀毒软件信任列表里\r\n2、重新打开下载器");
const QString kHupuEmpty = QStringLiteral(
    "请先在登录菜单里登录虎扑帐号后重试(登录时勾上下次自动登录)\n\n如果登录菜单里不能登录，"
    "请在IE里登录");
// Our own texts where the site's original ones are not known.
const QString kDoubanPhotosRequired = QStringLiteral("请输入豆瓣相册的网址(网址中含有/photos)");
// A whole shop is never listed: only a product page makes an album.
const QString kShopEmpty = QStringLiteral(
    "没有获取到商品。\n\n请输入一个商品(宝贝)页面的网址，店铺的网址不能整店下载；"
    "如果输入的是商品网址，请先在登录菜单里登录后重试");
const QString kJdItemRequired = QStringLiteral("请输入京东商品的网址(item.jd.com/商品编号.html)");
const QString kDuitangUserMissing =
    QStringLiteral("没有在页面里找到堆糖用户^请输入堆糖用户主页或专辑的网址后重试");
const QString kHuabanBoardRequired = QStringLiteral("请输入花瓣画板的网址^(网址中含有/boards/)");
const QString kPocoIdRequired =
    QStringLiteral("请输入POCO用户主页的网址(网址中含有user_id=或/user/id)，或用户的数字ID");
const QString kInstagramOrSzwegoRequired =
    QStringLiteral("请输入Instagram用户主页的网址，或微商相册店铺(shop_detail)的网址");

void SkipThrough(QString& text, QStringView marker) {
    SkipTo(text, marker, true);
}

void CutAtEach(QString& text, std::initializer_list<QStringView> markers) {
    for (const QStringView marker : markers) {
        CutAt(text, marker);
    }
}

void AddTrailingSlash(QString& text) {
    if (!text.endsWith(u'/')) {
        text += u'/';
    }
}

void AddQuestionMark(QString& text) {
    if (!text.contains(u'?')) {
        text += u'?';
    }
}

// Keeps the host part of a shop address and appends `path`. The cut is at ".com", not at
// "com": shop names such as "company" hold "com" too.
QString ShopBase(QString text, QStringView path) {
    CutAt(text, u".com");
    return text + QStringLiteral(".com") + path.toString();
}

// A call that leaves m_subType as it is.
AlbumCall Call(AlbumSource source) {
    return {source, std::nullopt};
}

// A call that stores `subType` in m_subType first.
template <typename SubType>
AlbumCall Call(AlbumSource source, SubType subType) {
    return {source, SubTypeValue(subType)};
}

AlbumListPlan PlanQq(int subType, QString text) {
    AlbumListPlan plan;
    if (subType == SubTypeValue(QqSubType::TencentWeibo) ||
        (subType == SubTypeValue(QqSubType::Group) &&
         ContainsDomain(text, QString(kTweiboDomain + u'/')))) {
        SkipThrough(text, u".com/");
        SkipThrough(text, u"hoto/");
        CutAtEach(text, {u"/", u"?"});
        plan.input = text;
        plan.account = text;
        plan.jobText2 = text;
        plan.calls = {Call(AlbumSource::TweiboAlbums, QqSubType::TencentWeibo)};
        plan.emptyMessage = kTweiboEmpty;
        return plan;
    }
    if (subType == SubTypeValue(QqSubType::Group)) {
        SkipThrough(text, u"!/");
        CutAtEach(text, {u"/", u"?", u"#"});
        plan.input = text;
        plan.account = text;
        plan.calls = {Call(AlbumSource::QqGroupAlbums, QqSubType::Group)};
        plan.emptyMessage = kQqGroupEmpty;
        return plan;
    }
    SkipThrough(text, u"com/");
    CutAtEach(text, {u"/", u"&", u"*", u"?", u"#"});
    if (!IsDigitsOnly(text)) {
        plan.message = kQqNumberRequired;
        return plan;
    }
    plan.input = text;
    plan.account = text;
    plan.calls = {Call(AlbumSource::QzoneAlbums, QqSubType::Zone),
                  Call(AlbumSource::QzoneAlbumsOld, QqSubType::Zone)};
    plan.emptyMessage = kQzoneEmpty;
    plan.moodAlbum = true;
    return plan;
}

// Shared end of the Baidu album row, once the input names the user.
void FinishBaiduInput(AlbumListPlan& plan) {
    SkipThrough(plan.input, u"u/");
    CutAtEach(plan.input, {u"/", u"?", u"#", u"&"});
}

QString TiebaKeyword(QString text) {
    SkipThrough(text, u"kw=");
    CutAtEach(text, {u"/", u"?", u"#", u"&"});
    return text;
}

void SetTiebaKeywordAfter(AlbumListPlan& plan) {
    const QString keyword = TiebaKeyword(plan.input);
    plan.jobText1After = keyword;
    plan.accountAfter = UrlDecodeUtf8(keyword);
}

AlbumListPlan PlanBaidu(const QString& text) {
    AlbumListPlan plan;
    plan.input = text;
    if (!ContainsDomain(text, kTiebaDomain)) {
        plan.calls = {Call(AlbumSource::BaiduAlbums, BaiduSubType::Albums)};
        if (text.contains(u"u/")) {
            FinishBaiduInput(plan);
        } else {
            plan.pageStep = PageStep::BaiduProfile;
            plan.pageAddress = text;
        }
        return plan;
    }
    const bool photoPage = ContainsAfterStart(text, u"photo/p?kw=");
    const bool postPage = ContainsAfterStart(text, u"com/p/");
    if (!photoPage && !postPage) {
        const QString keyword = TiebaKeyword(text);
        plan.input = keyword;
        plan.jobText1 = keyword;
        plan.accountAfter = UrlDecodeUtf8(keyword);
        plan.calls = {Call(AlbumSource::TiebaForumAlbums, BaiduSubType::TiebaForum)};
        return plan;
    }
    plan.calls = {Call(AlbumSource::TiebaPhotoAlbums, BaiduSubType::TiebaThread)};
    if (postPage) {
        QString post = text;
        SkipThrough(post, u"com/p/");
        CutAtEach(post, {u"/", u"?", u"#", u"&"});
        plan.jobText1 = post;
        plan.pageStep = PageStep::TiebaPost;
        plan.pageAddress = text;
        return plan;
    }
    SetTiebaKeywordAfter(plan);
    return plan;
}

AlbumListPlan PlanNetease(const QString& text) {
    AlbumListPlan plan;
    plan.input = text;
    if (ContainsDomain(text, kNeteasePpDomain)) {
        plan.calls = {Call(AlbumSource::NeteasePpAlbums, NeteaseSubType::PhotoSite)};
    } else {
        plan.calls = {Call(AlbumSource::NeteaseAlbums)};
    }
    return plan;
}

void SetRenrenPersonCalls(AlbumListPlan& plan, bool publicPage) {
    if (publicPage) {
        plan.calls = {Call(AlbumSource::RenrenPublicPageAlbums, RenrenSubType::Albums),
                      Call(AlbumSource::RenrenNewLayoutAlbums, RenrenSubType::Albums)};
    } else {
        plan.calls = {Call(AlbumSource::RenrenNewLayoutAlbums, RenrenSubType::Albums),
                      Call(AlbumSource::RenrenClassicAlbums, RenrenSubType::Albums)};
    }
}

AlbumListPlan PlanRenren(QString text) {
    AlbumListPlan plan;
    if (ContainsAfterStart(text, u"/album-")) {
        CutAtEach(text, {u"?", u"#"});
        plan.input = text;
        plan.calls = {Call(ContainsAfterStart(text, u"/v7") ? AlbumSource::RenrenNewLayoutAlbums
                                                            : AlbumSource::RenrenClassicAlbums,
                           0)};
        plan.emptyMessage = kRenrenEmpty;
        return plan;
    }
    if (ContainsDomain(text, kRenrenZhanDomain)) {
        plan.input = text;
        plan.calls = {Call(AlbumSource::RenrenZhanPosts, RenrenSubType::Zhan)};
        plan.emptyMessage = kRenrenZhanEmpty;
        return plan;
    }
    const bool publicPage = ContainsDomain(text, kRenrenPageDomain);
    if (publicPage) {
        SkipThrough(text, u".com/");
        CutAt(text, u"/");
    }
    SkipThrough(text, u"id=");
    CutAtEach(text, {u"?", u"/album", u"/profile", u"/channel-"});
    text = text.mid(text.lastIndexOf(u'/') + 1);
    plan.input = text;
    SetRenrenPersonCalls(plan, publicPage);
    plan.emptyMessage = kRenrenEmpty;
    if (!IsDigitsOnly(text)) {
        plan.pageStep = PageStep::RenrenPerson;
        plan.pageAddress = (publicPage ? kRenrenPageHost : kRenrenHost) + u'/' + text;
    }
    return plan;
}

AlbumListPlan PlanSina(QString text) {
    AlbumListPlan plan;
    plan.emptyMessage = kSinaEmpty;
    if (ContainsAfterStart(text, u"/s/")) {
        const qsizetype underscore = text.lastIndexOf(u'_');
        if (underscore >= 0) {
            text.truncate(underscore);
        }
        plan.calls = {Call(AlbumSource::SinaBlogArticle, SinaSubType::BlogArticle)};
    } else if (ContainsDomain(text, QString(kSinaWeiboDomain + u'/'))) {
        plan.calls = {Call(AlbumSource::SinaWeiboAlbums, SinaSubType::Weibo)};
    } else {
        plan.calls = {Call(AlbumSource::SinaBlogAlbums, SinaSubType::BlogAlbums)};
    }
    plan.input = text;
    return plan;
}

AlbumListPlan Plan56(const QString& text) {
    AlbumListPlan plan;
    QString user = text;
    SkipThrough(user, u"user=");
    SkipThrough(user, u"album/");
    CutAtEach(user, {u"&", u"/", u"?"});
    plan.account = user;
    // Encoded: a user name cannot add a parameter of its own.
    plan.input = SiteAddress(k56Host, u"/photo/album/index.php?user=%s&perPage=20", {user});
    plan.calls = {Call(AlbumSource::Albums56)};
    return plan;
}

AlbumListPlan PlanPoco(QString text) {
    AlbumListPlan plan;
    SkipThrough(text, u"user_id=");
    SkipThrough(text, u"user/id");
    CutAtEach(text, {u"/", u"&", u"*", u"?", u"#", u"."});
    // The works list is asked for by the numeric id only.
    if (!IsDigitsOnly(text)) {
        plan.message = kPocoIdRequired;
        return plan;
    }
    plan.input = text;
    plan.calls = {Call(AlbumSource::PocoAlbums)};
    return plan;
}

// "https://name.yupoo.com/rest" when name is a personal sub-domain (not www, v. or x.).
bool SplitYupooPersonalDomain(const QString& text, QString& user, QString& rest) {
    const qsizetype hostStart = text.indexOf(u"://");
    if (hostStart < 0) {
        return false;
    }
    const qsizetype nameStart = hostStart + 3;
    qsizetype hostEnd = text.indexOf(u'/', nameStart);
    if (hostEnd < 0) {
        hostEnd = text.size();
    }
    const QString host = text.mid(nameStart, hostEnd - nameStart);
    const QString suffix = u'.' + kYupooDomain;
    if (!host.endsWith(suffix) || host == kYupooMainDomain || host == kYupooNewDomain ||
        host.startsWith(u"v.")) {
        return false;
    }
    user = host.chopped(suffix.size());
    rest = text.mid(hostEnd);
    return !user.isEmpty() && !user.contains(u'.');
}

AlbumListPlan PlanYupoo(QString text) {
    AlbumListPlan plan;
    if (ContainsDomain(text, kYupooNewDomain)) {
        plan.jobText1 = QString();
        if (TakeBetween(QStringView(text), u"albums/", u"?").isEmpty()) {
            CutAt(text, u"?");
        }
        plan.input = text;
        plan.calls = {Call(AlbumSource::YupooNewAlbums, YupooSubType::NewSite)};
        plan.emptyMessage = kYupooEmpty;
        return plan;
    }
    text.replace(QStringLiteral("/collections"), QStringLiteral("/albums"));
    QString user;
    QString rest;
    if (SplitYupooPersonalDomain(text, user, rest)) {
        CutAt(rest, u"page");
        const QString base = kYupooHost + QStringLiteral("/photos/") + user;
        text = rest.contains(u"albums/") ? base + rest : base + QStringLiteral("/albums/");
    } else if (!text.isEmpty() && !HasScheme(text) && !text.contains(u'/') &&
               !text.contains(u'.')) {
        // A bare user name.
        text = SiteAddress(kYupooHost, u"/photos/%s/albums/", {text});
    } else {
        CutAt(text, u"page");
    }
    AddTrailingSlash(text);
    plan.input = text;
    plan.calls = {Call(AlbumSource::YupooOldAlbums)};
    plan.emptyMessage = kYupooEmpty;
    return plan;
}

AlbumListPlan Plan51(QString text) {
    AlbumListPlan plan;
    if (HasScheme(text)) {
        SkipThrough(text, u"com/");
        CutAt(text, u"/");
    }
    plan.input = text;
    plan.account = text;
    plan.calls = {Call(AlbumSource::Albums51)};
    return plan;
}

AlbumListPlan PlanZolProduct(QString text) {
    AlbumListPlan plan;
    CutAt(text, u"#");
    plan.input = text;
    plan.calls = {Call(AlbumSource::ZolProduct, ZolSubType::Product)};
    plan.singleItem = SingleItem::WhenOneAlbum;
    return plan;
}

AlbumListPlan PlanZol(QString text) {
    if (ContainsDomain(text, kZolDetailDomain)) {
        return PlanZolProduct(text);
    }
    AlbumListPlan plan;
    if (HasScheme(text)) {
        SkipThrough(text, u"cn/");
        CutAt(text, u"/");
    }
    plan.input = text;
    plan.calls = {Call(AlbumSource::ZolAlbums, ZolSubType::Albums)};
    return plan;
}

AlbumListPlan PlanPchomeDouban(QString text) {
    AlbumListPlan plan;
    if (ContainsDomain(text, kDoubanDomain)) {
        if (!text.contains(u"/photos")) {
            plan.message = kDoubanPhotosRequired;
            return plan;
        }
        CutAtEach(text, {u"&", u"*", u"?"});
        AddTrailingSlash(text);
        plan.input = text;
        plan.calls = {Call(AlbumSource::DoubanAlbums, PchomeDoubanSubType::Douban)};
        plan.singleItem = SingleItem::Always;
        return plan;
    }
    SkipThrough(text, u"com.tw/");
    CutAtEach(text, {u"/", u"&", u"*", u"?"});
    plan.input = text;
    plan.account = text;
    plan.calls = {Call(AlbumSource::PchomeAlbums, PchomeDoubanSubType::Pchome)};
    return plan;
}

void ReplacePagePlaceholders(QString& text, QStringView viewKey) {
    AddQuestionMark(text);
    text.replace(QStringLiteral("pageNum="), QStringLiteral("Kel1="));
    text.replace(viewKey.toString(), QStringLiteral("Kel2="));
}

AlbumListPlan PlanShop(QString text) {
    AlbumListPlan plan;
    plan.singleItem = SingleItem::WhenOneAlbum;
    CutAt(text, u"#");
    // Every shop says when it listed nothing: Alibaba and AliExpress too, whose shop
    // addresses would otherwise end in silence.
    plan.emptyMessage = kShopEmpty;
    if (ContainsDomain(text, kAliexpressDomain)) {
        plan.calls = {Call(AlbumSource::AliexpressShop)};
    } else if (ContainsDomain(text, kAlibabaDomain)) {
        plan.calls = {Call(AlbumSource::AlibabaShop, ShopSubType::Alibaba)};
    } else if (ContainsDomain(text, QString(k1688Domain + u'/'))) {
        if (!text.contains(u".com/offer")) {
            if (text.contains(u"/page/")) {
                ReplacePagePlaceholders(text, u"showType=");
            } else {
                text = ShopBase(text, u"/page/offerlist.htm?");
            }
        }
        plan.calls = {Call(AlbumSource::Shop1688, ShopSubType::Shop1688)};
    } else {
        const bool listing =
            ContainsAfterStart(text, u"search") || ContainsAfterStart(text, u"item.") ||
            ContainsAfterStart(text, u"/category-") || ContainsAfterStart(text, u"tbskip.");
        if (listing) {
            ReplacePagePlaceholders(text, u"viewType=");
        } else {
            text = ShopBase(text, u"/?search=y");
        }
        plan.calls = {Call(AlbumSource::TaobaoShop)};
    }
    plan.input = text;
    return plan;
}

AlbumListPlan PlanMoko(QString text) {
    AlbumListPlan plan;
    if (!text.contains(u"/post")) {
        SkipThrough(text, QString(kMokoDomain + u'/'));
        // A query or fragment after the user name is no part of it.
        CutAtEach(text, {u"/", u"?", u"#"});
        // Encoded: a user name cannot add a path step or a query of its own.
        text = SiteAddress(kMokoHost, u"/post/%s/list.html", {text});
    }
    plan.input = text;
    plan.calls = {Call(AlbumSource::MokoAlbums)};
    return plan;
}

AlbumListPlan PlanBabytree(QString text) {
    AlbumListPlan plan;
    SkipThrough(text, u"om/");
    CutAtEach(text, {u"&", u"/"});
    plan.input = text;
    plan.calls = {Call(AlbumSource::BabytreeFirstForm, BabytreeSubType::FirstForm),
                  Call(AlbumSource::BabytreeSecondForm, BabytreeSubType::SecondForm)};
    return plan;
}

AlbumListPlan PlanPconline(QString text) {
    AlbumListPlan plan;
    plan.calls = {Call(AlbumSource::PconlineAlbums)};
    if (text.contains(u"_p")) {
        // The page token of the typed page becomes the placeholder the adapter pages with;
        // without one the adapter would request the same page for ever.
        for (int n = 1; n <= 99; ++n) {
            const QString token = QStringLiteral("_p%1_").arg(n);
            if (text.contains(token)) {
                text.replace(token, QStringLiteral("_dk1stp_"));
                plan.jobText1 = token;
                plan.input = text;
                return plan;
            }
        }
    }
    if (text.contains(u"myphoto.")) {
        text.replace(QStringLiteral(".html"), QStringLiteral("_dk1stp_n15.html"));
        plan.input = text;
        return plan;
    }
    SkipThrough(text, u".cn/");
    CutAt(text, u"/");
    plan.jobText1 = text;
    plan.input = kPconlineHost + u'/' + text + QStringLiteral("/myphoto_dk1stp_n15.html");
    return plan;
}

AlbumListPlan PlanJd(QString text) {
    if (ContainsDomain(text, kZolDetailDomain)) {
        return PlanZolProduct(text);
    }
    AlbumListPlan plan;
    CutAt(text, u"#");
    if (!ContainsDomain(text, kJdItemDomain) && !ContainsDomain(text, kJdHkItemDomain)) {
        plan.message = kJdItemRequired;
        return plan;
    }
    plan.input = text;
    plan.calls = {Call(AlbumSource::JdProduct, JdSubType::Jd)};
    plan.singleItem = SingleItem::WhenOneAlbum;
    return plan;
}

AlbumListPlan PlanInstagramSzwego(QString text) {
    AlbumListPlan plan;
    if (ContainsDomain(text, kInstagramDomain)) {
        QString base = text;
        CutAt(base, u".com/");
        plan.jobText1 = base;
        SkipThrough(text, u"com/");
        CutAtEach(text, {u"/", u"?", u"#"});
        plan.input = text;
        plan.calls = {Call(AlbumSource::InstagramAlbums, InstagramSzwegoSubType::Instagram)};
        plan.singleItem = SingleItem::Always;
        return plan;
    }
    if (ContainsDomain(text, kSzwegoDomain) && ContainsAfterStart(text, u"shop_detail/")) {
        plan.jobText2 = text;
        SkipThrough(text, u"shop_detail/");
        CutAt(text, u"/");
        plan.input = text.trimmed();
        plan.calls = {Call(AlbumSource::SzwegoAlbums, InstagramSzwegoSubType::Szwego)};
        return plan;
    }
    plan.message = kInstagramOrSzwegoRequired;
    return plan;
}

AlbumListPlan PlanDuitangHuaban(const QString& text) {
    AlbumListPlan plan;
    plan.input = text;
    if (ContainsDomain(text, kDuitangDomain)) {
        plan.jobText1 = QString();
        plan.pageStep = PageStep::Duitang;
        plan.pageAddress = text;
        plan.calls = {Call(AlbumSource::DuitangAlbums, DuitangHuabanSubType::Duitang)};
        return plan;
    }
    if (!text.contains(u"/boards/")) {
        plan.message = WithLineBreaks(kHuabanBoardRequired);
        return plan;
    }
    plan.calls = {Call(AlbumSource::HuabanBoards, DuitangHuabanSubType::Huaban)};
    plan.singleItem = SingleItem::Always;
    return plan;
}

AlbumListPlan PlanLofter(QString text) {
    AlbumListPlan plan;
    CutAt(text, u"post/");
    AddTrailingSlash(text);
    plan.input = text;
    plan.calls = {Call(AlbumSource::LofterPosts)};
    return plan;
}

AlbumListPlan PlanTopit(QString text) {
    AlbumListPlan plan;
    CutAt(text, u"/item");
    if (ContainsAfterStart(text, u"/user/")) {
        CutAt(text, u"/albums");
    }
    CutAtEach(text, {u"?", u"#"});
    plan.input = text;
    plan.calls = {Call(AlbumSource::TopitAlbums)};
    return plan;
}

AlbumListPlan PlanSingle(const QString& text, AlbumSource source, const QString& emptyMessage) {
    AlbumListPlan plan;
    plan.input = text;
    plan.calls = {Call(source)};
    plan.emptyMessage = emptyMessage;
    return plan;
}

bool CompleteDuitang(AlbumListPlan& plan, const QString& page) {
    if (ContainsAfterStart(plan.input, u"/album/")) {
        QString albumId = plan.input;
        albumId.replace(QStringLiteral("/album/?id="), QStringLiteral("/album/"));
        SkipThrough(albumId, u"album/");
        CutAtEach(albumId, {u"?", u"#", u"/", u"&"});
        plan.jobText1 = page;
        plan.jobText2 = albumId;
        plan.singleItem = SingleItem::Always;
    }
    QString header = page;
    SkipThrough(header, u"dt-header-btm");
    QString userId = TakeBetween(QStringView(header), u"user_id=", u"\"");
    if (userId.isEmpty()) {
        plan.message = WithLineBreaks(kDuitangUserMissing);
        return false;
    }
    CutAtEach(userId, {u"?", u"#"});
    // The account names the save folder: a page's text must not lead out of it.
    QString account = QStringLiteral("堆糖_") + userId;
    SanitizeName(account, kTimeStampFallback, true);
    plan.account = account;
    plan.input = userId;
    return true;
}

}  // namespace

QString WithLineBreaks(QString text) {
    text.replace(u'^', u'\n');
    return text;
}

AlbumListPlan PlanAlbumList(int listType, int subType, const QString& text) {
    if (!IsSiteTypeValue(listType)) {
        return {};
    }
    switch (SiteType(listType)) {
        case SiteType::QqFamily:
            return PlanQq(subType, text);
        case SiteType::Baidu:
            return PlanBaidu(text);
        case SiteType::Netease:
            return PlanNetease(text);
        case SiteType::Renren:
            return PlanRenren(text);
        case SiteType::Sina:
            return PlanSina(text);
        case SiteType::Site56:
            return Plan56(text);
        case SiteType::Poco:
            return PlanPoco(text);
        case SiteType::Yupoo:
            return PlanYupoo(text);
        case SiteType::Site51:
            return Plan51(text);
        case SiteType::Zol:
            return PlanZol(text);
        case SiteType::PchomeDouban:
            return PlanPchomeDouban(text);
        case SiteType::Shops:
            return PlanShop(text);
        case SiteType::Moko:
            return PlanMoko(text);
        case SiteType::Babytree:
            return PlanBabytree(text);
        case SiteType::Pconline:
            return PlanPconline(text);
        case SiteType::Hupu:
            return PlanSingle(text, AlbumSource::HupuAlbums, kHupuEmpty);
        case SiteType::JdProduct:
            return PlanJd(text);
        case SiteType::InstagramSzwego:
            return PlanInstagramSzwego(text);
        case SiteType::DuitangHuaban:
            return PlanDuitangHuaban(text);
        case SiteType::Lofter:
            return PlanLofter(text);
        case SiteType::Topit:
            return PlanTopit(text);
    }
    return {};
}

bool CompletePlanWithPage(AlbumListPlan& plan, const QString& page) {
    switch (plan.pageStep) {
        case PageStep::None:
            return true;
        case PageStep::BaiduProfile: {
            const QString user = TakeBetween(QStringView(page), u"/profile/", u"\"");
            if (!user.isEmpty()) {
                plan.input = user;
            }
            FinishBaiduInput(plan);
            return true;
        }
        case PageStep::TiebaPost: {
            // The forum link may carry more parameters ("&ie=utf-8"); a page text adds none
            // of its own to the address.
            QString keyword = TakeBetween(QStringView(page), u"?kw=", u"\"");
            CutAt(keyword, u"&");
            plan.input = kTiebaHost + QStringLiteral("/photo/p?kw=") + EncodedValue(keyword) +
                         QStringLiteral("&fp=1&tid=") + plan.jobText1.value_or(QString());
            SetTiebaKeywordAfter(plan);
            return true;
        }
        case PageStep::RenrenPerson: {
            QString id = TakeBetween(QStringView(page), u"pid: '", u"'");
            if (id.isEmpty()) {
                id = TakeBetween(QStringView(page), u"profile_owner =", u";").trimmed();
            }
            // A page without the id leaves the typed name: the adapters try it as it is.
            if (!id.isEmpty()) {
                plan.input = id;
            }
            return true;
        }
        case PageStep::Duitang:
            return CompleteDuitang(plan, page);
    }
    return true;
}

}  // namespace mosaiq
