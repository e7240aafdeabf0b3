#include "demo/demo_site.h"

#include "demo/loopback_server.h"

#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

#include <cstdio>
#include <memory>

namespace mosaiq {
namespace {

constexpr char kLoopback[] = "127.0.0.1";
// Every host the sample account is reached on over HTTPS.
constexpr char kCertificateNames[] =
    "DNS:qq.com,DNS:*.qq.com,DNS:qzone.qq.com,DNS:*.qzone.qq.com,DNS:*.photo.qq.com";

QByteArray Resource(const QString& name) {
    QFile file(QStringLiteral(":/demo_site/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ContentType(const QString& name) {
    const QString suffix = QFileInfo(name).suffix();
    if (suffix == u"jpg") {
        return "image/jpeg";
    }
    if (suffix == u"png" || suffix == u"gif") {
        return "image/" + suffix.toLatin1();
    }
    return "application/javascript; charset=utf-8";
}

// The resource answering one request; empty for none.
QString PageFor(const QString& host, const QString& path, const QUrlQuery& query) {
    const auto item = [&query](const char* name) {
        return query.queryItemValue(QLatin1String(name));
    };
    if (path == u"/proxy/domain/r.qzone.qq.com/GetRoute") {
        return QStringLiteral("route.json");
    }
    if (path == u"/proxy/domain/alist.photo.qq.com/fcgi-bin/fcg_list_album_v3") {
        return item("pageStart") == u"0" ? QStringLiteral("albums.jsonp")
                                         : QStringLiteral("albums_end.jsonp");
    }
    if (path == u"/proxy/domain/szs.photo.qzone.qq.com/fcgi-bin/cgi_list_photo" ||
        path == u"/cgi-bin/common/cgi_view_album_v2" || path == u"/fcgi-bin/cgi_list_photo") {
        const QString album = item("topicId") + item("albumId");
        if (album == u"V1demo3") {
            return QStringLiteral("password.jsonp");
        }
        const QString start = item("pageStart");
        return start.isEmpty() || start == u"0"
                   ? QStringLiteral("photos_") + album + QStringLiteral(".jsonp")
                   : QStringLiteral("photos_end.jsonp");
    }
    if (path == u"/proxy/domain/taotao.qq.com/cgi-bin/emotion_cgi_msglist_v6") {
        return QStringLiteral("mood.jsonp");
    }
    // Pictures: any picture host, "/demo/<size>/<file>"; the raw "gone.jpg" was deleted, its
    // preview "old.jpg" stayed.
    if (host.endsWith(u".qq.com") || host.endsWith(u".qpic.cn")) {
        const QString file = path.section(u'/', -1);
        if (path.startsWith(u"/demo/") && file != u"gone.jpg") {
            return file == u"old.jpg" ? QStringLiteral("landscape.jpg") : file;
        }
    }
    return QString();
}

LoopbackReply Answer(const QByteArray& hostHeader, const QByteArray& target) {
    const QString host = QString::fromUtf8(hostHeader).section(u':', 0, 0).toLower();
    const QString text = QString::fromUtf8(target);
    const QString path = QUrl::fromPercentEncoding(text.section(u'?', 0, 0).toUtf8());
    const QString name = PageFor(host, path, QUrlQuery(text.section(u'?', 1)));
    const QByteArray body = name.isEmpty() ? QByteArray() : Resource(name);
    if (body.isEmpty()) {
        return {404, "text/plain", "not found"};
    }
    return {200, ContentType(name), body};
}

struct Credentials {
    EVP_PKEY* key = nullptr;
    X509* certificate = nullptr;
    ~Credentials() {
        EVP_PKEY_free(key);
        X509_free(certificate);
    }
};

// A self-signed certificate for the demo hosts, valid for two days; trusted through
// MOSAIQ_CA_FILE only.
bool MakeCredentials(Credentials& c) {
    c.key = EVP_RSA_gen(2048);
    c.certificate = X509_new();
    if (c.key == nullptr || c.certificate == nullptr) {
        return false;
    }
    X509* x = c.certificate;
    X509_set_version(x, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(x), long(std::time(nullptr)));
    X509_gmtime_adj(X509_getm_notBefore(x), -3600);
    X509_gmtime_adj(X509_getm_notAfter(x), 2 * 86400);
    X509_set_pubkey(x, c.key);
    X509_NAME* name = X509_get_subject_name(x);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Mosaiq demo site"), -1, -1,
                               0);
    X509_set_issuer_name(x, name);
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, x, x, nullptr, nullptr, 0);
    X509_EXTENSION* names =
        X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, kCertificateNames);
    if (names == nullptr) {
        return false;
    }
    X509_add_ext(x, names, -1);
    X509_EXTENSION_free(names);
    return X509_sign(x, c.key, EVP_sha256()) > 0;
}

bool WriteCertificate(X509* certificate, const QString& path) {
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = PEM_write_X509(file, certificate) == 1;
    return std::fclose(file) == 0 && written;
}

}  // namespace

DemoSite::DemoSite() = default;

DemoSite::~DemoSite() {
    // The servers stop before the routing to them is undone.
    m_http.reset();
    m_https.reset();
}

bool DemoSite::Start(QString& error) {
    Credentials credentials;
    const QString certificateFile = m_folder.filePath(QStringLiteral("demo-site.pem"));
    if (!m_folder.isValid() || !MakeCredentials(credentials) ||
        !WriteCertificate(credentials.certificate, certificateFile)) {
        error = QStringLiteral("cannot make the demo site's certificate");
        return false;
    }
    const std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> tls(SSL_CTX_new(TLS_server_method()),
                                                                SSL_CTX_free);
    if (tls == nullptr || SSL_CTX_set_min_proto_version(tls.get(), TLS1_2_VERSION) != 1 ||
        SSL_CTX_use_certificate(tls.get(), credentials.certificate) != 1 ||
        SSL_CTX_use_PrivateKey(tls.get(), credentials.key) != 1) {
        error = QStringLiteral("cannot start the demo site's HTTPS server");
        return false;
    }
    m_http = std::make_unique<LoopbackServer>(Answer, nullptr);
    m_https = std::make_unique<LoopbackServer>(Answer, tls.get());
    const int httpPort = m_http->Listen();
    const int httpsPort = m_https->Listen();
    if (httpPort <= 0 || httpsPort <= 0) {
        error = QStringLiteral("cannot listen on 127.0.0.1");
        return false;
    }
    m_connectTo.emplace("MOSAIQ_CONNECT_TO", QStringLiteral("http=%1:%2,https=%1:%3")
                                                 .arg(QLatin1String(kLoopback))
                                                 .arg(httpPort)
                                                 .arg(httpsPort)
                                                 .toUtf8());
    m_caFile.emplace("MOSAIQ_CA_FILE", QFile::encodeName(certificateFile));
    return true;
}

}  // namespace mosaiq
