#include "sites/adapter_table.h"

#include "sites/qqgroup.h"
#include "sites/qzone.h"
#include "sites/tweibo.h"

namespace mosaiq {

// The only place that names the adapters. A site's adapter is plugged in by putting its
// function in place of nullptr (and including its header).

AlbumListAdapter AlbumListAdapterFor(AlbumSource source) {
    switch (source) {
        case AlbumSource::QzoneAlbums:
            return FetchQzoneAlbums;
        case AlbumSource::QzoneAlbumsOld:
            return FetchQzoneAlbumsOld;
        case AlbumSource::QqGroupAlbums:
            return FetchQqGroupAlbums;
        case AlbumSource::TweiboAlbums:
            return FetchTweiboAlbums;
        case AlbumSource::BaiduAlbums:
            return nullptr;
        case AlbumSource::TiebaForumAlbums:
            return nullptr;
        case AlbumSource::TiebaPhotoAlbums:
            return nullptr;
        case AlbumSource::NeteaseAlbums:
            return nullptr;
        case AlbumSource::NeteasePpAlbums:
            return nullptr;
        case AlbumSource::RenrenNewLayoutAlbums:
            return nullptr;
        case AlbumSource::RenrenClassicAlbums:
            return nullptr;
        case AlbumSource::RenrenPublicPageAlbums:
            return nullptr;
        case AlbumSource::RenrenZhanPosts:
            return nullptr;
        case AlbumSource::SinaBlogAlbums:
            return nullptr;
        case AlbumSource::SinaBlogArticle:
            return nullptr;
        case AlbumSource::SinaWeiboAlbums:
            return nullptr;
        case AlbumSource::Albums56:
            return nullptr;
        case AlbumSource::PocoAlbums:
            return nullptr;
        case AlbumSource::YupooOldAlbums:
            return nullptr;
        case AlbumSource::YupooNewAlbums:
            return nullptr;
        case AlbumSource::Albums51:
            return nullptr;
        case AlbumSource::ZolAlbums:
            return nullptr;
        case AlbumSource::ZolProduct:
            return nullptr;
        case AlbumSource::PchomeAlbums:
            return nullptr;
        case AlbumSource::DoubanAlbums:
            return nullptr;
        case AlbumSource::TaobaoShop:
            return nullptr;
        case AlbumSource::AlibabaShop:
            return nullptr;
        case AlbumSource::Shop1688:
            return nullptr;
        case AlbumSource::AliexpressShop:
            return nullptr;
        case AlbumSource::MokoAlbums:
            return nullptr;
        case AlbumSource::BabytreeFirstForm:
            return nullptr;
        case AlbumSource::BabytreeSecondForm:
            return nullptr;
        case AlbumSource::PconlineAlbums:
            return nullptr;
        case AlbumSource::HupuAlbums:
            return nullptr;
        case AlbumSource::JdProduct:
            return nullptr;
        case AlbumSource::InstagramAlbums:
            return nullptr;
        case AlbumSource::SzwegoAlbums:
            return nullptr;
        case AlbumSource::DuitangAlbums:
            return nullptr;
        case AlbumSource::HuabanBoards:
            return nullptr;
        case AlbumSource::LofterPosts:
            return nullptr;
        case AlbumSource::TopitAlbums:
            return nullptr;
    }
    return nullptr;
}

PictureListAdapter PictureListAdapterFor(PictureSource source) {
    switch (source) {
        case PictureSource::QzonePhotos:
            return FetchQzonePhotos;
        case PictureSource::QzonePhotosOld:
            return FetchQzonePhotosOld;
        case PictureSource::QqGroupPhotos:
            return FetchQqGroupPhotos;
        case PictureSource::TweiboPhotos:
            return FetchTweiboPhotos;
        case PictureSource::BaiduPhotos:
            return nullptr;
        case PictureSource::TiebaForumPhotos:
            return nullptr;
        case PictureSource::TiebaPhotoPhotos:
            return nullptr;
        case PictureSource::NeteasePhotos:
            return nullptr;
        case PictureSource::NeteasePpPhotos:
            return nullptr;
        case PictureSource::RenrenNewLayoutPhotos:
            return nullptr;
        case PictureSource::RenrenClassicPhotos:
            return nullptr;
        case PictureSource::RenrenViewerWalk:
            return nullptr;
        case PictureSource::RenrenZhanPhotos:
            return nullptr;
        case PictureSource::SinaBlogAlbumPhotos:
            return nullptr;
        case PictureSource::SinaBlogArticlePhotos:
            return nullptr;
        case PictureSource::SinaWeiboPhotos:
            return nullptr;
        case PictureSource::Photos56:
            return nullptr;
        case PictureSource::PocoPhotos:
            return nullptr;
        case PictureSource::YupooOldPhotos:
            return nullptr;
        case PictureSource::YupooNewPhotos:
            return nullptr;
        case PictureSource::Photos51:
            return nullptr;
        case PictureSource::ZolAlbumPhotos:
            return nullptr;
        case PictureSource::ZolProductPhotos:
            return nullptr;
        case PictureSource::PchomePhotos:
            return nullptr;
        case PictureSource::DoubanPhotos:
            return nullptr;
        case PictureSource::TaobaoPhotos:
            return nullptr;
        case PictureSource::AlibabaPhotos:
            return nullptr;
        case PictureSource::Photos1688:
            return nullptr;
        case PictureSource::AliexpressPhotosFirstForm:
            return nullptr;
        case PictureSource::AliexpressPhotosSecondForm:
            return nullptr;
        case PictureSource::MokoPhotos:
            return nullptr;
        case PictureSource::BabytreeFirstFormPhotos:
            return nullptr;
        case PictureSource::BabytreeSecondFormPhotos:
            return nullptr;
        case PictureSource::PconlinePhotos:
            return nullptr;
        case PictureSource::HupuPhotos:
            return nullptr;
        case PictureSource::JdPhotos:
            return nullptr;
        case PictureSource::InstagramPhotos:
            return nullptr;
        case PictureSource::SzwegoPhotos:
            return nullptr;
        case PictureSource::DuitangPhotos:
            return nullptr;
        case PictureSource::HuabanPhotos:
            return nullptr;
        case PictureSource::LofterPhotos:
            return nullptr;
        case PictureSource::TopitPhotos:
            return nullptr;
    }
    return nullptr;
}

// Waits for the HTTP client of the web layer.
PageFetcher DispatchPageFetcher() {
    return nullptr;
}

}  // namespace mosaiq
