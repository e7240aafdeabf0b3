// The marker helpers and unescaping on any page: walks end, consuming only moves forward.
#include "web/text_helpers.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString all = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    // The first two lines are the markers, the rest the page.
    const QStringList parts = all.split(u'\n');
    if (parts.size() < 3) {
        return 0;
    }
    const QString start = parts[0];
    const QString end = parts[1];
    const QString page = parts.mid(2).join(u'\n');
    mosaiq::TextSource source(page);
    for (qsizetype before = source.size(); !start.isEmpty();) {
        const QString item = mosaiq::TakeBetween(source, start, end, mosaiq::Consume);
        if (item.isEmpty() && source.size() == before) {
            break;
        }
        if (source.size() >= before) {
            __builtin_trap();  // a consuming walk that does not advance never ends
        }
        before = source.size();
    }
    QStringList pieces;
    mosaiq::SplitText(page, start, pieces);
    QString text = page;
    mosaiq::DecodeHtmlEntities(text);
    mosaiq::StripTags(page);
    mosaiq::UnescapeUnicode(page);
    mosaiq::UrlDecodeUtf8(page);
    mosaiq::ReplaceList(text, start, end);
    return 0;
}
