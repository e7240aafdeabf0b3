#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace mosaiq {

struct RequestOptions;

// Being replaced by SiteRequest: the QQ Zone and Tencent Weibo adapters still build their
// options by hand.
inline constexpr uint32_t kSiteTimeoutMs = 20000;
inline const QString kAcceptCompressedLine = QStringLiteral("Accept-Encoding: gzip, deflate\r\n");
inline constexpr uint8_t kQqRetryDelaySeconds = 5;
bool FetchText(const RequestOptions& options, unsigned decodeFlags, QString& text);

// A text percent-encoded for a query value (letters, digits and "-._~" stay as they are), so
// a number or id from the input or a page cannot add parameters of its own.
QString QueryValue(const QString& text);

// Ends paging at a server that ignores the page start and answers the same items again.
class RepeatGuard {
  public:
    // True when the page held items and every one was seen on an earlier page.
    bool IsRepeat(const QStringList& pageItems);

  private:
    QSet<QString> m_seen;
};

}  // namespace mosaiq
