#pragma once

#include "core/settings_record.h"

#include <QString>

#include <optional>

namespace mosaiq {

// The rules of the two settings dialogs and the option menu; the widgets only show and
// collect these values.

// The four edits of CDlgDownSet, as typed.
struct DownloadSettingsTexts {
    QString threadCount;
    QString timeoutSec;
    QString minSizeK;
    QString maxSizeK;
};

// What CDlgDownSet shows on opening: each field as a decimal number.
DownloadSettingsTexts DownloadSettingsShown(const DownloadSlot& slot);

// The slot to store on "确 定", or nullopt when the input is invalid (the dialog then shows
// ParameterErrorText() and stays open): threads 1..15, time-out at least 10, every value a
// decimal integer that fits 16 bits unsigned.
std::optional<DownloadSlot> ParseDownloadSettings(const DownloadSettingsTexts& texts);

// "参数错误"
QString ParameterErrorText();

// The edits and radio groups of CDlgSaveSet.
struct SaveSettingsInput {
    QString picPrefix;
    QString picSuffix;
    QString replaceFrom;
    QString replaceTo;
    QString albumPrefix;
    QString albumSuffix;
    int picNameSource = 0;  // radio 1016..1018 as 0..2
    int albumFolder = 0;    // radio 1019..1020 as 0..1
};

// Longest text an edit of CDlgSaveSet stores.
inline constexpr int kSaveSettingsTextLimit = 38;

// What CDlgSaveSet shows on opening.
SaveSettingsInput SaveSettingsShown(const NamingEntry& entry);

// Stores the input on "确 定": each text cut to its first 38 characters, the radio choices
// as bytes. False, storing nothing, when a radio choice is out of range (the dialog stays
// open).
bool ApplySaveSettings(NamingEntry& entry, const SaveSettingsInput& input);

// The message box of the link "前后缀说明".
QString NamingHelpText();

// A check item of the "设置" menu: flips `bit`; turning one of the two shop choices
// (0x0020, 0x0100) on clears the other. The caller saves.
void ToggleOption(NamingEntry& entry, SettingsOption bit);

}  // namespace mosaiq
