#pragma once

#include "jobs/job_thread.h"

namespace mosaiq {

// Fetches the album in g_pictureQueue() with up to g_threadCount workers: clears
// g_stopWorkers and starts the monitor DownPicFunc. The download job waits for the returned
// thread; it was not started when Started() is false.
JobThread DownProc();

// The monitor: keeps min(g_threadCount, pictures) workers busy, one picture each, writes
// "已下载%d/%d......" to the queue's progress window and ends when every picture was tried
// or g_stopWorkers is set (workers still fetching then finish on their own). With one
// thread, consecutive pictures are 2 seconds apart.
void DownPicFunc();

}  // namespace mosaiq
