#pragma once

#include "web/request_options.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace mosaiq {

struct HttpResponse;

// One request of a site adapter, built with what every adapter shares unless its site says
// otherwise: GET, 20000 ms per step, one attempt, "Accept-Encoding: gzip, deflate", the body
// decoded as Inflate | Utf8. Header lines are given one by one and never glued by hand: a value
// from a page or the input cannot start a header line of its own.
//
//   const auto text = SiteRequest(address).Referer(page).Decode(Inflate).Fetch();
//   if (!text) return;
class SiteRequest {
  public:
    explicit SiteRequest(const QString& address = QString());

    // The same request shape for another address (a request reused page after page).
    SiteRequest& At(const QString& address);
    SiteRequest& Referer(const QString& address);
    SiteRequest& Header(QStringView name, const QString& value);
    // Drops the "Accept-Encoding" line (the site wants plain bodies).
    SiteRequest& Uncompressed();
    SiteRequest& Decode(unsigned decodeFlags);
    SiteRequest& Attempts(uint8_t attempts, uint8_t retryDelaySeconds);
    // An attempt whose body holds these bytes fails (a busy page answered with status 200).
    SiteRequest& RetryMarker(const QByteArray& marker);
    // POST with `body` (sent up to its first zero byte, as the client does).
    SiteRequest& Post(const QByteArray& body);
    SiteRequest& StartMarker(const QByteArray& marker);
    SiteRequest& EndMarker(const QByteArray& marker);
    // The body must be longer than this many bytes, else the attempt fails.
    SiteRequest& MinBodyLength(uint32_t bytes);
    // Bound on connecting, for a site that wants it apart from the wait for data.
    SiteRequest& ConnectTimeout(uint32_t milliseconds);
    // Request flags of HttpRequest (IeAgent ...).
    SiteRequest& Flags(unsigned requestFlags);

    // The decoded text; nothing when the request failed or the text is empty.
    std::optional<QString> Fetch() const;
    // The raw exchange, for the few steps that read more than the text.
    bool Exchange(HttpResponse& response) const;

    const RequestOptions& options() const { return m_options; }
    unsigned decodeFlags() const { return m_decodeFlags; }

  private:
    RequestOptions m_options;
    bool m_compressed = true;
    QString m_headers;  // the lines after the Accept-Encoding line
    unsigned m_decodeFlags;
    unsigned m_requestFlags = 0;
};

// "Referer: <address>", the header text AddPicture hands to the workers.
QString RefererHeader(const QString& address);

// A header value on one line: CR and LF become blanks.
QString OneLine(QString value);

}  // namespace mosaiq
