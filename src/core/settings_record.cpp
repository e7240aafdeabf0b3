#include "core/settings_record.h"

#include "core/site_type.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace mosaiq {

namespace {

constexpr uint16_t kDefaultThreads = 5;
constexpr uint16_t kMaxThreads = 15;
constexpr uint16_t kMinTimeoutSec = 10;
constexpr uint16_t kDefaultTimeoutSec = 30;

// Little-endian field writer over a zero-filled image.
class Writer {
  public:
    Writer() : m_bytes(kSettingsFileSize, '\0') {}

    void U8(uint8_t value) { m_bytes[m_pos++] = char(value); }
    void U16(uint16_t value) {
        U8(uint8_t(value & 0xFF));
        U8(uint8_t(value >> 8));
    }
    // Keeps room for the terminator; the rest of the field stays zero.
    void Text(const QString& text, int units) {
        const int used = std::min<int>(int(text.size()), units - 1);
        for (int i = 0; i < used; ++i) {
            U16(text[i].unicode());
        }
        m_pos += 2 * (units - used);
    }
    QByteArray Take() { return std::move(m_bytes); }

  private:
    QByteArray m_bytes;
    qsizetype m_pos = 0;
};

// Reads past the end of the image as zero, so a short file leaves the rest zero.
class Reader {
  public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}

    uint8_t U8() {
        const qsizetype pos = m_pos++;
        return pos < m_bytes.size() ? uint8_t(m_bytes[pos]) : 0;
    }
    uint16_t U16() {
        const uint16_t low = U8();
        return uint16_t(low | (U8() << 8));
    }
    QString Text(int units) {
        QString text;
        bool ended = false;
        for (int i = 0; i < units; ++i) {
            const char16_t unit = U16();
            ended = ended || unit == 0;
            if (!ended) {
                text.append(QChar(unit));
            }
        }
        return text;
    }

  private:
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
};

QString SettingsPath(const QString& dataDir) {
    return QDir(dataDir).filePath(QString::fromLatin1(kSettingsFileName));
}

size_t SlotIndex(int listType) {
    // The file keeps more slots than there are site types; anything outside them uses the QQ
    // family's slot, the first.
    const bool inFile = unsigned(listType) < unsigned(kSettingsSlots);
    return size_t(inFile ? listType : SiteTypeValue(SiteType::QqFamily));
}

void SetFirstRunDefaults(SettingsRecord& record) {
    for (int i = 0; i < kSettingsSlots; ++i) {
        NamingEntry& entry = record.namingEntries[size_t(i)];
        entry.options |= kOptionOpenFolder;
        switch (i) {
            case 7:
                entry.options |= kOptionYupooBig | kOptionFixOrder;
                break;
            case 8:
                entry.picNameSource = 1;
                break;
            case 11:
            case 16:
                entry.options |= kOptionFixOrder;
                break;
            case 17:
                entry.options |= kOptionFixFormat;
                entry.picPrefix = QStringLiteral("?2) ");
                break;
            case 18:
                record.downloadSlots[size_t(i)].threadCount = 3;
                break;
            default:
                break;
        }
    }
}

}  // namespace

QByteArray SerializeSettings(const SettingsRecord& record) {
    Writer out;
    for (const DownloadSlot& slot : record.downloadSlots) {
        out.U16(slot.minSizeK);
        out.U16(slot.maxSizeK);
        out.U16(slot.threadCount);
        out.U16(slot.timeoutSec);
    }
    for (const NamingEntry& entry : record.namingEntries) {
        for (const QString* text : {&entry.picPrefix, &entry.picSuffix, &entry.replaceFrom,
                                    &entry.replaceTo, &entry.albumPrefix, &entry.albumSuffix}) {
            out.Text(*text, kNamingTextUnits);
        }
        out.U16(entry.options);
        out.U8(entry.picNameSource);
        out.U8(entry.albumFolder);
    }
    for (const auto* history : {&record.addressHistory, &record.savePathHistory}) {
        for (const QString& text : *history) {
            out.Text(text, kHistoryTextUnits);
        }
    }
    return out.Take();
}

SettingsRecord ParseSettings(const QByteArray& bytes) {
    SettingsRecord record;
    Reader in(bytes);
    for (DownloadSlot& slot : record.downloadSlots) {
        slot.minSizeK = in.U16();
        slot.maxSizeK = in.U16();
        slot.threadCount = in.U16();
        slot.timeoutSec = in.U16();
    }
    for (NamingEntry& entry : record.namingEntries) {
        for (QString* text : {&entry.picPrefix, &entry.picSuffix, &entry.replaceFrom,
                              &entry.replaceTo, &entry.albumPrefix, &entry.albumSuffix}) {
            *text = in.Text(kNamingTextUnits);
        }
        entry.options = in.U16();
        entry.picNameSource = in.U8();
        entry.albumFolder = in.U8();
    }
    for (auto* history : {&record.addressHistory, &record.savePathHistory}) {
        for (QString& text : *history) {
            text = in.Text(kHistoryTextUnits);
        }
    }
    return record;
}

void RepairSettings(SettingsRecord& record, bool firstRun) {
    for (DownloadSlot& slot : record.downloadSlots) {
        if (slot.threadCount == 0 || slot.threadCount > kMaxThreads) {
            slot.threadCount = kDefaultThreads;
        }
        if (slot.timeoutSec < kMinTimeoutSec) {
            slot.timeoutSec = kDefaultTimeoutSec;
        }
    }
    if (firstRun) {
        SetFirstRunDefaults(record);
    }
}

bool LoadSettings(SettingsRecord& record, const QString& dataDir) {
    QFile file(SettingsPath(dataDir));
    const bool existed = file.open(QIODevice::ReadOnly);
    const QByteArray stored = existed ? file.read(kSettingsFileSize) : QByteArray();
    record = ParseSettings(stored);
    file.close();
    RepairSettings(record, !existed);
    // A file that already holds these bytes, readable by its owner only, is left untouched:
    // a rewrite would only cost a flush to disk at every start. (The "user" permission bits
    // repeat the owner's for the owner: only owner, group and other are compared.)
    const QFileDevice::Permissions modeBits =
        file.permissions() &
        ~QFileDevice::Permissions(QFileDevice::ReadUser | QFileDevice::WriteUser |
                                  QFileDevice::ExeUser);
    if (!existed || SerializeSettings(record) != stored ||
        modeBits != (QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        SaveSettings(record, dataDir);
    }
    return existed;
}

bool SaveSettings(const SettingsRecord& record, const QString& dataDir) {
    QSaveFile file(SettingsPath(dataDir));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // The histories name the user's accounts and folders: theirs alone to read.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = SerializeSettings(record);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool RememberInHistory(SettingsRecord& record, int which, const QString& text) {
    if (which != kAddressHistory && which != kSavePathHistory) {
        return false;
    }
    if (text.size() >= kHistoryTextUnits) {
        return false;
    }
    auto& history = which == kAddressHistory ? record.addressHistory : record.savePathHistory;
    for (const QString& entry : history) {
        if (entry.compare(text, Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    std::move_backward(history.begin(), history.end() - 1, history.end());
    history.front() = text;
    return true;
}

DownloadSlot& SlotOf(SettingsRecord& record, int listType) {
    return record.downloadSlots[SlotIndex(listType)];
}

NamingEntry& NamingOf(SettingsRecord& record, int listType) {
    return record.namingEntries[SlotIndex(listType)];
}

const NamingEntry& NamingOf(const SettingsRecord& record, int listType) {
    return record.namingEntries[SlotIndex(listType)];
}

}  // namespace mosaiq
