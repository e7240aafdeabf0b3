#include "web/http_client.h"

#include "web/http_exchange.h"
#include "web/pause_clock.h"

namespace mosaiq {

const char kDefaultUserAgent[] =
    "user-agent:Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/63.0.3239.132 Safari/537.36";
const char kIeUserAgent[] =
    "User-Agent:Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; LCTE; rv:11.0) like Gecko";

bool HttpRequest(HttpResponse& response, const RequestOptions& options, unsigned flags) {
    for (unsigned attempt = 0; attempt < options.attempts && !Aborted(options); ++attempt) {
        const ExchangeOutcome outcome = RunExchange(response, options, flags);
        if (outcome.succeeded && outcome.inflatedNothing) {
            response.compressed = false;
        }
        if (outcome.succeeded && outcome.valid) {
            return true;
        }
        if (Aborted(options)) {
            break;
        }
        Pause(std::chrono::seconds(options.retryDelaySeconds));
    }
    return false;
}

void DownloadToFile(const QString& address, const QString& headerText, const QString& targetPath) {
    RequestOptions options(address, targetPath, 20000);
    options.headers = headerText;
    HttpResponse response;
    HttpRequest(response, options, 0);
}

}  // namespace mosaiq
