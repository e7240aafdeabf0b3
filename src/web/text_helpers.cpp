#include "web/text_helpers.h"

#include "web/codepage.h"

#include <QByteArray>

#include <ctime>
#include <random>
#include <utility>

namespace mosaiq {

TextSource::TextSource() = default;

TextSource::TextSource(QString text) : m_text(std::move(text)) {}

void TextSource::advance(qsizetype count) {
    m_offset += qBound(qsizetype(0), count, size());
}

qsizetype TextSource::find(QStringView marker, qsizetype from) const {
    const qsizetype absoluteFrom = m_offset + from;
    if (m_absentFrom >= 0 && absoluteFrom >= m_absentFrom && marker == m_absentMarker) {
        return -1;
    }
    const qsizetype found = QStringView(m_text).indexOf(marker, absoluteFrom);
    if (found < 0) {
        m_absentMarker = marker.toString();
        m_absentFrom = absoluteFrom;
        return -1;
    }
    return found - m_offset;
}

namespace {

// Where the text after the start marker begins (-1: start marker missing), which is also where
// the result begins, and the result's length.
struct Take {
    qsizetype afterStart = -1;
    qsizetype resultLength = 0;
};

template <typename Find>
Take Locate(qsizetype viewSize, QStringView start, QStringView end, int flags, Find find) {
    Take take;
    const qsizetype at = find(start, 0);
    if (at < 0) {
        return take;
    }
    take.afterStart = at + start.size();
    const qsizetype endAt = find(end, take.afterStart);
    if (endAt >= 0) {
        take.resultLength = endAt - take.afterStart;
    } else if (flags & ToEnd) {
        take.resultLength = viewSize - take.afterStart;
    }
    return take;
}

Take LocateIn(QStringView view, QStringView start, QStringView end, int flags) {
    return Locate(view.size(), start, end, flags, [view](QStringView marker, qsizetype from) {
        return view.indexOf(marker, from);
    });
}

}  // namespace

QString TakeBetween(TextSource& source, QStringView start, QStringView end, int flags) {
    const Take take =
        Locate(source.size(), start, end, flags,
               [&source](QStringView marker, qsizetype from) { return source.find(marker, from); });
    if (take.afterStart < 0) {
        return {};
    }
    QString result = source.view().sliced(take.afterStart, take.resultLength).toString();
    if (flags & Consume) {
        source.advance(take.afterStart);
    }
    return result;
}

QString TakeBetween(QString& source, QStringView start, QStringView end, int flags) {
    const Take take = LocateIn(source, start, end, flags);
    if (take.afterStart < 0) {
        return {};
    }
    QString result = source.sliced(take.afterStart, take.resultLength);
    if (flags & Consume) {
        source.remove(0, take.afterStart);
    }
    return result;
}

QString TakeBetween(QStringView source, QStringView start, QStringView end, int flags) {
    const Take take = LocateIn(source, start, end, flags);
    if (take.afterStart < 0) {
        return {};
    }
    return source.sliced(take.afterStart, take.resultLength).toString();
}

qsizetype SkipTo(QString& text, QStringView marker, bool skipMarker) {
    const qsizetype at = text.indexOf(marker);
    if (at >= 0) {
        text.remove(0, at + (skipMarker ? marker.size() : 0));
    }
    return at;
}

qsizetype SkipTo(TextSource& source, QStringView marker, bool skipMarker) {
    const qsizetype at = source.find(marker);
    if (at >= 0) {
        source.advance(at + (skipMarker ? marker.size() : 0));
    }
    return at;
}

qsizetype CutAt(QString& text, QStringView marker) {
    const qsizetype at = text.indexOf(marker);
    if (at >= 0) {
        text.truncate(at);
    }
    return at;
}

QString TakeBefore(QStringView text, QStringView marker) {
    const qsizetype at = text.indexOf(marker);
    return at < 0 ? QString() : text.first(at).toString();
}

int CountOccurrences(QStringView text, QStringView marker) {
    if (marker.isEmpty()) {
        return 0;
    }
    int count = 0;
    for (qsizetype at = text.indexOf(marker); at >= 0; at = text.indexOf(marker, at)) {
        ++count;
        at += marker.size();
    }
    return count;
}

int SplitText(QStringView text, QStringView separator, QStringList& pieces) {
    pieces.clear();
    const int count = CountOccurrences(text, separator);
    if (count < 1) {
        return 0;
    }
    pieces.reserve(count + 1);
    for (QStringView piece : text.split(separator)) {
        pieces.append(piece.toString());
    }
    return count;
}

namespace {

// Value of one hexadecimal digit, or -1.
int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// The code of four hexadecimal digits, or -1 when any of them is not one.
int HexCode(QStringView digits) {
    int code = 0;
    for (QChar c : digits) {
        const int digit = HexDigit(c.unicode());
        if (digit < 0) {
            return -1;
        }
        code = code * 16 + digit;
    }
    return code;
}

}  // namespace

QString UnescapeUnicode(const QString& text) {
    static constexpr QStringView kEscape = u"\\u";
    qsizetype at = text.indexOf(kEscape);
    if (at < 0) {
        return text;
    }
    QString result;
    result.reserve(text.size());
    result.append(QStringView(text).first(at));
    const QStringView view(text);
    while (at >= 0) {
        const qsizetype pieceStart = at + kEscape.size();
        const qsizetype next = view.indexOf(kEscape, pieceStart);
        const QStringView piece =
            view.sliced(pieceStart, (next < 0 ? view.size() : next) - pieceStart);
        const int code = piece.size() >= 4 ? HexCode(piece.first(4)) : -1;
        if (code < 0) {
            // Not an escape: the text stays, only the "\u" goes.
            result.append(piece);
        } else {
            // A zero character would cut every later use of the text (file names, C strings).
            if (code != 0) {
                result.append(QChar(char16_t(code)));
            }
            result.append(piece.sliced(4));
        }
        at = next;
    }
    return result;
}

void DecodeHtmlEntities(QString& text) {
    static const std::pair<QStringView, QStringView> kEntities[] = {
        {u"&quot;", u"\""}, {u"&amp;", u"&"},         {u"&lt;", u"<"},  {u"&gt;", u">"},
        {u"&nbsp;", u" "},  {u"&hellip;", u"\u2026"}, {u"&#39;", u"'"}, {u"&#092;", u"\\"},
    };
    if (!text.contains(u'&')) {
        return;
    }
    for (const auto& [entity, replacement] : kEntities) {
        text.replace(entity.data(), entity.size(), replacement.data(), replacement.size());
    }
}

QString StripTags(const QString& text) {
    QString result = text;
    TextSource source(text);
    for (;;) {
        QString tag = TakeBetween(source, u"<", u">", Consume);
        if (tag.isEmpty()) {
            return result;
        }
        // A "<" standing for itself ("1 < 2") is not the start of the tag that follows it.
        const qsizetype innerStart = tag.lastIndexOf(u'<');
        if (innerStart >= 0) {
            tag = tag.sliced(innerStart + 1);
            if (tag.isEmpty()) {
                return result;
            }
        }
        result.remove(u'<' + tag + u'>');
    }
}

QString UrlDecodeUtf8(const QString& text) {
    const QByteArray encoded = TextToGbk(text);
    QByteArray decoded;
    decoded.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c != '%') {
            decoded.append(c);
            continue;
        }
        const int high = i + 2 < encoded.size() ? HexDigit(uchar(encoded[i + 1])) : -1;
        const int low = i + 2 < encoded.size() ? HexDigit(uchar(encoded[i + 2])) : -1;
        if (high < 0 || low < 0) {
            break;
        }
        decoded.append(char(high * 16 + low));
        i += 2;
    }
    return BytesToText(decoded, kCodePageUtf8);
}

void ReplaceList(QString& text, const QString& from, const QString& to) {
    static constexpr QStringView kSeparator = u"|";
    QStringList fromPieces;
    QStringList toPieces;
    const int fromCount = SplitText(from, kSeparator, fromPieces);
    const int toCount = SplitText(to, kSeparator, toPieces);
    if (fromCount == 0 || fromCount != toCount) {
        fromPieces = {from};
        toPieces = {to};
    }
    for (qsizetype i = 0; i < fromPieces.size(); ++i) {
        if (!fromPieces[i].isEmpty()) {
            text.replace(fromPieces[i], toPieces[i]);
        }
    }
}

QString RandomFraction(qint64 secondsSinceEpoch) {
    // A generator of its own per call: workers call this at once, and the text must depend on
    // the second only.
    std::minstd_rand generator{static_cast<std::minstd_rand::result_type>(secondsSinceEpoch)};
    const int r = int(generator() % 32768);
    return QString::asprintf("%0.16f\n", r / 32767.0);
}

QString RandomFraction() {
    return RandomFraction(qint64(std::time(nullptr)));
}

}  // namespace mosaiq
