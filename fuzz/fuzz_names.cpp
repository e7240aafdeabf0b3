// Name cleaning: no separator, no "." or "..", no control character, idempotent, and the cut
// to the file system's limit holds.
#include "core/naming.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString name = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    mosaiq::SanitizeName(name, 1, false);
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20) {
            __builtin_trap();
        }
    }
    if (name == u"." || name == u"..") {
        __builtin_trap();
    }
    QString again = name;
    mosaiq::MakeNameSafe(again);
    if (again != name) {
        __builtin_trap();
    }
    if (mosaiq::NameSize(mosaiq::CutToNameSize(name, mosaiq::kMaxNameSize)) >
        mosaiq::kMaxNameSize) {
        __builtin_trap();
    }
    return 0;
}
