#include "core/settings_rules.h"

#include "core/naming.h"

#include <QStringList>

#include <limits>

namespace mosaiq {

namespace {

constexpr int kMaxThreads = 15;
constexpr int kMinTimeoutSec = 10;

// A decimal integer in [low, 65535]. Out-of-range values are refused rather than narrowed,
// so 65537 threads never turns into 1.
std::optional<uint16_t> ParseField(const QString& text, int low) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < low || value > std::numeric_limits<uint16_t>::max()) {
        return std::nullopt;
    }
    return uint16_t(value);
}

}  // namespace

DownloadSettingsTexts DownloadSettingsShown(const DownloadSlot& slot) {
    return {QString::number(slot.threadCount), QString::number(slot.timeoutSec),
            QString::number(slot.minSizeK), QString::number(slot.maxSizeK)};
}

std::optional<DownloadSlot> ParseDownloadSettings(const DownloadSettingsTexts& texts) {
    const auto threads = ParseField(texts.threadCount, 1);
    const auto timeout = ParseField(texts.timeoutSec, kMinTimeoutSec);
    const auto minSize = ParseField(texts.minSizeK, 0);
    const auto maxSize = ParseField(texts.maxSizeK, 0);
    if (!threads || *threads > kMaxThreads || !timeout || !minSize || !maxSize) {
        return std::nullopt;
    }
    DownloadSlot slot;
    slot.threadCount = *threads;
    slot.timeoutSec = *timeout;
    slot.minSizeK = *minSize;
    slot.maxSizeK = *maxSize;
    return slot;
}

QString ParameterErrorText() {
    return QStringLiteral("参数错误");
}

SaveSettingsInput SaveSettingsShown(const NamingEntry& entry) {
    return {entry.picPrefix,   entry.picSuffix,   entry.replaceFrom,   entry.replaceTo,
            entry.albumPrefix, entry.albumSuffix, entry.picNameSource, entry.albumFolder};
}

bool ApplySaveSettings(NamingEntry& entry, const SaveSettingsInput& input) {
    if (input.picNameSource < 0 || input.picNameSource > 2 || input.albumFolder < 0 ||
        input.albumFolder > 1) {
        return false;
    }
    entry.picPrefix = CutAtCharacter(input.picPrefix, kSaveSettingsTextLimit);
    entry.picSuffix = CutAtCharacter(input.picSuffix, kSaveSettingsTextLimit);
    entry.replaceFrom = CutAtCharacter(input.replaceFrom, kSaveSettingsTextLimit);
    entry.replaceTo = CutAtCharacter(input.replaceTo, kSaveSettingsTextLimit);
    entry.albumPrefix = CutAtCharacter(input.albumPrefix, kSaveSettingsTextLimit);
    entry.albumSuffix = CutAtCharacter(input.albumSuffix, kSaveSettingsTextLimit);
    entry.picNameSource = uint8_t(input.picNameSource);
    entry.albumFolder = uint8_t(input.albumFolder);
    return true;
}

QString NamingHelpText() {
    return QStringList{
        QStringLiteral("设置前后缀，可以在图片本来的文件名前后加上指定的字符\n"
                       "如：图片本来的文件名为：lumen.jpg，如果前缀为空，后缀为_com\n"
                       "则最后图片名将变为lumen_com.jpg\n"),
        QStringLiteral("如果前缀为www_，后缀为_com\n则最后图片名将变为www_lumen_com.jpg\n"),
        QStringLiteral("相册名那里前后缀一样\n"
                       "同时，支持转义字符，当前后缀中含有转义字符时，"
                       "程序会将转义字符转换为转义字符所表示的字符串\n"),
        QStringLiteral("转义字符如下（问号为英文的问号，相册名的转义字符只支持?1,?3,?9）：\n"),
        QStringLiteral("?1:相册名称\n"
                       "?2:图片在相册中的序号\n"
                       "?3:相册在列表中的序号(格式为：1,2,3...)\n"
                       "?4:相册在列表中的序号(倒序)\n"
                       "?5:相册创建时间(仅QQ群相册有效)\n"
                       "?6:选中的相册数\n"
                       "?7:总共的相册数(选中的+未选中的)\n"
                       "?9:相册在列表中的序号(格式为：0001,0002,0003...)\n"
                       "?A:图片在相册中的序号(格式为：0001,0002,0003...)\n"),
    }
        .join(QString());
}

void ToggleOption(NamingEntry& entry, SettingsOption bit) {
    entry.options ^= bit;
    const bool turnedOn = (entry.options & bit) != 0;
    if (turnedOn && bit == kOptionShopMainOnly) {
        entry.options &= uint16_t(~kOptionShopDescOnly);
    } else if (turnedOn && bit == kOptionShopDescOnly) {
        entry.options &= uint16_t(~kOptionShopMainOnly);
    }
}

}  // namespace mosaiq
