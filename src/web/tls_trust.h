#pragma once

#include <curl/curl.h>

namespace mosaiq {

// Makes the handle's TLS connections verify servers against one certificate store per CA
// file, shared by the process and loaded again only when the file changes: the trusted CAs
// (MOSAIQ_CA_FILE, else libcurl's bundle, plus its CA folder) are the same as libcurl's own,
// but a new connection no longer reads and parses the whole bundle again (some 20 ms of CPU
// each). Returns false, changing nothing, when libcurl's TLS library is not the OpenSSL this
// program is built with.
bool UseSharedTrust(CURL* handle);

}  // namespace mosaiq
