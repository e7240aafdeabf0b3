#include "sites/site_request.h"

#include "web/http_client.h"
#include "web/response_decoding.h"

namespace mosaiq {

bool FetchText(const RequestOptions& options, unsigned decodeFlags, QString& text) {
    HttpResponse response;
    if (!HttpRequest(response, options, 0)) {
        text.clear();
        return false;
    }
    text = DecodeResponseText(response, decodeFlags);
    return true;
}

}  // namespace mosaiq
