#include "sites/dispatch_page.h"

#include "sites/site_request.h"
#include "web/http_response.h"
#include "web/response_decoding.h"

namespace mosaiq {

bool FetchDispatchPage(const QString& address, QString& page) {
    const SiteRequest request(address);
    HttpResponse response;
    if (!request.Exchange(response)) {
        page.clear();
        return false;
    }
    page = DecodeResponseText(response, request.decodeFlags());
    return true;
}

}  // namespace mosaiq
