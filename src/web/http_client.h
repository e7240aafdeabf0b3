#pragma once

#include "web/http_response.h"
#include "web/request_options.h"

#include <QString>

namespace mosaiq {

// Request flags (third argument of HttpRequest). There is no HTTP cache here: UseCache only
// makes the validity test inflate a compressed body first, NoReload has no further effect.
enum RequestFlag : unsigned {
    UseCache = 1,
    NoReload = 2,
    IeAgent = 0x40,  // send the second user-agent text
};

// One complete exchange, repeated up to options.attempts times (sleeping
// options.retryDelaySeconds after every failed attempt, the last one too). True when an
// attempt succeeded and its body passed the validity test. Never shows anything; on false the
// response holds what the last attempt left. Blocks the calling thread; each thread keeps one
// connection handle so keep-alive connections are reused.
//
// File mode (options.targetPath not empty): the body streams to a temporary file beside the
// target, renamed into place only when the attempt is valid and within the size bounds; the
// target never holds a cut file. An answer with status 400 or above fails the attempt there,
// and so does a body that is an HTML page. A file that cannot be written leaves the result as
// it is (see HttpResponse::savedToFile and fileProblem).
//
// Environment, for tests and diagnosis:
//   MOSAIQ_CONNECT_TO  "HOST:PORT" sends every request there (URL and Host unchanged), or
//                      "http=HOST:PORT,https=HOST:PORT" one address per scheme. Proxies are
//                      then not used.
//   MOSAIQ_CA_FILE     a PEM file of extra trusted CAs (the system ones stay trusted).
// Otherwise http_proxy, https_proxy and no_proxy apply.
bool HttpRequest(HttpResponse& response, const RequestOptions& options, unsigned flags);

// Fetches `address` with the extra header text into `targetPath` (20000 ms, flags 0), ignoring
// the result.
void DownloadToFile(const QString& address, const QString& headerText, const QString& targetPath);

// The user-agent texts, sent whole as the User-Agent value.
extern const char kDefaultUserAgent[];
extern const char kIeUserAgent[];

}  // namespace mosaiq
