#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace mosaiq {

struct JobState;

// Which stop a walk honours: the album-list job's, or the download's (stop or album ended).
enum class WalkOf { Albums, Pictures };

struct WalkRules {
    int first = 1;                       // number of the first page (a page number, an offset ...)
    int step = 1;                        // added for every further page
    std::chrono::milliseconds pause{0};  // waited before every page but the first
    int maxPages = 5000;                 // a site that never stops answering cannot page for ever
    // An end the site's rules name besides the stop (an album's count reached): checked with
    // the stop before every page, so no pause is waited for a page that is never requested.
    std::function<bool()> ended = nullptr;
};

// The paging of an adapter: first page, next page, the pause between pages, the stop checks
// and the guards against a site that never ends.
//
//   for (PageWalk walk(state, WalkOf::Albums, {.first = 1}); walk.Next();) {
//       const auto text = SiteRequest(PageAddress(walk.Page())).Fetch();
//       if (!text) return;
//       ...
//   }
class PageWalk {
  public:
    PageWalk(const JobState& state, WalkOf kind, WalkRules rules = {});

    // Before every page: false when the job stopped (or the album ended), `ended` holds or the
    // page bound is reached; otherwise waits the pause (not before the first page) and moves
    // on. A walk that ends never waits: the last page is followed by no pause.
    bool Next();
    // The current page's number: first, first + step, ...
    int Page() const { return m_page; }
    // 0 for the first page fetched, 1 for the next ...
    int Index() const { return m_index; }
    // The pause before the pages after this one.
    void SetPause(std::chrono::milliseconds pause) { m_rules.pause = pause; }
    // The next Next() gives the same page again, without the pause (after a login or a
    // verification, which wait on their own).
    void Again() { m_again = true; }
    // True when the page held items and every one was seen on an earlier page: the server
    // ignores the page start and answers the same items again.
    bool Repeats(const QStringList& pageItems);

  private:
    bool Over() const;

    const JobState& m_state;
    WalkOf m_kind;
    WalkRules m_rules;
    int m_page;
    int m_index = -1;
    int m_fetched = 0;
    bool m_again = false;
    QSet<QString> m_seen;
};

// The non-empty texts between `start` and `end` of every piece after the first (the text
// before a page's first item): what tells the page's items apart, for PageWalk::Repeats.
QStringList ItemKeys(const QStringList& pieces, QStringView start, QStringView end);

// True when the job the walk belongs to was stopped (or, for pictures, the album ended).
bool WalkStopped(const JobState& state, WalkOf kind);

}  // namespace mosaiq
