#include "sites/qq_common.h"

#include "core/job_state.h"
#include "web/text_helpers.h"

#include <QUrl>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

namespace mosaiq {
namespace {

constexpr uint8_t kRetryDelaySeconds = 5;

std::mutex g_timingMutex;
QqTiming g_timing{nullptr, kRetryDelaySeconds};

QqTiming CurrentTiming() {
    std::lock_guard lock(g_timingMutex);
    return g_timing;
}

}  // namespace

QqTiming SetQqTiming(QqTiming timing) {
    std::lock_guard lock(g_timingMutex);
    const QqTiming former = g_timing;
    g_timing = timing;
    return former;
}

void QqPause(int milliseconds) {
    const QqTiming timing = CurrentTiming();
    if (timing.pause != nullptr) {
        timing.pause(milliseconds);
    } else if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

uint8_t QqRetryDelaySeconds() {
    return CurrentTiming().retryDelaySeconds;
}

QString Unslashed(QString text) {
    return text.replace(QLatin1String("\\/"), QLatin1String("/"));
}

int32_t LeadingNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        // Saturate instead of overflowing on an absurd count.
        value = std::min<int64_t>(value * 10 + (text[i].unicode() - u'0'), INT32_MAX);
    }
    return int32_t(negative ? -value : value);
}

uint32_t ProcessClockMs() {
    return uint32_t(uint64_t(std::clock()) * 1000 / CLOCKS_PER_SEC);
}

QString CacheBreaker() {
    return RandomFraction().trimmed();
}

QString QueryValue(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

bool RepeatGuard::IsRepeat(const QStringList& pageItems) {
    bool anyNew = false;
    for (const QString& item : pageItems) {
        if (!m_seen.contains(item)) {
            m_seen.insert(item);
            anyNew = true;
        }
    }
    return !pageItems.isEmpty() && !anyNew;
}

bool ListStopRequested(const JobState& state) {
    return state.m_listState.load() == 2;
}

bool DownloadShouldEnd(const JobState& state) {
    const uint8_t s = state.m_downState.load();
    return s == 2 || s == 3;
}

}  // namespace mosaiq
