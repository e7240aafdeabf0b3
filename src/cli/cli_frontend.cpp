#include "cli/cli_frontend.h"

#include "jobs/picture_failures.h"

#include <QRegularExpression>

#include <algorithm>

namespace mosaiq {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

QString TerminalSafe(const QString& text) {
    QString safe = text;
    safe.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    safe.replace(u'\r', u'\n');
    for (QChar& c : safe) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n') || (u >= 0x7F && u <= 0x9F)) {
            c = u'?';
        }
    }
    return safe;
}

CliFrontend::CliFrontend(std::FILE* err, bool errIsTerminal, bool quiet, bool answerYes)
    : m_err(err), m_terminal(errIsTerminal), m_quiet(quiet), m_answerYes(answerYes) {}

namespace {

QString SizeText(double bytes) {
    const char* units[] = {"B", "KB", "MB", "GB", "TB"};
    int unit = 0;
    while (bytes >= 1024 && unit < 4) {
        bytes /= 1024;
        ++unit;
    }
    return unit == 0
               ? QStringLiteral("%1 B").arg(qint64(bytes))
               : QStringLiteral("%1 %2").arg(bytes, 0, 'f', 1).arg(QLatin1String(units[unit]));
}

QString DurationText(qint64 seconds) {
    return seconds >= 3600 ? QStringLiteral("%1:%2:%3")
                                 .arg(seconds / 3600)
                                 .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                           : QStringLiteral("%1:%2")
                                 .arg(seconds / 60)
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString ProgressBarText(int done, int total, qint64 bytes, qint64 elapsedMs) {
    total = std::max(1, total);
    const int filled = kBarWidth * std::clamp(done, 0, total) / total;
    QString text = QStringLiteral("[%1%2] %3/%4  %5")
                       .arg(QString(filled, u'#'), QString(kBarWidth - filled, u' '))
                       .arg(done)
                       .arg(total)
                       .arg(SizeText(double(bytes)));
    if (elapsedMs > 0 && done > 0) {
        text += QStringLiteral("  %1/s").arg(SizeText(double(bytes) * 1000 / double(elapsedMs)));
        if (done < total) {
            const qint64 left = elapsedMs * (total - done) / done / 1000;
            text += QStringLiteral("  %1 left").arg(DurationText(left));
        }
    }
    return text;
}

void CliFrontend::Line(const QString& text) {
    EndBar();
    if (!m_pendingCount.isEmpty()) {
        const QString count = m_pendingCount;
        m_pendingCount.clear();
        Line(count);
    }
    std::fputs(TerminalSafe(text).toUtf8().constData(), m_err);
    std::fputc('\n', m_err);
    std::fflush(m_err);
}

void CliFrontend::Redraw(const QString& text) {
    // Clears what a longer former text left on the line.
    std::fprintf(m_err, "\r%s\x1b[K", text.toUtf8().constData());
    std::fflush(m_err);
    m_barShown = true;
}

void CliFrontend::EndBar() {
    if (m_barShown) {
        std::fputc('\n', m_err);
        m_barShown = false;
    }
}

void CliFrontend::SetStatusText(StatusLine line, const QString& text) {
    std::lock_guard lock(m_mutex);
    if (m_quiet || text.isEmpty() || text == u"......") {
        return;
    }
    static const QRegularExpression progress(QStringLiteral("^已下载(\\d+)/(\\d+)"));
    static const QRegularExpression listed(QStringLiteral("^已获取到\\d+张图片信息$"));
    if (text == u"已开始下载图片") {
        m_albumClock.start();
    }
    const QRegularExpressionMatch match = progress.match(text);
    if (line == StatusLine::Progress && match.hasMatch() && m_terminal) {
        if (!m_albumClock.isValid()) {
            m_albumClock.start();
        }
        Redraw(ProgressBarText(match.captured(1).toInt(), match.captured(2).toInt(), SavedBytes(),
                               m_albumClock.elapsed()));
        return;
    }
    // One line per album, not one per picture listed: the last count stands for them.
    if (line == StatusLine::Progress && listed.match(text).hasMatch()) {
        if (m_terminal) {
            Redraw(text);
        } else {
            m_pendingCount = text;
        }
        return;
    }
    Line(text);
}

QStringList CliFrontend::Messages() {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

void CliFrontend::ShowMessage(const QString& text, const QString& caption) {
    std::lock_guard lock(m_mutex);
    m_messages << text;
    Line(caption + QStringLiteral(": ") +
         QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
}

bool CliFrontend::AskYesNo(const QString& text, const QString& caption) {
    std::lock_guard lock(m_mutex);
    Line(caption + QStringLiteral(": ") + text +
         (m_answerYes ? QStringLiteral(" -> yes (--yes)") : QStringLiteral(" -> no (--no)")));
    return m_answerYes;
}

bool CliFrontend::OpenLoginWindow(const QString& address, int) {
    std::lock_guard lock(m_mutex);
    Line(QStringLiteral("This site wants a login (%1), and the command line cannot open a login "
                        "window: log in with a browser, export its cookies.txt and pass "
                        "--cookies FILE.")
             .arg(address));
    return false;
}

std::vector<int> CliFrontend::SelectedAlbums() {
    std::lock_guard lock(m_mutex);
    return selected;
}

void CliFrontend::SelectAllAlbums() {
    std::lock_guard lock(m_mutex);
    selected.clear();
    for (int i = 0; i < albumCount; ++i) {
        selected.push_back(i);
    }
}

void CliFrontend::OpenFolder(const QString&) {
    // Nothing to open here: the run names every album folder it saved into at its end.
}

void CliFrontend::OpenWebPage(const QString& address) {
    std::lock_guard lock(m_mutex);
    Line(QStringLiteral("Open this page in a browser: %1").arg(address));
}

}  // namespace mosaiq
