#include "sites/site_text.h"

namespace mosaiq {

bool ContainsAfterStart(QStringView text, QStringView marker) {
    return text.indexOf(marker, 1) >= 1;
}

bool ContainsDomain(QStringView text, QStringView domain) {
    for (qsizetype at = text.indexOf(domain, 1); at >= 1; at = text.indexOf(domain, at + 1)) {
        const QChar before = text[at - 1];
        if (before == u'.' || before == u'/') {
            return true;
        }
    }
    return false;
}

bool IsDigitsOnly(QStringView text) {
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

bool HasScheme(QStringView text) {
    return text.contains(u"http://") || text.contains(u"https://");
}

}  // namespace mosaiq
