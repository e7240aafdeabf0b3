#include "sites/picture_list_dispatch.h"

#include "core/frontend.h"
#include "core/job_state.h"
#include "core/picture_queue.h"
#include "sites/album_list_dispatch.h"
#include "sites/site_types.h"

namespace mosaiq {
namespace {

using enum PictureSource;

std::vector<PictureSource> QqSources(int subType) {
    switch (QqSubType(subType)) {
        case QqSubType::Group:
            return {QqGroupPhotos};
        case QqSubType::TencentWeibo:
            return {TweiboPhotos};
        default:
            return {QzonePhotos, QzonePhotosOld};
    }
}

std::vector<PictureSource> ShopSources(int subType) {
    switch (ShopSubType(subType)) {
        case ShopSubType::Shop1688:
            return {Photos1688};
        case ShopSubType::Alibaba:
            return {AlibabaPhotos};
        case ShopSubType::AliexpressFirstForm:
            return {AliexpressPhotosFirstForm};
        case ShopSubType::AliexpressSecondForm:
            return {AliexpressPhotosSecondForm};
        default:
            return {TaobaoPhotos};
    }
}

// True when `subType` is `value` of its family's enum.
template <typename SubType>
bool Is(int subType, SubType value) {
    return subType == SubTypeValue(value);
}

void Tell(JobState& state, const QString& text) {
    if (state.frontend != nullptr) {
        state.frontend->ShowMessage(text, QStringLiteral("提示"));
    }
}

}  // namespace

std::optional<std::vector<PictureSource>> PictureSourcesFor(int listType, int subType) {
    if (!IsSiteTypeValue(listType)) {
        return std::nullopt;
    }
    switch (SiteType(listType)) {
        case SiteType::QqFamily:
            return QqSources(subType);
        case SiteType::Baidu:
            if (Is(subType, BaiduSubType::Albums)) {
                return {{BaiduPhotos}};
            }
            return {{Is(subType, BaiduSubType::TiebaForum) ? TiebaForumPhotos : TiebaPhotoPhotos}};
        case SiteType::Netease:
            return {{Is(subType, NeteaseSubType::PhotoSite) ? NeteasePpPhotos : NeteasePhotos}};
        case SiteType::Renren:
            if (Is(subType, RenrenSubType::Zhan)) {
                return {{RenrenZhanPhotos}};
            }
            return {{RenrenNewLayoutPhotos, RenrenClassicPhotos, RenrenViewerWalk}};
        case SiteType::Sina:
            if (Is(subType, SinaSubType::BlogArticle)) {
                return {{SinaBlogArticlePhotos}};
            }
            return {{Is(subType, SinaSubType::Weibo) ? SinaWeiboPhotos : SinaBlogAlbumPhotos}};
        case SiteType::Site56:
            return {{Photos56}};
        case SiteType::Poco:
            return {{PocoPhotos}};
        case SiteType::Yupoo:
            return {{Is(subType, YupooSubType::NewSite) ? YupooNewPhotos : YupooOldPhotos}};
        case SiteType::Site51:
            return {{Photos51}};
        case SiteType::Zol:
            return {{Is(subType, ZolSubType::Product) ? ZolProductPhotos : ZolAlbumPhotos}};
        case SiteType::PchomeDouban:
            return {{Is(subType, PchomeDoubanSubType::Douban) ? DoubanPhotos : PchomePhotos}};
        case SiteType::Shops:
            return ShopSources(subType);
        case SiteType::Moko:
            return {{MokoPhotos}};
        case SiteType::Babytree:
            return {{Is(subType, BabytreeSubType::FirstForm) ? BabytreeFirstFormPhotos
                                                             : BabytreeSecondFormPhotos}};
        case SiteType::Pconline:
            return {{PconlinePhotos}};
        case SiteType::Hupu:
            return {{HupuPhotos}};
        case SiteType::JdProduct:
            return {{Is(subType, JdSubType::ZolProduct) ? ZolProductPhotos : JdPhotos}};
        case SiteType::InstagramSzwego:
            return {
                {Is(subType, InstagramSzwegoSubType::Instagram) ? InstagramPhotos : SzwegoPhotos}};
        case SiteType::DuitangHuaban:
            return {{Is(subType, DuitangHuabanSubType::Duitang) ? DuitangPhotos : HuabanPhotos}};
        case SiteType::Lofter:
            return {{LofterPhotos}};
        case SiteType::Topit:
            return {{TopitPhotos}};
    }
    return std::nullopt;
}

void DispatchPictureList(JobState& state, int albumIndex) {
    const auto sources = PictureSourcesFor(state.m_listType.load(), state.m_subType.load());
    if (!sources) {
        Tell(state, QStringLiteral("Error ListType Code."));
        return;
    }
    if (PictureListAdapterFor(sources->front()) == nullptr) {
        Tell(state, QString::fromUtf16(kNotSupportedYet));
        return;
    }
    for (const PictureSource source : *sources) {
        if (g_pictureQueue().Count() > 0 || DownloadShouldEnd(state)) {
            return;
        }
        const PictureListAdapter adapter = PictureListAdapterFor(source);
        if (adapter == nullptr) {
            // A family is built whole; a missing fallback is said, never skipped.
            Tell(state, QString::fromUtf16(kNotSupportedYet));
            return;
        }
        adapter(state, albumIndex);
    }
}

}  // namespace mosaiq
