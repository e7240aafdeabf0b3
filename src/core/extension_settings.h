#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace mosaiq {

struct JobState;

// File name of the per-site extension settings in the data folder.
inline constexpr char16_t kExtensionSettingsFile[] = u"下载器扩展设置.ini";

// A small read-only ini file in the manner of the private-profile reads: "[section]" lines,
// "key=value" lines, ";" comments; section and key names compare ignoring case, the first
// of repeated keys wins, values are trimmed and lose one pair of surrounding quotes.
// Files may be UTF-16 (with byte-order mark), UTF-8 or GBK.
class CIni {
  public:
    static CIni FromBytes(const QByteArray& bytes);
    // nullopt when the file cannot be read.
    static std::optional<CIni> FromFile(const QString& path);

    // nullopt when the key is missing.
    std::optional<QString> Text(const QString& section, const QString& key) const;
    // The value, or `fallback` when the key is missing or its value is empty. A number is
    // read from at most 64 characters as unsigned decimal: leading digits only (a leading
    // "-" negates modulo 2^32, overflow gives the largest value), no digit gives 0.
    uint32_t Number(const QString& section, const QString& key, uint32_t fallback) const;

  private:
    struct Entry {
        QString section;  // folded
        QString key;      // folded
        QString value;
    };
    std::vector<Entry> m_entries;
};

// Decodes the bytes of a settings text file: UTF-16 LE or BE after their byte-order mark,
// UTF-8 (with or without its mark) when valid, else GBK.
QString DecodeSettingsText(const QByteArray& bytes);

// Maps an encoding text ("UTF8", "ANSI", "AUTO", "BIG5") to decode flags; a later match
// overrides an earlier one, a text matching none gives 0.
int EncodingTextToFlags(const QString& text);

// Sets the extension-settings members of `state` to their defaults, then to the values of
// "下载器扩展设置.ini" in m_dataDir when that file exists.
void ReadExtensionSettings(JobState& state);

}  // namespace mosaiq
