#include "sites/shop_pages.h"

#include "core/job_state.h"
#include "sites/site_request.h"
#include "sites/site_sinks.h"
#include "sites/site_values.h"
#include "web/response_decoding.h"
#include "web/text_helpers.h"

namespace mosaiq {

bool DescriptionPicturesOnly(const JobState& state) {
    return (NamingOf(state.m_settings, state.m_listType.load()).options & kOptionShopDescOnly) != 0;
}

QString MainPictureName(int n, const QString& prefix) {
    return prefix + QStringLiteral("主图_%1").arg(n, 3, 10, QLatin1Char('0'));
}

void ListProduct(JobState& state, const QString& title, const QString& address,
                 const QString& page) {
    ST_PERLISTRECORD record;
    record.title = title;
    record.albumRef = address;
    if (ListAlbum(state, record)) {
        state.m_jobText1 = page;
    }
}

bool QueueMainPictures(JobState& state, int albumIndex, const QString& page,
                       const MainPictureList& list,
                       const std::function<QString(const QString& piece)>& address) {
    QStringList pieces;
    SplitText(page, list.separator, pieces);
    for (qsizetype n = 1; n < pieces.size(); ++n) {
        const QString picture = address(pieces[n]);
        if (picture.isEmpty()) {
            continue;
        }
        if (!QueuePicture(state, WithHttp(picture), MainPictureName(int(n), list.namePrefix),
                          list.referer, albumIndex)) {
            return false;
        }
    }
    return true;
}

SiteRequest ShopPageRequest(const QString& address) {
    SiteRequest request(address);
    request.Header(u"Accept-Language", QStringLiteral("zh-cn")).Decode(Inflate);
    return request;
}

std::optional<QString> ProductPage(const JobState& state, const SiteRequest& request) {
    if (!state.m_jobText1.isEmpty()) {
        return state.m_jobText1;
    }
    return request.Fetch();
}

void TellNoProduct(JobState& state) {
    Tell(state, QStringLiteral("没有在页面里找到商品的名称或店铺名称。\n\n"
                               "请确认输入的是商品页面的网址；如果网站要求登录，"
                               "请先在登录菜单里登录后重试"));
}

void TellMainPicturesDone(JobState& state) {
    if (DescriptionPicturesOnly(state)) {
        Tell(state, QStringLiteral("已勾选\"只下载宝贝(商品)描述里的图片\"：本下载器暂不支持下载"
                                   "商品描述里的图片，这个商品没有下载任何图片。\n\n"
                                   "要下载商品主图，请在设置菜单里取消这一项"));
        return;
    }
    Tell(state, QStringLiteral("商品主图已全部加入下载队列(商品描述里的图片不在其中)。\n\n"
                               "如果没有下载到图片，可能是商品页面改版了，或者需要先在登录菜单里"
                               "登录后重试"));
}

}  // namespace mosaiq
