#include "sites/site_address.h"

#include <QByteArray>

namespace mosaiq {
namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsUnreserved(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

AddressValue::AddressValue(const QString& text) : m_text(EncodedValue(text)) {}
AddressValue::AddressValue(const char16_t* text) : m_text(EncodedValue(QString::fromUtf16(text))) {}
AddressValue::AddressValue(int number) : m_text(QString::number(number)) {}
AddressValue::AddressValue(int64_t number) : m_text(QString::number(number)) {}
AddressValue::AddressValue(uint32_t number) : m_text(QString::number(number)) {}
AddressValue::AddressValue(const QString& text, VerbatimTag) : m_text(text) {}

AddressValue AddressValue::Verbatim(const QString& text) {
    return AddressValue(text, VerbatimTag{});
}

QString EncodedValue(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    QByteArray out;
    out.reserve(bytes.size() * 3);
    static const char kHex[] = "0123456789ABCDEF";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (IsUnreserved(c)) {
            out += c;
        } else if (c == '%' && i + 2 < bytes.size() && IsHexDigit(bytes[i + 1]) &&
                   IsHexDigit(bytes[i + 2])) {
            out += c;
        } else {
            const auto byte = uint8_t(c);
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return QString::fromLatin1(out);
}

QString SiteAddress(QStringView base, QStringView pathTemplate,
                    std::initializer_list<AddressValue> values) {
    QString address = base.toString();
    address.reserve(base.size() + pathTemplate.size() + 64);
    const AddressValue* next = values.begin();
    for (qsizetype i = 0; i < pathTemplate.size(); ++i) {
        const QChar c = pathTemplate[i];
        const bool placeholder = c == u'%' && i + 1 < pathTemplate.size() &&
                                 (pathTemplate[i + 1] == u's' || pathTemplate[i + 1] == u'd');
        if (placeholder) {
            Q_ASSERT_X(next != values.end(), "SiteAddress", "fewer values than placeholders");
            if (next != values.end()) {
                address += next->text();
                ++next;
            }
            ++i;
        } else {
            address += c;
        }
    }
    Q_ASSERT_X(next == values.end(), "SiteAddress", "more values than placeholders");
    return address;
}

}  // namespace mosaiq
