#include "web/body_validity.h"

namespace mosaiq {

void MarkerScanner::Feed(const char* bytes, qsizetype length) {
    if (m_found || m_marker.isEmpty() || length <= 0) {
        return;
    }
    const qsizetype keep = m_marker.size() - 1;
    QByteArray window = m_tail;
    window.append(bytes, length);
    if (window.indexOf(m_marker) >= 0) {
        m_found = true;
        return;
    }
    m_tail = window.right(keep);
}

namespace {

constexpr qsizetype kHeadLength = 256;

}  // namespace

bool LooksLikeHtmlPage(const QByteArray& head) {
    QByteArrayView start(head);
    if (start.startsWith("\xEF\xBB\xBF")) {
        start = start.sliced(3);
    }
    // Pictures begin with their format's bytes: only a text that opens with a tag is looked at.
    if (!start.trimmed().startsWith('<')) {
        return false;
    }
    QByteArray text = start.trimmed().toByteArray().toLower();
    // Comments may stand before the page's first tag.
    while (text.startsWith("<!--")) {
        const qsizetype end = text.indexOf("-->");
        if (end < 0) {
            return false;
        }
        text = text.mid(end + 3).trimmed();
    }
    for (const char* start :
         {"<!doctype html", "<html", "<head", "<body", "<title", "<meta", "<script"}) {
        if (text.startsWith(start)) {
            return true;
        }
    }
    return false;
}

void BodyValidity::Probe::Feed(const char* bytes, qsizetype n) {
    if (head.size() < kHeadLength) {
        head.append(bytes, qMin(n, kHeadLength - head.size()));
    }
    length += n;
    if (useMarker) {
        scanner.Feed(bytes, n);
    }
}

BodyValidity::BodyValidity(qint64 minBodyLength, const QByteArray& retryMarker)
    : m_minBodyLength(minBodyLength), m_raw(retryMarker), m_inflated(retryMarker) {}

void BodyValidity::InflateFirst() {
    m_inflater = std::make_unique<StreamInflater>();
}

void BodyValidity::Feed(const char* bytes, qsizetype length) {
    m_raw.Feed(bytes, length);
    if (!m_inflater) {
        return;
    }
    // Inflate in slices so a large body never has its whole inflated form in memory.
    constexpr qsizetype kSlice = 64 * 1024;
    QByteArray out;
    for (qsizetype at = 0; at < length && !m_inflater->ended() && !m_inflater->failed();
         at += kSlice) {
        out.clear();
        m_inflater->Feed(bytes + at, qMin(kSlice, length - at), out);
        m_inflatedLength += out.size();
        m_inflated.Feed(out.constData(), out.size());
    }
}

bool BodyValidity::looksLikePage() const {
    const Probe& tested = (m_inflater && m_inflatedLength > 0) ? m_inflated : m_raw;
    return LooksLikeHtmlPage(tested.head);
}

bool BodyValidity::valid() const {
    const Probe& tested = (m_inflater && m_inflatedLength > 0) ? m_inflated : m_raw;
    return tested.length > m_minBodyLength && !(tested.useMarker && tested.scanner.found());
}

}  // namespace mosaiq
