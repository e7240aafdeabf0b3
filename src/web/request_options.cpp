#include "web/request_options.h"

namespace mosaiq {

RequestOptions::RequestOptions(QString address, QString target, uint32_t timeoutMs)
    : url(std::move(address)),
      targetPath(std::move(target)),
      readTimeoutMs(timeoutMs),
      connectTimeoutMs(timeoutMs) {}

void SetRequestBody(RequestOptions& options, const QByteArray& data) {
    const qsizetype zero = data.indexOf('\0');
    options.body = zero < 0 ? data : data.left(zero);
}

void ResetRequestOptions(RequestOptions& options) {
    options.url.clear();
    options.headers.clear();
    options.startMarker.clear();
    options.endMarker.clear();
    options.targetPath.clear();
    options.verb = QStringLiteral("GET");
    options.readTimeoutMs = 20000;
    options.connectTimeoutMs = 20000;
    options.body.clear();
    options.minSizeKb = 0;
    options.maxSizeKb = 0;
}

}  // namespace mosaiq
