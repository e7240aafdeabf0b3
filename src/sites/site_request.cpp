#include "sites/site_request.h"

#include "web/http_client.h"
#include "web/response_decoding.h"

namespace mosaiq {
namespace {

constexpr uint32_t kSiteTimeoutMs = 20000;
const QString kAcceptCompressedLine = QStringLiteral("Accept-Encoding: gzip, deflate\r\n");

}  // namespace

SiteRequest::SiteRequest(const QString& address)
    : m_options(address, QString(), kSiteTimeoutMs), m_decodeFlags(Inflate | Utf8) {
    m_options.headers = kAcceptCompressedLine;
}

SiteRequest& SiteRequest::At(const QString& address) {
    m_options.url = address;
    return *this;
}

SiteRequest& SiteRequest::Referer(const QString& address) {
    return Header(u"Referer", address);
}

SiteRequest& SiteRequest::Header(QStringView name, const QString& value) {
    m_headers += name.toString() + QStringLiteral(": ") + OneLine(value) + QStringLiteral("\r\n");
    m_options.headers = (m_compressed ? kAcceptCompressedLine : QString()) + m_headers;
    return *this;
}

SiteRequest& SiteRequest::Uncompressed() {
    m_compressed = false;
    m_options.headers = m_headers;
    return *this;
}

SiteRequest& SiteRequest::Decode(unsigned decodeFlags) {
    m_decodeFlags = decodeFlags;
    return *this;
}

SiteRequest& SiteRequest::Attempts(uint8_t attempts, uint8_t retryDelaySeconds) {
    m_options.attempts = attempts;
    m_options.retryDelaySeconds = retryDelaySeconds;
    return *this;
}

SiteRequest& SiteRequest::RetryMarker(const QByteArray& marker) {
    m_options.retryMarker = marker;
    return *this;
}

SiteRequest& SiteRequest::Post(const QByteArray& body) {
    m_options.verb = QStringLiteral("POST");
    SetRequestBody(m_options, body);
    return *this;
}

SiteRequest& SiteRequest::StartMarker(const QByteArray& marker) {
    m_options.startMarker = marker;
    return *this;
}

SiteRequest& SiteRequest::EndMarker(const QByteArray& marker) {
    m_options.endMarker = marker;
    return *this;
}

SiteRequest& SiteRequest::MinBodyLength(uint32_t bytes) {
    m_options.minBodyLength = bytes;
    return *this;
}

SiteRequest& SiteRequest::ConnectTimeout(uint32_t milliseconds) {
    m_options.connectTimeoutMs = milliseconds;
    return *this;
}

SiteRequest& SiteRequest::Flags(unsigned requestFlags) {
    m_requestFlags = requestFlags;
    return *this;
}

std::optional<QString> SiteRequest::Fetch() const {
    HttpResponse response;
    if (!Exchange(response)) {
        return std::nullopt;
    }
    QString text = DecodeResponseText(response, m_decodeFlags);
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text;
}

bool SiteRequest::Exchange(HttpResponse& response) const {
    return HttpRequest(response, m_options, m_requestFlags);
}

QString RefererHeader(const QString& address) {
    return QStringLiteral("Referer: ") + OneLine(address);
}

QString OneLine(QString value) {
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

}  // namespace mosaiq
