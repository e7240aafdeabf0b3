#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace mosaiq {

// Flags of TakeBetween.
enum TakeFlag : int {
    Consume = 1,  // the source then begins right after the start marker
    ToEnd = 2,    // a missing end marker gives everything after the start marker
};

// A page being walked: the text plus an offset. Consuming moves the offset only (no copy, no
// shift), so a full walk of a page costs time proportional to its length. One walker per source:
// lookups update a small cache, so a source is not shared between threads.
class TextSource {
  public:
    TextSource();
    explicit TextSource(QString text);

    // What is left of the page.
    QStringView view() const { return QStringView(m_text).sliced(m_offset); }
    QString toString() const { return view().toString(); }
    bool isEmpty() const { return size() == 0; }
    qsizetype size() const { return m_text.size() - m_offset; }

    // Drops the first `count` characters of what is left (clamped to what is left).
    void advance(qsizetype count);

    // Position in what is left of the first `marker` at or after `from`, or -1. Remembers a
    // marker that is absent from some point on, so a walk whose end marker is missing does not
    // scan the rest of the page once per item.
    qsizetype find(QStringView marker, qsizetype from = 0) const;

  private:
    QString m_text;
    qsizetype m_offset = 0;
    mutable QString m_absentMarker;
    mutable qsizetype m_absentFrom = -1;  // absolute position from which m_absentMarker is absent
};

// The text between the first start marker and the next end marker after it; the empty text when
// the start marker is missing (or the end marker is, unless ToEnd). With Consume the source then
// begins right after the start marker, so a loop until the result is empty walks every item.
QString TakeBetween(TextSource& source, QStringView start, QStringView end, int flags = 0);
// Same on a plain string; Consume drops the text through the start marker (shifts the string:
// use a TextSource to walk a large page).
QString TakeBetween(QString& source, QStringView start, QStringView end, int flags = 0);
// On a view: Consume is ignored, the source never changes.
QString TakeBetween(QStringView source, QStringView start, QStringView end, int flags = 0);

// Position of the marker before the call, or -1 (text unchanged). The text loses everything
// before the marker, and the marker too when skipMarker is set.
qsizetype SkipTo(QString& text, QStringView marker, bool skipMarker);
qsizetype SkipTo(TextSource& source, QStringView marker, bool skipMarker);

// Position of the marker, or -1 (text unchanged); the text keeps only what stands before it.
qsizetype CutAt(QString& text, QStringView marker);

// What stands before the marker, or the empty text when it is absent.
QString TakeBefore(QStringView text, QStringView marker);

// Non-overlapping occurrences, left to right; an empty marker occurs 0 times.
int CountOccurrences(QStringView text, QStringView marker);

// Returns the number of separators. With none, the list is left empty (not one piece); else it
// holds count + 1 pieces, empty ones included.
int SplitText(QStringView text, QStringView separator, QStringList& pieces);

// Decodes "\uXXXX" escapes (UTF-16 code units, so surrogate pairs come out whole).
QString UnescapeUnicode(const QString& text);

// Replaces the entities pages carry, in a fixed order ("&amp;" second).
void DecodeHtmlEntities(QString& text);

// Removes every "<tag>" occurring in the text. An empty tag "<>" ends the stripping there.
QString StripTags(const QString& text);

// Percent-decodes the text (as GBK bytes) and reads the result as UTF-8. Decoding stops at a "%"
// not followed by two hexadecimal digits; "+" stays "+".
QString UrlDecodeUtf8(const QString& text);

// Pairwise replace of "|"-separated lists when both hold as many separators; otherwise replaces
// the whole `from` text by the whole `to` text. An empty `from` piece replaces nothing.
void ReplaceList(QString& text, const QString& from, const QString& to);

// Cache-breaker text "%0.16f\n" of a fraction in [0, 1] drawn from a generator seeded by the
// current second: two calls in one second give the same text. Safe from any thread.
QString RandomFraction();
QString RandomFraction(qint64 secondsSinceEpoch);

}  // namespace mosaiq
