// soft.dat of any content: parsed, repaired, written back at its fixed size.
#include "core/settings_record.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    mosaiq::SettingsRecord record = mosaiq::ParseSettings(bytes);
    mosaiq::RepairSettings(record, false);
    const QByteArray written = mosaiq::SerializeSettings(record);
    if (mosaiq::SerializeSettings(mosaiq::ParseSettings(written)) != written) {
        __builtin_trap();  // what is saved loads back the same
    }
    return 0;
}
