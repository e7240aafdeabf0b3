#pragma once

#include "web/stream_inflater.h"

#include <QByteArray>

#include <memory>

namespace mosaiq {

// Whether `marker` occurs in bytes fed in pieces (matches across piece boundaries).
class MarkerScanner {
  public:
    explicit MarkerScanner(QByteArray marker) : m_marker(std::move(marker)) {}
    void Feed(const char* bytes, qsizetype length);
    bool found() const { return m_found; }

  private:
    QByteArray m_marker;
    QByteArray m_tail;  // last marker-length-minus-one bytes seen
    bool m_found = false;
};

// Whether `head`, the first bytes of a body, is the start of an HTML page. Picture, video and
// SVG bodies never are.
bool LooksLikeHtmlPage(const QByteArray& head);

// The validity test of an attempt, run on the body as it streams so that file mode needs no
// copy in memory: longer than minBodyLength and free of retryMarker. With inflation the test
// looks at the inflated bytes, unless inflation yields none.
class BodyValidity {
  public:
    BodyValidity(qint64 minBodyLength, const QByteArray& retryMarker);
    void InflateFirst();  // call before the first Feed
    void Feed(const char* bytes, qsizetype length);
    bool valid() const;
    // Inflation was asked for and produced nothing: the raw bytes were tested.
    bool inflatedNothing() const { return m_inflater && m_inflatedLength == 0; }
    // The body (inflated when it was) begins as an HTML page: a login or error page served
    // with status 200 where a picture was asked for.
    bool looksLikePage() const;

  private:
    struct Probe {
        explicit Probe(const QByteArray& marker) : scanner(marker), useMarker(!marker.isEmpty()) {}
        MarkerScanner scanner;
        bool useMarker;
        qint64 length = 0;
        QByteArray head;  // the first bytes, for the page test
        void Feed(const char* bytes, qsizetype n);
    };
    qint64 m_minBodyLength;
    Probe m_raw;
    Probe m_inflated;
    std::unique_ptr<StreamInflater> m_inflater;
    qint64 m_inflatedLength = 0;
};

}  // namespace mosaiq
