#include "core/naming.h"

#include "web/text_helpers.h"

#include <QDateTime>
#include <QDir>
#include <QStringList>

#include <algorithm>
#include <array>
#include <limits>

namespace mosaiq {

#ifdef Q_OS_WIN
const int kMaxNameSize = 255;  // UTF-16 units per name
const int kMaxPathSize = 259;  // MAX_PATH without the terminator
#else
const int kMaxNameSize = 255;   // bytes per name (NAME_MAX)
const int kMaxPathSize = 4095;  // bytes per path (PATH_MAX without the terminator)
#endif

namespace {

constexpr std::array<QStringView, 7> kPictureExtensions = {u".jpeg", u".jpg", u".bmp", u".gif",
                                                           u".png",  u".tif", u".mp4"};

// Device names Windows refuses as a file name, with or without an extension.
bool IsReservedDeviceName(QStringView stem) {
    static const QStringList kNames = [] {
        QStringList names = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                             QStringLiteral("NUL")};
        for (int i = 1; i <= 9; ++i) {
            names << QStringLiteral("COM%1").arg(i) << QStringLiteral("LPT%1").arg(i);
        }
        return names;
    }();
    const QStringView trimmed = stem.trimmed();
    if (trimmed.size() != 3 && trimmed.size() != 4) {
        return false;
    }
    return kNames.contains(trimmed.toString(), Qt::CaseInsensitive);
}

bool IsRemovedCharacter(QChar c) {
    switch (c.unicode()) {
        case u'\\':
        case u'/':
        case u':':
        case u'*':
        case u'?':
        case u'"':
        case u'<':
        case u'>':
        case u'|':
            return true;
        default:
            // Control characters (CR, LF and U+0007 among them) mean nothing in a name.
            return c.unicode() < 0x20 || c.unicode() == 0x7F;
    }
}

// Dots and blanks at the ends, until none is left (Windows drops them silently, which would
// make two names equal on disk).
void TrimDotsAndBlanks(QString& text) {
    for (;;) {
        const qsizetype before = text.size();
        while (text.endsWith(u'.')) {
            text.chop(1);
        }
        while (text.startsWith(u'.')) {
            text.remove(0, 1);
        }
        text = text.trimmed();
        if (text.size() == before) {
            return;
        }
    }
}

int CharacterSize(char32_t codePoint) {
#ifdef Q_OS_WIN
    return codePoint > 0xFFFF ? 2 : 1;
#else
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
#endif
}

// Length in UTF-16 units of the longest start of `text` of at most `maxSize`; its size goes
// to `size`.
qsizetype FittingLength(QStringView text, int maxSize, int* size = nullptr) {
    qsizetype pos = 0;
    int used = 0;
    while (pos < text.size()) {
        const bool pair =
            text[pos].isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate();
        const char32_t codePoint =
            pair ? QChar::surrogateToUcs4(text[pos], text[pos + 1]) : text[pos].unicode();
        const int next = CharacterSize(codePoint);
        if (used + next > maxSize) {
            break;
        }
        used += next;
        pos += pair ? 2 : 1;
    }
    if (size != nullptr) {
        *size = used;
    }
    return pos;
}

}  // namespace

int NameSize(QStringView text) {
    int size = 0;
    FittingLength(text, std::numeric_limits<int>::max(), &size);
    return size;
}

QString CutToNameSize(const QString& text, int maxSize) {
    return text.left(FittingLength(text, std::max(maxSize, 0)));
}

QString CutAtCharacter(const QString& text, int limit) {
    if (text.size() <= limit) {
        return text;
    }
    qsizetype cut = std::max(limit, 0);
    if (cut > 0 && text[cut - 1].isHighSurrogate()) {
        --cut;
    }
    return text.left(cut);
}

void SanitizeName(QString& text, uint32_t n, bool fallback) {
    DecodeHtmlEntities(text);
    MakeNameSafe(text);
    if (fallback && (text.isEmpty() || text.size() >= kFallbackNameLength)) {
        text = n == kTimeStampFallback
                   ? QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"))
                   : QStringLiteral("pic%1").arg(n);
    }
}

namespace {

void FoldBlanks(QString& text) {
    while (text.contains(u"  ")) {
        text.replace(QStringLiteral("  "), QStringLiteral(" "));
    }
    text = text.trimmed();
}

// True when the cleaning below would leave the text as it is, as most names are: no removed
// character, tab or surrogate, no two blanks side by side, no blank or dot at either end.
bool IsCleanName(QStringView text) {
    if (text.isEmpty()) {
        return true;
    }
    if (text.front().isSpace() || text.back().isSpace() || text.front() == u'.' ||
        text.back() == u'.') {
        return false;
    }
    QChar previous;
    for (const QChar c : text) {
        if (IsRemovedCharacter(c) || c.isSurrogate() || (c == u' ' && previous == u' ')) {
            return false;
        }
        previous = c;
    }
    return true;
}

void CleanName(QString& text) {
    FoldBlanks(text);
    if (!text.isEmpty() && text.count(u'.') == text.size()) {
        text.fill(u'。');
    }
    text.replace(u'\t', u'_');
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            kept.append(c).append(text[++i]);
        } else if (!c.isSurrogate() && !IsRemovedCharacter(c)) {
            kept.append(c);
        }
    }
    text = std::move(kept);
    // Removed characters may leave blanks side by side: folded again, so that cleaning a
    // clean name changes nothing.
    FoldBlanks(text);
    TrimDotsAndBlanks(text);
}

}  // namespace

void MakeNameSafe(QString& text) {
    if (!IsCleanName(text)) {
        CleanName(text);
    }
    const qsizetype dot = text.indexOf(u'.');
    const qsizetype stemEnd = dot < 0 ? text.size() : dot;
    if (IsReservedDeviceName(QStringView(text).first(stemEnd))) {
        text.insert(stemEnd, u'_');
    }
}

bool HasPictureExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0) {
        return false;
    }
    const QStringView extension = QStringView(name).sliced(dot);
    for (QStringView known : kPictureExtensions) {
        if (extension.compare(known, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

QString PictureTargetPath(const QString& folder, const QString& fileName) {
    return QDir::isAbsolutePath(fileName) ? fileName : folder + fileName;
}

}  // namespace mosaiq
