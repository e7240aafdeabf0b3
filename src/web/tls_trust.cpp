#include "web/tls_trust.h"

#include <QByteArray>

#include <openssl/err.h>
#include <openssl/opensslv.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <sys/stat.h>

#include <map>
#include <mutex>

namespace mosaiq {
namespace {

// The SSL_CTX libcurl hands over must come from the same OpenSSL as the calls made on it.
bool CurlUsesOurOpenSsl() {
    static const bool same = [] {
        const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
        if (info == nullptr || info->ssl_version == nullptr) {
            return false;
        }
        const QByteArray expected = "OpenSSL/" + QByteArray::number(OPENSSL_VERSION_MAJOR) + '.';
        return QByteArray(info->ssl_version).startsWith(expected);
    }();
    return same;
}

QByteArray DefaultCaText(CURL* handle, CURLINFO what) {
    char* text = nullptr;
    return curl_easy_getinfo(handle, what, &text) == CURLE_OK ? QByteArray(text) : QByteArray();
}

// Loaded as libcurl loads a connection's store, with its partial-chain rule: a CA in the
// file is trusted even when it is not a root.
X509_STORE* LoadStore(const QByteArray& caFile, const QByteArray& caFolder) {
    X509_STORE* store = X509_STORE_new();
    if (store == nullptr) {
        return nullptr;
    }
    const bool fileLoaded =
        caFile.isEmpty() || X509_STORE_load_file(store, caFile.constData()) == 1;
    const bool folderAdded =
        caFolder.isEmpty() || X509_STORE_load_path(store, caFolder.constData()) == 1;
    ERR_clear_error();
    if (!fileLoaded || !folderAdded) {
        X509_STORE_free(store);
        return nullptr;
    }
    X509_STORE_set_flags(store, X509_V_FLAG_PARTIAL_CHAIN);
    return store;
}

// What tells a CA file's new contents from the ones loaded.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};

    static FileStamp Of(const QByteArray& path) {
        struct stat status {};
        if (path.isEmpty() || stat(path.constData(), &status) != 0) {
            return {};
        }
        return {status.st_dev, status.st_ino, status.st_size, status.st_mtim};
    }
    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct LoadedStore {
    X509_STORE* store = nullptr;
    FileStamp stamp;
};

// The store of the CA file in use, loaded again when the file changed; each connection holds
// a reference to the store it was given, so a store replaced here lives on until then.
X509_STORE* StoreFor(CURL* handle) {
    static std::mutex mutex;
    static std::map<QByteArray, LoadedStore> stores;
    const QByteArray extra = qgetenv("MOSAIQ_CA_FILE");
    const QByteArray caFile = extra.isEmpty() ? DefaultCaText(handle, CURLINFO_CAINFO) : extra;
    const FileStamp stamp = FileStamp::Of(caFile);
    std::lock_guard lock(mutex);
    LoadedStore& loaded = stores[caFile];
    if (loaded.store == nullptr || !(loaded.stamp == stamp)) {
        X509_STORE_free(loaded.store);
        loaded = {LoadStore(caFile, DefaultCaText(handle, CURLINFO_CAPATH)), stamp};
    }
    if (loaded.store != nullptr) {
        X509_STORE_up_ref(loaded.store);  // the caller's reference, handed on to the connection
    }
    return loaded.store;
}

CURLcode AttachTrust(CURL* handle, void* sslContext, void*) {
    X509_STORE* store = StoreFor(handle);
    if (store == nullptr) {
        return CURLE_SSL_CACERT_BADFILE;
    }
    SSL_CTX_set_cert_store(static_cast<SSL_CTX*>(sslContext), store);  // takes that reference
    return CURLE_OK;
}

}  // namespace

bool UseSharedTrust(CURL* handle) {
    if (!CurlUsesOurOpenSsl() ||
        curl_easy_setopt(handle, CURLOPT_SSL_CTX_FUNCTION, AttachTrust) != CURLE_OK) {
        return false;
    }
    // libcurl loads nothing itself, and keeps no store of its own to put in place of ours.
    curl_easy_setopt(handle, CURLOPT_CAINFO, nullptr);
    curl_easy_setopt(handle, CURLOPT_CAPATH, nullptr);
    curl_easy_setopt(handle, CURLOPT_CA_CACHE_TIMEOUT, 0L);
    return true;
}

}  // namespace mosaiq
