#include "core/folder_path.h"
#include "core/frontend.h"
#include "core/job_state.h"
#include "core/naming.h"
#include "core/picture_queue.h"
#include "core/site_type.h"
#include "web/codepage.h"
#include "web/text_helpers.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <filesystem>
#include <mutex>
#include <utility>
#include <vector>

namespace mosaiq {

namespace {

constexpr int kPartPathLimit = 250;  // characters of folder plus name, the Windows rule
constexpr int kMinNameRoom = 64;     // room an album folder leaves for its file names
constexpr qint64 kMarkerReadLimit = 64 * 1024;
const QString kDefaultExtension = QStringLiteral(".jpg");

using Escapes = std::vector<std::pair<QString, QString>>;

// The escape codes of file names, in the order they are replaced.
Escapes FileEscapes(const JobState& state, const ST_PERLISTRECORD& record, int sequence,
                    const std::optional<QString>& extra) {
    const int count = state.m_records.Size();
    Escapes escapes = {
        {QStringLiteral("?1"), record.title},
        {QStringLiteral("?2"), QString::number(sequence)},
        {QStringLiteral("?3"), QString::number(record.index + 1)},
        {QStringLiteral("?4"), QString::number(count - record.index)},
    };
    // The creation-date escape is the QQ family's.
    if (state.m_listType == SiteTypeValue(SiteType::QqFamily)) {
        escapes.push_back({QStringLiteral("?5"), record.createdText});
    }
    escapes.push_back({QStringLiteral("?6"), QString::number(state.m_records.checkedCount)});
    escapes.push_back({QStringLiteral("?7"), QString::number(count)});
    escapes.push_back({QStringLiteral("?8"), state.m_account});
    escapes.push_back({QStringLiteral("?9"),
                       QStringLiteral("%1").arg(record.index + 1, 4, 10, QLatin1Char('0'))});
    escapes.push_back(
        {QStringLiteral("?A"), QStringLiteral("%1").arg(sequence, 4, 10, QLatin1Char('0'))});
    if (extra) {
        escapes.push_back({QStringLiteral("?B"), *extra});
    }
    return escapes;
}

// The escape codes album folder names know.
Escapes FolderEscapes(const JobState& state, const ST_PERLISTRECORD& record) {
    const Escapes all = FileEscapes(state, record, 0, std::nullopt);
    Escapes escapes;
    for (const auto& escape : all) {
        if (escape.first == u"?1" || escape.first == u"?3" || escape.first == u"?4" ||
            escape.first == u"?5" || escape.first == u"?9") {
            escapes.push_back(escape);
        }
    }
    return escapes;
}

void ReplaceEscapes(QString& text, const Escapes& escapes) {
    for (const auto& [code, value] : escapes) {
        text.replace(code, value);
    }
}

QString NormalizedAddress(QString address) {
    address.replace(QStringLiteral("Http:"), QStringLiteral("http:"));
    if (!address.contains(u"http") && !address.contains(u"HTTP")) {
        address.prepend(u"http:");
    }
    return address;
}

// A folder name that fits one name and leaves the path room for the file names.
QString FittedFolderName(QString name, const QString& root) {
    const int room = kMaxPathSize - NameSize(root) - 1 - kMinNameRoom;
    name = CutToNameSize(name, std::min(kMaxNameSize, room));
    // The cut may leave a trailing blank or dot, which Windows drops.
    MakeNameSafe(name);
    return name;
}

void TouchFolder(const QString& folder) {
    std::error_code ignored;
    std::filesystem::last_write_time(std::filesystem::path(folder.toStdU16String()),
                                     std::filesystem::file_time_type::clock::now(), ignored);
}

QString ReadMarker(const QString& folder) {
    QFile file(folder + QStringLiteral("pic.kel"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray line = file.read(kMarkerReadLimit);
    const qsizetype end = line.indexOf('\n');
    if (end >= 0) {
        line.truncate(end);
    }
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return AnsiToText(line);
}

// The fitted folder name, with " (n)" when another album of this download has it already.
QString UnusedFolderName(JobState& state, const QString& name, const QString& root, int album) {
    QString candidate = FittedFolderName(name, root);
    for (int counter = 2;; ++counter) {
        const auto [at, inserted] =
            state.m_albumFolders.try_emplace((root + candidate).toCaseFolded(), album);
        if (inserted || at->second == album) {
            return candidate;
        }
        const QString suffix = QStringLiteral(" (%1)").arg(counter);
        const QString fitted = FittedFolderName(name, root);
        candidate = CutToNameSize(fitted, NameSize(fitted) - NameSize(suffix)) + suffix;
    }
}

// At the album's first picture: the album folder under the save root, and its marker.
void OpenAlbumFolder(JobState& state, PictureQueue& queue, const ST_PERLISTRECORD& record) {
    const NamingEntry& naming = NamingOf(state.m_settings, state.m_listType);
    QString folder = naming.albumFolder == 0 ? record.title : QString();
    folder = naming.albumPrefix + folder + naming.albumSuffix;
    ReplaceEscapes(folder, FolderEscapes(state, record));
    SanitizeName(folder, 0, false);
    queue.folder = WithSeparator(queue.folder);
    if (!folder.isEmpty()) {
        folder = UnusedFolderName(state, folder, queue.folder, record.index);
    }
    if (!folder.isEmpty()) {
        queue.folder += folder + QDir::separator();
    }
    QDir().mkdir(queue.folder);
    TouchFolder(queue.folder);
    state.m_marker = ReadMarker(queue.folder);
}

// Folded file names of the queue and the next collision counter per base, so that an album
// of thousands of same-named pictures does not cost a scan per candidate. Rebuilt whenever
// the queue changed behind its back (cleared, or filled by other means).
class QueueNames {
  public:
    void Sync(const PictureQueue& queue) {
        if (m_count == queue.Count() &&
            (m_count == 0 || m_last == queue.Row(m_count - 1).fileName)) {
            return;
        }
        m_names.clear();
        m_nextCounter.clear();
        for (const PictureEntry& entry : queue.entries) {
            m_names.insert(entry.fileName.toCaseFolded());
        }
        m_count = queue.Count();
        m_last = m_count > 0 ? queue.Row(m_count - 1).fileName : QString();
    }
    bool Contains(const QString& name) const { return m_names.contains(name.toCaseFolded()); }
    uint32_t& NextCounter(const QString& base) {
        uint32_t& counter = m_nextCounter[base.toCaseFolded()];
        counter = std::max<uint32_t>(counter, 1);
        return counter;
    }
    void Added(const QString& name) {
        m_names.insert(name.toCaseFolded());
        m_last = name;
        ++m_count;
    }

  private:
    QSet<QString> m_names;
    QHash<QString, uint32_t> m_nextCounter;
    int m_count = 0;
    QString m_last;
};

std::mutex g_queueNamesMutex;
QueueNames g_queueNames;

// `stem` + `ext` cut so that the name fits one name and the path `folder` + name fits too.
QString FittedFileName(const QString& stem, const QString& ext, const QString& folder) {
    const int room = std::min(kMaxNameSize, kMaxPathSize - NameSize(folder));
    return CutToNameSize(stem, room - NameSize(ext)) + ext;
}

QString CollisionFreeName(QueueNames& names, const QString& name, const QString& ext,
                          const QString& base, const QString& folder) {
    QString candidate = FittedFileName(name, ext, folder);
    if (!names.Contains(candidate)) {
        return candidate;
    }
    uint32_t& counter = names.NextCounter(base);
    for (;; ++counter) {
        // The counter is kept whole; the base gives way when the name is too long.
        candidate = FittedFileName(base, QStringLiteral("(%1)").arg(counter) + ext, folder);
        if (!names.Contains(candidate)) {
            ++counter;
            return candidate;
        }
    }
}

void AppendDescription(const QString& folder, const QString& title, const QString& description,
                       bool first) {
    QString stem = title;
    MakeNameSafe(stem);
    const QString ext = QStringLiteral(".txt");
    QFile file(folder + FittedFileName(stem, ext, folder));
    if (first) {
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return;
        }
        file.write("\xFF\xFE", 2);
    } else {
        if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) || !file.seek(file.size())) {
            return;
        }
    }
    const QString line = description + QStringLiteral("\r\n");
    QByteArray bytes;
    bytes.reserve(line.size() * 2);
    for (QChar c : line) {
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    }
    file.write(bytes);
}

void ReportCount(JobState& state, int count) {
    if (state.frontend != nullptr) {
        state.frontend->SetStatusText(StatusLine::Progress,
                                      QStringLiteral("已获取到%1张图片信息").arg(count));
    }
}

// True when the skip-downloaded-before rule ends the album at this address. The marker is one
// line, so an address with a fallback after CR LF is compared by its first line.
bool MeetsMarker(JobState& state, const QString& address) {
    const NamingEntry& naming = NamingOf(state.m_settings, state.m_listType);
    if ((naming.options & kOptionSkipDownloaded) != 0 && !state.m_marker.isEmpty() &&
        address.section(QStringLiteral("\r\n"), 0, 0) == state.m_marker) {
        state.m_downState = DownState::AlbumDone;
        return true;
    }
    return false;
}

}  // namespace

void AddPicture(JobState& state, const QString& rawAddress, const QString& description,
                const QString& headerText, int albumIndex, const std::optional<QString>& extra) {
    const ST_PERLISTRECORD* record = state.m_records.At(albumIndex);
    // After the marker ended the album, what an adapter still hands in was downloaded before.
    if (record == nullptr || state.m_downState.load() == DownState::AlbumDone) {
        return;
    }
    PictureQueue& queue = g_pictureQueue();
    const NamingEntry& naming = NamingOf(state.m_settings, state.m_listType);
    const QString address = NormalizedAddress(rawAddress);
    const int sequence = queue.Count() + 1;

    // A description is only ever a name, never a path: SanitizeName removes separators and
    // drive colons.
    QString name;
    if (naming.picNameSource == 0) {
        name = description;
        SanitizeName(name, 0, false);
        if (name.isEmpty()) {
            name = record->title;
        }
    } else if (naming.picNameSource == 2 && address.lastIndexOf(u'/') > 0) {
        name = address.sliced(address.lastIndexOf(u'/') + 1);
    } else {
        name = QString::number(sequence);
    }
    name = naming.picPrefix + name + naming.picSuffix;
    // Every escape code starts with "?": most names have none, and need no values made.
    if (name.contains(u'?')) {
        ReplaceEscapes(name, FileEscapes(state, *record, sequence, extra));
    }
    ReplaceList(name, naming.replaceFrom, naming.replaceTo);
    SanitizeName(name, kTimeStampFallback, true);

    if (queue.Count() == 0) {
        OpenAlbumFolder(state, queue, *record);
    }
    const qsizetype partLimit = kPartPathLimit - queue.folder.size();
    if (partLimit > 0 && name.size() > partLimit) {
        name = CutAtCharacter(name, int(partLimit));
    }
    const QString base = name;
    QString ext = kDefaultExtension;
    if (HasPictureExtension(name)) {
        const qsizetype dot = name.lastIndexOf(u'.');
        ext = name.sliced(dot);
        name.truncate(dot);
    }

    std::lock_guard lock(g_queueNamesMutex);
    g_queueNames.Sync(queue);
    // Numbered names get a counter too when the replacement lists made two of them equal:
    // two rows writing one file would lose a picture.
    name = CollisionFreeName(g_queueNames, name, ext, base, queue.folder);
    if (MeetsMarker(state, address)) {
        return;
    }
    queue.Append({address, name, headerText});
    g_queueNames.Added(name);
    ReportCount(state, queue.Count());
    if ((naming.options & kOptionNameFile) != 0) {
        AppendDescription(queue.folder, record->title, description, queue.Count() == 1);
    }
}

bool AddPictureAtPath(JobState& state, const QString& rawAddress, const QString& completePath,
                      const QString& headerText) {
    if (!QDir::isAbsolutePath(completePath) ||
        QDir::cleanPath(completePath) != QDir::fromNativeSeparators(completePath)) {
        return false;
    }
    const QString address = NormalizedAddress(rawAddress);
    if (state.m_downState.load() == DownState::AlbumDone || MeetsMarker(state, address)) {
        return false;
    }
    PictureQueue& queue = g_pictureQueue();
    queue.Append({address, completePath, headerText});
    ReportCount(state, queue.Count());
    return true;
}

}  // namespace mosaiq
