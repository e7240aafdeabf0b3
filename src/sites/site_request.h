#pragma once

#include <QString>

#include <cstdint>

namespace mosaiq {

struct RequestOptions;

// What every adapter's requests share unless its site says otherwise: 20000 ms per step
// and compressed bodies asked for.
inline constexpr uint32_t kSiteTimeoutMs = 20000;
inline const QString kAcceptCompressedLine = QStringLiteral("Accept-Encoding: gzip, deflate\r\n");

// One request decoded with `decodeFlags`; false (and `text` empty) when the request failed.
bool FetchText(const RequestOptions& options, unsigned decodeFlags, QString& text);

}  // namespace mosaiq
