#include "core/picture_queue.h"

namespace mosaiq {

PictureQueue& g_pictureQueue() {
    static PictureQueue* queue = new PictureQueue;  // never freed: workers may outlive main()
    return *queue;
}

}  // namespace mosaiq
