#pragma once

#include "web/http_response.h"
#include "web/request_options.h"

namespace mosaiq {

struct ExchangeOutcome {
    bool succeeded = false;        // transfer complete and within the size bounds
    bool valid = false;            // the body passed the validity test
    bool inflatedNothing = false;  // the validity test inflated and got no byte
};

// One attempt of HttpRequest on this thread's reused connection handle.
ExchangeOutcome RunExchange(HttpResponse& response, const RequestOptions& options, unsigned flags);

}  // namespace mosaiq
