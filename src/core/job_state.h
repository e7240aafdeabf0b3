#pragma once

#include "core/album_record.h"
#include "core/cover_pool.h"
#include "core/settings_record.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <map>

namespace mosaiq {

class Frontend;

// m_listState: the album-list job's phase and the stop the window asks for.
enum class ListState : uint8_t { Idle = 0, Running = 1, StopRequested = 2 };
// m_downState: the download job's phase; an album may end early (the skip-downloaded-before
// marker) or the user may stop the whole job.
enum class DownState : uint8_t { Idle = 0, Running = 1, AlbumDone = 2, Stopped = 3 };

// State shared by the window, the two jobs, the adapters and the workers. The window owns
// it; byte and 32-bit members polled across threads are atomics of that width.
struct JobState {
    Frontend* frontend = nullptr;

    AlbumList m_records;
    CoverPool m_covers;  // the preview covers of m_records
    SettingsRecord m_settings;
    std::atomic<int32_t> m_listType{0};
    std::atomic<int32_t> m_subType{-1};

    // Written by the job threads while a job runs; read by the window only between jobs.
    QString m_account;
    QString m_subDir;
    QString m_jobText1;
    QString m_jobText2;
    QString m_jobText3;
    QString m_dataDir;    // "log.err", "tb.txt"; ends with a separator
    QString m_configDir;  // the settings files; the data folder when empty
    QString m_cacheDir;   // the thumbnails; the data folder when empty
    QString m_marker;
    // Album folders this download made, folded path to album index: two albums whose names
    // only differ past the cut to the file system's limit must not share a folder.
    std::map<QString, int> m_albumFolders;
    QString m_filterText;

    std::atomic<uint8_t> m_ready{0};
    std::atomic<ListState> m_listState{ListState::Idle};
    std::atomic<DownState> m_downState{DownState::Idle};
    std::atomic<uint8_t> m_thumbState{0};
    std::atomic<uint8_t> m_thumbMode{0};
    uint8_t m_thumbsPerRow = 6;
    uint8_t m_thumbWidth = 113;
    uint8_t m_thumbHeight = 120;
    std::atomic<uint8_t> m_loginMode1{1};

    // Extension settings ("下载器扩展设置.ini"), read again at the start of each job.
    int m_qzoneV2Encoding = 0;  // decode flags
    int m_qzoneV3Encoding = 0;
    uint8_t m_qzoneOrigName = 1;
    uint8_t m_qzoneBigPicture = 0;
    uint8_t m_taobaoPriceInName = 0;
    uint8_t m_taobaoTraditional = 0;
    int32_t m_taobaoPriceDelta = 0;
    uint8_t m_jdSource = 1;
};

// The album-list adapters' stop check.
inline bool ListStopRequested(const JobState& state) {
    return state.m_listState.load() == ListState::StopRequested;
}
// The picture-list adapters' check: the user stopped, or the album ended early.
inline bool DownloadShouldEnd(const JobState& state) {
    const DownState s = state.m_downState.load();
    return s == DownState::AlbumDone || s == DownState::Stopped;
}

}  // namespace mosaiq
