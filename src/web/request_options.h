#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>

namespace mosaiq {

// What one HttpRequest call asks for. Plain record owned by the caller and reused for its
// successive requests (see ResetRequestOptions).
struct RequestOptions {
    RequestOptions(QString address, QString target, uint32_t timeoutMs);

    QString url;  // absolute http or https address
    QString verb = QStringLiteral("GET");
    QString headers;             // extra header lines, each ended by CR LF, sent unchanged
    QByteArray startMarker;      // while streaming, the body is cut through this marker
    QByteArray endMarker;        // while streaming, reading stops at this marker
    QByteArray retryMarker;      // a body containing it fails the attempt
    QString targetPath;          // file mode when not empty
    QByteArray body;             // request body; set it with SetRequestBody
    uint32_t readTimeoutMs;      // bound on each wait for body data
    uint32_t connectTimeoutMs;   // bound on connecting and on each wait while sending
    int32_t minSizeKb = 0;       // a smaller body fails the attempt
    int32_t maxSizeKb = 0;       // when not 0, a larger body fails the attempt
    uint32_t minBodyLength = 0;  // the body must be longer than this many bytes
    uint8_t attempts = 1;        // 0 makes HttpRequest return false at once
    // A transfer slower than this many bytes a second for lowSpeedSeconds ends the attempt: a
    // server trickling a byte at a time never trips the inactivity bound.
    uint32_t lowSpeedBytesPerSecond = 1024;
    uint32_t lowSpeedSeconds = 30;
    uint8_t retryDelaySeconds = 1;  // slept after every failed attempt
    // When set and true, the transfer under way is cut off, no further attempt is made and no
    // file is committed: a stopped job ends its requests. Owned by the caller, polled while
    // the request runs.
    const std::atomic<bool>* abort = nullptr;
};

inline bool Aborted(const RequestOptions& options) {
    return options.abort != nullptr && options.abort->load();
}

// Stores a copy of `data` up to its first zero byte (the body is narrow text); an empty text
// leaves no body.
void SetRequestBody(RequestOptions& options, const QByteArray& data);

// Prepares the record for the next request: address, headers, start and end markers, target
// path and body become empty, the verb "GET", both time-outs 20000 ms, the size bounds 0.
// retryMarker, minBodyLength, attempts and retryDelaySeconds keep their values.
void ResetRequestOptions(RequestOptions& options);

}  // namespace mosaiq
