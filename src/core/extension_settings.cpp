#include "core/extension_settings.h"

#include "core/program_folders.h"

#include "core/job_state.h"
#include "web/codepage.h"

#include <QFile>
#include <QStringDecoder>

#include <limits>

namespace mosaiq {
namespace {

constexpr qsizetype kNumberChars = 64;

QString Fold(const QString& name) {
    return name.trimmed().toCaseFolded();
}

QString Unquoted(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) {
        value = value.mid(1, value.size() - 2);
    }
    return value;
}

uint32_t ParseUnsigned(QStringView text) {
    text = text.left(kNumberChars).trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    uint64_t value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            break;
        }
        value = value * 10 + uint64_t(c.unicode() - u'0');
        if (value > std::numeric_limits<uint32_t>::max()) {
            return std::numeric_limits<uint32_t>::max();
        }
    }
    const auto result = uint32_t(value);
    return negative ? uint32_t(0u - result) : result;
}

}  // namespace

QString DecodeSettingsText(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE")) {
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes.sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        return QStringDecoder(QStringDecoder::Utf16BE)(bytes.sliced(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return QStringDecoder(QStringDecoder::Utf8)(bytes.sliced(3));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    return BytesToText(bytes, kCodePageGbk);
}

CIni CIni::FromBytes(const QByteArray& bytes) {
    CIni ini;
    QString section;
    bool inSection = false;
    const QString text = DecodeSettingsText(bytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.front() == u';') {
            continue;
        }
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            inSection = close > 0;
            section = inSection ? Fold(line.sliced(1, close - 1).toString()) : QString();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inSection || equals <= 0) {
            continue;
        }
        ini.m_entries.push_back({section, Fold(line.first(equals).toString()),
                                 Unquoted(line.sliced(equals + 1).toString())});
    }
    return ini;
}

std::optional<CIni> CIni::FromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return FromBytes(file.readAll());
}

std::optional<QString> CIni::Text(const QString& section, const QString& key) const {
    const QString foldedSection = Fold(section);
    const QString foldedKey = Fold(key);
    for (const Entry& entry : m_entries) {
        if (entry.section == foldedSection && entry.key == foldedKey) {
            return entry.value;
        }
    }
    return std::nullopt;
}

uint32_t CIni::Number(const QString& section, const QString& key, uint32_t fallback) const {
    const std::optional<QString> value = Text(section, key);
    if (!value || value->isEmpty()) {
        return fallback;
    }
    return ParseUnsigned(*value);
}

int EncodingTextToFlags(const QString& text) {
    int flags = 0;
    if (text.contains(u"UTF8")) {
        flags = 2;
    }
    if (text.contains(u"ANSI")) {
        flags = 0;
    }
    if (text.contains(u"AUTO")) {
        flags = 0x10;
    }
    if (text.contains(u"BIG5")) {
        flags = 8;
    }
    return flags;
}

void ReadExtensionSettings(JobState& state) {
    state.m_qzoneV2Encoding = 0;
    state.m_qzoneV3Encoding = 0;
    state.m_qzoneOrigName = 1;
    state.m_qzoneBigPicture = 0;
    state.m_taobaoPriceInName = 0;
    state.m_taobaoTraditional = 0;
    state.m_taobaoPriceDelta = 0;
    state.m_jdSource = 1;

    const std::optional<CIni> ini =
        CIni::FromFile(ConfigFolder(state) + QString::fromUtf16(kExtensionSettingsFile));
    if (!ini) {
        return;
    }
    const QString qzone = QStringLiteral("QQ空间");
    const QString taobao = QStringLiteral("淘宝");
    const QString jd = QStringLiteral("京东");
    const auto text = [&](const QString& section, const char16_t* key, const char16_t* fallback) {
        const std::optional<QString> value = ini->Text(section, QString::fromUtf16(key));
        return value && !value->isEmpty() ? *value : QString::fromUtf16(fallback);
    };
    const auto byte = [&](const QString& section, const char16_t* key, uint8_t fallback) {
        return uint8_t(ini->Number(section, QString::fromUtf16(key), fallback));
    };
    state.m_qzoneV2Encoding = EncodingTextToFlags(text(qzone, u"V2编码", u"ANSI"));
    state.m_qzoneV3Encoding = EncodingTextToFlags(text(qzone, u"V3编码", u"ANSI"));
    state.m_qzoneOrigName = byte(qzone, u"取原始名方式", 1);
    state.m_qzoneBigPicture = byte(qzone, u"下载大图", 0);
    state.m_taobaoPriceInName = text(taobao, u"图片名中是否有价格", u"无").startsWith(u'有');
    state.m_taobaoTraditional = byte(taobao, u"繁体", 0);
    state.m_taobaoPriceDelta = int32_t(ini->Number(taobao, QStringLiteral("价格增减"), 0));
    state.m_jdSource = byte(jd, u"图片获取方式", 1);
}

}  // namespace mosaiq
