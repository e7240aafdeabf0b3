#pragma once

#include <QString>
#include <QStringView>

#include <QSet>
#include <QStringList>

#include <cstdint>

namespace mosaiq {

struct JobState;

// The waits of the QQ adapters (pauses between pages, the pause after a login) and the delay
// between the attempts of their retrying requests. Tests swap in a recorder so the rules stay
// as they are without the test waiting for them.
using PauseFunction = void (*)(int milliseconds);
struct QqTiming {
    PauseFunction pause;
    uint8_t retryDelaySeconds;
};
// Installs new timing and returns the former one; a null pause means the real sleep.
QqTiming SetQqTiming(QqTiming timing);
void QqPause(int milliseconds);
uint8_t QqRetryDelaySeconds();

// Every "\/" of a JSON text as "/".
QString Unslashed(QString text);

// The value of the number a text starts with, after blanks and an optional sign; digits stop
// at the first other character (a closing quote, a comma). 0 when there is none.
int32_t LeadingNumber(QStringView text);

// The processor time of the program in milliseconds, as the sites' cache breakers use it.
uint32_t ProcessClockMs();

// RandomFraction without its line end, fit for an address.
QString CacheBreaker();

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

// The album-list stop request, and the download's stop or early end of the album.
bool ListStopRequested(const JobState& state);
bool DownloadShouldEnd(const JobState& state);

}  // namespace mosaiq
