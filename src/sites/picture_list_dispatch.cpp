#include "sites/picture_list_dispatch.h"

#include "core/frontend.h"
#include "core/job_state.h"
#include "core/picture_queue.h"
#include "sites/album_list_dispatch.h"

namespace mosaiq {
namespace {

using enum PictureSource;

std::vector<PictureSource> QqSources(int subType) {
    switch (subType) {
        case 1:
            return {QqGroupPhotos};
        case 2:
            return {TweiboPhotos};
        default:
            return {QzonePhotos, QzonePhotosOld};
    }
}

std::vector<PictureSource> ShopSources(int subType) {
    switch (subType) {
        case 2:
            return {Photos1688};
        case 3:
            return {AlibabaPhotos};
        case 4:
            return {AliexpressPhotosFirstForm};
        case 5:
            return {AliexpressPhotosSecondForm};
        default:
            return {TaobaoPhotos};
    }
}

void Tell(JobState& state, const QString& text) {
    if (state.frontend != nullptr) {
        state.frontend->ShowMessage(text, QStringLiteral("提示"));
    }
}

}  // namespace

std::optional<std::vector<PictureSource>> PictureSourcesFor(int listType, int subType) {
    switch (listType) {
        case 0:
            return QqSources(subType);
        case 1:
            if (subType == 0) {
                return {{BaiduPhotos}};
            }
            return {{subType == 1 ? TiebaForumPhotos : TiebaPhotoPhotos}};
        case 2:
            return {{subType == 1 ? NeteasePpPhotos : NeteasePhotos}};
        case 3:
            if (subType == 10) {
                return {{RenrenZhanPhotos}};
            }
            return {{RenrenNewLayoutPhotos, RenrenClassicPhotos, RenrenViewerWalk}};
        case 4:
            if (subType == 1) {
                return {{SinaBlogArticlePhotos}};
            }
            return {{subType == 2 ? SinaWeiboPhotos : SinaBlogAlbumPhotos}};
        case 5:
            return {{Photos56}};
        case 6:
            return {{PocoPhotos}};
        case 7:
            return {{subType == 1 ? YupooNewPhotos : YupooOldPhotos}};
        case 8:
            return {{Photos51}};
        case 9:
            return {{subType == 1 ? ZolProductPhotos : ZolAlbumPhotos}};
        case 10:
            return {{subType == 1 ? DoubanPhotos : PchomePhotos}};
        case 11:
            return ShopSources(subType);
        case 12:
            return {{MokoPhotos}};
        case 13:
            return {{subType != 0 ? BabytreeSecondFormPhotos : BabytreeFirstFormPhotos}};
        case 14:
            return {{PconlinePhotos}};
        case 15:
            return {{HupuPhotos}};
        case 16:
            return {{subType == 1 ? ZolProductPhotos : JdPhotos}};
        case 17:
            return {{subType != 0 ? SzwegoPhotos : InstagramPhotos}};
        case 18:
            return {{subType != 0 ? HuabanPhotos : DuitangPhotos}};
        case 19:
            return {{LofterPhotos}};
        case 20:
            return {{TopitPhotos}};
        default:
            return std::nullopt;
    }
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
        if (const PictureListAdapter adapter = PictureListAdapterFor(source)) {
            adapter(state, albumIndex);
        }
    }
}

}  // namespace mosaiq
