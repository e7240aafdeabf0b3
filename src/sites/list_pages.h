#pragma once

#include "sites/page_walk.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <initializer_list>
#include <optional>

namespace mosaiq {

struct JobState;
struct ST_PERLISTRECORD;
class SiteRequest;
class TextSource;

// Pages 1, 2, ... of a plain HTML list whose pages show a next-page link: the walk goes on
// while the page read last held one of `nextMarkers` (anywhere in it), and ends at a failed
// request, an empty page, a page that repeats the one before (a server ignoring the page
// number) or a stop.
//
//   for (LinkedPages pages(state, WalkOf::Albums, {u"class=\"nor\">下一页"}); pages.Next();) {
//       const auto text = pages.Fetch(request.At(ListAddress(pages.Page())));
//       if (!text) return;
//       ...
//   }
class LinkedPages {
  public:
    LinkedPages(const JobState& state, WalkOf kind, std::initializer_list<QStringView> nextMarkers);

    // False when the last page showed no next-page link, the job stopped or the page bound
    // is reached.
    bool Next();
    int Page() const { return m_walk.Page(); }
    bool IsFirst() const { return m_walk.Index() == 0; }
    // The current page's text; nothing when the request failed, the text is empty or the same
    // as the page before. Reads the next-page link.
    std::optional<QString> Fetch(const SiteRequest& request);

  private:
    PageWalk m_walk;
    QStringList m_nextMarkers;
    bool m_more = true;
    size_t m_lastHash = 0;
    qsizetype m_lastSize = -1;
};

// The part of `text` after `from` (the whole text when `from` is empty or absent) and before
// `to` (up to the end when `to` is empty or absent).
QStringView Section(QStringView text, QStringView from, QStringView to);

// The pieces of `text` after each `separator`, in order (SplitText's pieces from the second);
// none when the separator is absent.
QStringList PiecesAfter(QStringView text, QStringView separator);

// Lists the album each of `pieces` holds, as `read` finds it there (a record left without an
// albumRef: the piece holds none). False when the job asked to stop.
bool ListAlbumPieces(JobState& state, const QStringList& pieces,
                     const std::function<void(TextSource& piece, ST_PERLISTRECORD& album)>& read);

// A link read from a page as an address: a path, with or without its leading "/", is joined to
// `host` ("http://www.moko.cc") with one "/"; "//host/path" takes the scheme of `host`; a
// whole address stays as it is.
QString PageLink(QStringView host, QStringView link);

// A user name read from a page, cleaned for the save layout; the local time when nothing is
// left of it.
QString PageAccountName(QString name);

}  // namespace mosaiq
