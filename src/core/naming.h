#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace mosaiq {

struct JobState;

// SanitizeName's fallback number that asks for the local time "%Y%m%d%H%M%S" in place of
// "pic%d".
inline constexpr uint32_t kTimeStampFallback = 0xFFFF;

// Names of 1000 characters or more are replaced when a fallback is asked for.
inline constexpr int kFallbackNameLength = 1000;

// Cleans a text that becomes (part of) one file or folder name, in place: entities decoded,
// blanks folded, separators, drive colons and other reserved characters removed, dots
// trimmed. With `fallback`, an empty or overlong result becomes "pic<n>" or, for
// kTimeStampFallback, the local time.
void SanitizeName(QString& text, uint32_t n, bool fallback);

// SanitizeName's character rules alone (no entity decoding, no fallback), for texts that
// were decoded already.
void MakeNameSafe(QString& text);

// True when the text from the name's last "." on is a known picture or video extension
// (".jpeg", ".jpg", ".bmp", ".gif", ".png", ".tif", ".mp4"), in any letter case.
bool HasPictureExtension(const QString& name);

// What the file system takes: per name and per whole path, measured by NameSize (UTF-8
// bytes on Linux and macOS, UTF-16 units on Windows).
extern const int kMaxNameSize;
extern const int kMaxPathSize;
int NameSize(QStringView text);

// The longest start of `text` whose NameSize is at most `maxSize`, never splitting a
// surrogate pair.
QString CutToNameSize(const QString& text, int maxSize);

// The first `limit` UTF-16 units of `text`, one less when the cut would split a pair.
QString CutAtCharacter(const QString& text, int limit);

// The picture sink of the picture-list adapters. Names the picture from the current site's
// naming settings, creates the album folder at the album's first picture, applies the
// skip-downloaded-before rule and queues the picture. `extra` replaces "?B" when given
// (an empty text removes it). Site texts never become a path: every name lands inside
// the save root.
void AddPicture(JobState& state, const QString& address, const QString& description,
                const QString& headerText, int albumIndex,
                const std::optional<QString>& extra = std::nullopt);

// Queues a picture under a complete path the program chose itself (never a site text).
// The album folder must have been made by an earlier AddPicture of the same album.
// False, queueing nothing, for a path that is not absolute and clean, or at the marker.
bool AddPictureAtPath(JobState& state, const QString& address, const QString& completePath,
                      const QString& headerText);

// Where a queued file name is written: inside `folder`, or the complete path itself.
QString PictureTargetPath(const QString& folder, const QString& fileName);

}  // namespace mosaiq
