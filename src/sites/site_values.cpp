#include "sites/site_values.h"

#include "web/text_helpers.h"

#include <algorithm>
#include <ctime>

namespace mosaiq {

QString Unslashed(QString text) {
    return text.replace(QLatin1String("\\/"), QLatin1String("/"));
}

int32_t LeadingNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        // Saturate instead of overflowing on an absurd count.
        value = std::min<int64_t>(value * 10 + (text[i].unicode() - u'0'), INT32_MAX);
    }
    return int32_t(negative ? -value : value);
}

uint32_t ProcessClockMs() {
    return uint32_t(uint64_t(std::clock()) * 1000 / CLOCKS_PER_SEC);
}

QString WithHttp(const QString& address) {
    return address.contains(u"http") ? address : QStringLiteral("http:") + address;
}

QString CacheBreaker() {
    return RandomFraction().trimmed();
}

QString SecondsAndNumber(int64_t seconds, uint32_t number, int width) {
    return QString::number(seconds) + QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

}  // namespace mosaiq
