#include "sites/page_walk.h"

#include "core/job_state.h"
#include "web/pause_clock.h"
#include "web/text_helpers.h"

namespace mosaiq {

PageWalk::PageWalk(const JobState& state, WalkOf kind, WalkRules rules)
    : m_state(state), m_kind(kind), m_rules(rules), m_page(rules.first - rules.step) {}

bool PageWalk::Over() const {
    return WalkStopped(m_state, m_kind) || m_fetched >= m_rules.maxPages ||
           (m_rules.ended && m_rules.ended());
}

bool PageWalk::Next() {
    if (Over()) {
        return false;
    }
    if (m_fetched > 0 && !m_again && m_rules.pause.count() > 0) {
        Pause(m_rules.pause);
        // A stop during the pause fetches nothing more.
        if (WalkStopped(m_state, m_kind)) {
            return false;
        }
    }
    if (m_again) {
        m_again = false;
    } else {
        m_page += m_rules.step;
        ++m_index;
    }
    ++m_fetched;
    return true;
}

bool PageWalk::Repeats(const QStringList& pageItems) {
    bool anyNew = false;
    for (const QString& item : pageItems) {
        if (!m_seen.contains(item)) {
            m_seen.insert(item);
            anyNew = true;
        }
    }
    return !pageItems.isEmpty() && !anyNew;
}

QStringList ItemKeys(const QStringList& pieces, QStringView start, QStringView end) {
    QStringList keys;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QString key = TakeBetween(QStringView(pieces[i]), start, end);
        if (!key.isEmpty()) {
            keys << std::move(key);
        }
    }
    return keys;
}

bool WalkStopped(const JobState& state, WalkOf kind) {
    return kind == WalkOf::Albums ? ListStopRequested(state) : DownloadShouldEnd(state);
}

}  // namespace mosaiq
