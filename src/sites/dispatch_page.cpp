#include "sites/dispatch_page.h"

#include "web/http_client.h"
#include "web/response_decoding.h"

namespace mosaiq {

bool FetchDispatchPage(const QString& address, QString& page) {
    RequestOptions options(address, QString(), 20000);
    options.headers = QStringLiteral("Accept-Encoding: gzip, deflate\r\n");
    HttpResponse response;
    if (!HttpRequest(response, options, 0)) {
        return false;
    }
    page = DecodeResponseText(response, Inflate | Utf8);
    return true;
}

}  // namespace mosaiq
