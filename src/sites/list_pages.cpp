#include "sites/list_pages.h"

#include "core/album_record.h"
#include "core/naming.h"
#include "sites/site_request.h"
#include "sites/site_sinks.h"
#include "web/text_helpers.h"

#include <QHash>

namespace mosaiq {

LinkedPages::LinkedPages(const JobState& state, WalkOf kind,
                         std::initializer_list<QStringView> nextMarkers)
    : m_walk(state, kind) {
    for (const QStringView marker : nextMarkers) {
        m_nextMarkers.append(marker.toString());
    }
}

bool LinkedPages::Next() {
    return m_more && m_walk.Next();
}

std::optional<QString> LinkedPages::Fetch(const SiteRequest& request) {
    std::optional<QString> text = request.Fetch();
    m_more = false;
    if (text) {
        const size_t hash = qHash(*text);
        if (text->size() == m_lastSize && hash == m_lastHash) {
            return std::nullopt;
        }
        m_lastHash = hash;
        m_lastSize = text->size();
        for (const QString& marker : m_nextMarkers) {
            m_more = m_more || text->contains(marker);
        }
    }
    return text;
}

QStringView Section(QStringView text, QStringView from, QStringView to) {
    const qsizetype start = from.isEmpty() ? -1 : text.indexOf(from);
    if (start >= 0) {
        text = text.sliced(start + from.size());
    }
    const qsizetype end = to.isEmpty() ? -1 : text.indexOf(to);
    return end >= 0 ? text.first(end) : text;
}

QStringList PiecesAfter(QStringView text, QStringView separator) {
    QStringList pieces;
    if (SplitText(text, separator, pieces) > 0) {
        pieces.removeFirst();
    }
    return pieces;
}

bool ListAlbumPieces(JobState& state, const QStringList& pieces,
                     const std::function<void(TextSource& piece, ST_PERLISTRECORD& album)>& read) {
    for (const QString& text : pieces) {
        TextSource piece(text);
        ST_PERLISTRECORD album;
        read(piece, album);
        if (!album.albumRef.isEmpty() && !ListAlbum(state, album)) {
            return false;
        }
    }
    return true;
}

QString PageLink(QStringView host, QStringView link) {
    if (link.startsWith(u"http://") || link.startsWith(u"https://")) {
        return link.toString();
    }
    if (link.startsWith(u"//")) {
        return host.first(qMax<qsizetype>(0, host.indexOf(u"//"))).toString() + link.toString();
    }
    qsizetype slashes = 0;
    while (slashes < link.size() && link[slashes] == u'/') {
        ++slashes;
    }
    return host.toString() + u'/' + link.sliced(slashes).toString();
}

QString PageAccountName(QString name) {
    SanitizeName(name, kTimeStampFallback, true);
    return name;
}

}  // namespace mosaiq
