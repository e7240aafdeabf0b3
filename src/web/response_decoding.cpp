#include "web/response_decoding.h"

#include "web/codepage.h"
#include "web/reach_record.h"
#include "web/stream_inflater.h"
#include "web/text_helpers.h"

namespace mosaiq {
namespace {

QString GbkWithZeroGuard(QByteArray bytes) {
    bytes.replace('\0', '\x7F');
    QString text = AnsiToText(bytes);
    text.remove(QChar(0x7F));
    return text;
}

QString ConvertBytes(const HttpResponse& response, const QByteArray& bytes, unsigned flags) {
    // Servers write the name in either case.
    if (response.rawHeaders.contains(QLatin1String("charset=GBK"), Qt::CaseInsensitive)) {
        return (flags & GbkZeroGuard) ? GbkWithZeroGuard(bytes) : AnsiToText(bytes);
    }
    if (flags & Utf8) {
        return BytesToText(bytes, kCodePageUtf8);
    }
    if (flags & EucKr) {
        return BytesToText(bytes, kCodePageEucKr);
    }
    if (flags & Big5) {
        return BytesToText(bytes, kCodePageBig5);
    }
    if ((flags & AutoUtf8) && LooksLikeUtf8(bytes)) {
        return BytesToText(bytes, kCodePageUtf8);
    }
    return AnsiToText(bytes);
}

}  // namespace

bool ApplyBodyMarkers(QByteArray& bytes, const QByteArray& startMarker,
                      const QByteArray& endMarker) {
    if (!startMarker.isEmpty()) {
        qsizetype cut = 0;
        for (qsizetype at; (at = bytes.indexOf(startMarker, cut)) >= 0;) {
            cut = at + startMarker.size();
        }
        bytes.remove(0, cut);
    }
    if (!endMarker.isEmpty()) {
        const qsizetype at = bytes.indexOf(endMarker);
        if (at >= 0) {
            bytes.truncate(at);
            return true;
        }
    }
    return false;
}

QString DecodeResponseText(HttpResponse& response, unsigned flags) {
    if (response.body.size() > kMaxPageBytes) {
        NoteOversizedPage();
        return QString();
    }
    QByteArray bytes;
    if ((flags & Inflate) && response.compressed) {
        StreamInflater inflater(kMaxPageBytes);
        inflater.Feed(response.body.constData(), response.body.size(), bytes);  // partial counts
        if (inflater.tooLarge()) {
            NoteOversizedPage();
            return QString();
        }
        if (bytes.isEmpty()) {
            bytes = response.body;
            response.compressed = false;
        }
    } else {
        bytes = response.body;
    }
    if (response.compressed) {
        ApplyBodyMarkers(bytes, response.startMarker, response.endMarker);
    }
    QString text = ConvertBytes(response, bytes, flags);
    DecodeHtmlEntities(text);
    return text;
}

bool InflateBody(const QByteArray& bytes, QByteArray& output, qsizetype maxOutput) {
    StreamInflater inflater(maxOutput);
    QByteArray inflated;
    inflater.Feed(bytes.constData(), bytes.size(), inflated);
    if (inflater.tooLarge()) {
        return false;
    }
    output.append(inflated);
    return inflater.ended();
}

bool LooksLikeUtf8(const char* bytes, qsizetype length) {
    if (length <= 0) {
        return false;
    }
    int expected = 0;
    bool ascii = true;
    for (qsizetype i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            ascii = false;
        }
        if (expected > 0) {
            if (byte < 0x80 || byte > 0xBF) {
                return false;
            }
            --expected;
        } else if (byte >= 0x80) {
            if (byte <= 0xBF) {
                return false;
            } else if (byte <= 0xDF) {
                expected = 1;
            } else if (byte <= 0xEF) {
                expected = 2;
            } else if (byte <= 0xF7) {
                expected = 3;
            } else if (byte == 0xFC || byte == 0xFD) {
                expected = 5;
            } else {
                expected = 4;  // 0xF8 to 0xFB, 0xFE, 0xFF
            }
        }
    }
    return expected == 0 && !ascii;
}

}  // namespace mosaiq
