#include "sites/dispatch_page.h"

#include "sites/site_request.h"
#include "web/http_client.h"
#include "web/response_decoding.h"

namespace mosaiq {

bool FetchDispatchPage(const QString& address, QString& page) {
    RequestOptions options(address, QString(), kSiteTimeoutMs);
    options.headers = kAcceptCompressedLine;
    return FetchText(options, Inflate | Utf8, page);
}

}  // namespace mosaiq
