// The extension settings file in any encoding and shape.
#include "core/extension_settings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const mosaiq::CIni ini = mosaiq::CIni::FromBytes(bytes);
    ini.Text(QStringLiteral("QQ空间"), QStringLiteral("V2编码"));
    ini.Number(QStringLiteral("淘宝"), QStringLiteral("价格增减"), 0);
    mosaiq::EncodingTextToFlags(mosaiq::DecodeSettingsText(bytes));
    return 0;
}
