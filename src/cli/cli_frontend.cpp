#include "cli/cli_frontend.h"

#include <QRegularExpression>

namespace mosaiq {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

CliFrontend::CliFrontend(std::FILE* err, bool errIsTerminal, bool quiet, bool answerYes)
    : m_err(err), m_terminal(errIsTerminal), m_quiet(quiet), m_answerYes(answerYes) {}

void CliFrontend::Line(const QString& text) {
    EndBar();
    std::fputs(text.toUtf8().constData(), m_err);
    std::fputc('\n', m_err);
    std::fflush(m_err);
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
    const QRegularExpressionMatch match = progress.match(text);
    if (line == StatusLine::Progress && match.hasMatch() && m_terminal) {
        const int done = match.captured(1).toInt();
        const int total = std::max(1, match.captured(2).toInt());
        const int filled = kBarWidth * done / total;
        const QString bar = QString(filled, u'#') + QString(kBarWidth - filled, u' ');
        std::fprintf(m_err, "\r[%s] %d/%d", bar.toUtf8().constData(), done, total);
        std::fflush(m_err);
        m_barShown = true;
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

void CliFrontend::OpenFolder(const QString& path) {
    std::lock_guard lock(m_mutex);
    if (!m_quiet) {
        Line(QStringLiteral("Saved in %1").arg(path));
    }
}

void CliFrontend::OpenWebPage(const QString& address) {
    std::lock_guard lock(m_mutex);
    Line(QStringLiteral("Open this page in a browser: %1").arg(address));
}

}  // namespace mosaiq
