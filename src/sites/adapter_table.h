#pragma once

#include <QString>

namespace mosaiq {

struct JobState;

// The adapter contract: an album-list adapter delivers albums through AppendAndShow, a
// picture-list adapter delivers the pictures of record `albumIndex` through AddPicture.
using AlbumListAdapter = void (*)(JobState& state, const QString& input);
using PictureListAdapter = void (*)(JobState& state, int albumIndex);

// Every album-list adapter the dispatch can call.
enum class AlbumSource {
    QzoneAlbums,
    QzoneAlbumsOld,
    QqGroupAlbums,
    TweiboAlbums,
    BaiduAlbums,
    TiebaForumAlbums,
    TiebaPhotoAlbums,
    NeteaseAlbums,
    NeteasePpAlbums,
    RenrenNewLayoutAlbums,
    RenrenClassicAlbums,
    RenrenPublicPageAlbums,
    RenrenZhanPosts,
    SinaBlogAlbums,
    SinaBlogArticle,
    SinaWeiboAlbums,
    Albums56,
    PocoAlbums,
    YupooOldAlbums,
    YupooNewAlbums,
    Albums51,
    ZolAlbums,
    ZolProduct,
    PchomeAlbums,
    DoubanAlbums,
    TaobaoShop,
    AlibabaShop,
    Shop1688,
    AliexpressShop,
    MokoAlbums,
    BabytreeFirstForm,
    BabytreeSecondForm,
    PconlineAlbums,
    HupuAlbums,
    JdProduct,
    InstagramAlbums,
    SzwegoAlbums,
    DuitangAlbums,
    HuabanBoards,
    LofterPosts,
    TopitAlbums,
};

// Every picture-list adapter the dispatch can call.
enum class PictureSource {
    QzonePhotos,
    QzonePhotosOld,
    QqGroupPhotos,
    TweiboPhotos,
    BaiduPhotos,
    TiebaForumPhotos,
    TiebaPhotoPhotos,
    NeteasePhotos,
    NeteasePpPhotos,
    RenrenNewLayoutPhotos,
    RenrenClassicPhotos,
    RenrenViewerWalk,
    RenrenZhanPhotos,
    SinaBlogAlbumPhotos,
    SinaBlogArticlePhotos,
    SinaWeiboPhotos,
    Photos56,
    PocoPhotos,
    YupooOldPhotos,
    YupooNewPhotos,
    Photos51,
    ZolAlbumPhotos,
    ZolProductPhotos,
    PchomePhotos,
    DoubanPhotos,
    TaobaoPhotos,
    AlibabaPhotos,
    Photos1688,
    AliexpressPhotosFirstForm,
    AliexpressPhotosSecondForm,
    MokoPhotos,
    BabytreeFirstFormPhotos,
    BabytreeSecondFormPhotos,
    PconlinePhotos,
    HupuPhotos,
    JdPhotos,
    InstagramPhotos,
    SzwegoPhotos,
    DuitangPhotos,
    HuabanPhotos,
    LofterPhotos,
    TopitPhotos,
};

// The adapter behind a source; nullptr while that site's adapter is not built.
AlbumListAdapter AlbumListAdapterFor(AlbumSource source);
PictureListAdapter PictureListAdapterFor(PictureSource source);

}  // namespace mosaiq
