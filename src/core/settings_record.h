#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace mosaiq {

// Slots and entries per site type (ListType 0..23).
inline constexpr int kSettingsSlots = 24;
// Width of a naming text in the file, terminator included.
inline constexpr int kNamingTextUnits = 40;
inline constexpr int kHistoryEntries = 5;
// Width of a history text in the file, terminator included.
inline constexpr int kHistoryTextUnits = 400;
// Size of "soft.dat".
inline constexpr qsizetype kSettingsFileSize = 19808;
inline constexpr char kSettingsFileName[] = "soft.dat";

// Option bits of NamingEntry::options, one check item of the "设置" menu each.
enum SettingsOption : uint16_t {
    kOptionFixFormat = 0x0001,       // "修正图片格式"
    kOptionFixOrder = 0x0002,        // "修正图片顺序"
    kOptionNameFile = 0x0004,        // "生成图片原始名文件"
    kOptionThunderOnly = 0x0008,     // "只生成迅雷下载列表"
    kOptionOpenFolder = 0x0010,      // "下载完成后打开保存路径"
    kOptionShopMainOnly = 0x0020,    // "只下载宝贝(商品)主图"
    kOptionSkipDownloaded = 0x0040,  // "不下载以前下载过的图片"
    kOptionYupooBig = 0x0080,        // "又拍相册下载大图..."
    kOptionShopDescOnly = 0x0100,    // "只下载宝贝(商品)描述里的图片"
};

// Download values of one site type.
struct DownloadSlot {
    uint16_t minSizeK = 0;  // 0: no minimum
    uint16_t maxSizeK = 0;  // 0: no maximum
    uint16_t threadCount = 0;
    uint16_t timeoutSec = 0;
};

// Naming settings and option bits of one site type. Each text holds at most
// kNamingTextUnits - 1 UTF-16 units.
struct NamingEntry {
    QString picPrefix;
    QString picSuffix;
    QString replaceFrom;
    QString replaceTo;
    QString albumPrefix;
    QString albumSuffix;
    uint16_t options = 0;
    uint8_t picNameSource = 0;  // 0 description, 1 sequence, 2 address
    uint8_t albumFolder = 0;    // 0 album name, 1 none
};

// Everything the program keeps between runs, stored whole in "soft.dat".
struct SettingsRecord {
    std::array<DownloadSlot, kSettingsSlots> downloadSlots{};
    std::array<NamingEntry, kSettingsSlots> namingEntries{};
    std::array<QString, kHistoryEntries> addressHistory{};   // most recent first
    std::array<QString, kHistoryEntries> savePathHistory{};  // most recent first
};

enum HistoryKind : int {
    kAddressHistory = 0,
    kSavePathHistory = 1,
};

// The file image: exactly kSettingsFileSize bytes, little-endian, field by field.
QByteArray SerializeSettings(const SettingsRecord& record);
// Reads as far as `bytes` goes; what is missing stays zero.
SettingsRecord ParseSettings(const QByteArray& bytes);

// Thread counts outside 1..15 become 5, time-outs below 10 become 30; on the first run the
// per-site defaults are set as well.
void RepairSettings(SettingsRecord& record, bool firstRun);

// Reads "soft.dat" from `dataDir` (ending with a separator), repairs it, applies the
// first-run defaults when the file is missing and writes the result back.
// Returns false when the file did not exist.
bool LoadSettings(SettingsRecord& record, const QString& dataDir);

// Writes the whole record through a temporary file and a rename. A file that cannot be
// written is left as it was; the result is for callers that care, the program ignores it.
bool SaveSettings(const SettingsRecord& record, const QString& dataDir);

// Puts `text` first in the chosen history unless it is 400 units or longer or already there
// (ignoring case). True when it was inserted; the caller then saves.
bool RememberInHistory(SettingsRecord& record, int which, const QString& text);

// The slot and entry of a site type; out-of-range types use slot 0.
DownloadSlot& SlotOf(SettingsRecord& record, int listType);
NamingEntry& NamingOf(SettingsRecord& record, int listType);
const NamingEntry& NamingOf(const SettingsRecord& record, int listType);

}  // namespace mosaiq
