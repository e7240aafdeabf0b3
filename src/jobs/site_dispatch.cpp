#include "jobs/site_dispatch.h"

#include "sites/album_list_dispatch.h"
#include "sites/picture_list_dispatch.h"

namespace mosaiq {

SiteDispatch SiteTableDispatch() {
    return {&DispatchAlbumList, &DispatchPictureList};
}

}  // namespace mosaiq
