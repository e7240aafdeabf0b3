#include "cli/cookies_command.h"

#include "web/cookie_store.h"
#include "web/cookies_txt.h"

#include <QDateTime>
#include <QTextStream>

namespace mosaiq {

namespace {

const char kCookiesUsage[] = "Usage: mosaiq-cli cookies list [DOMAIN] [--values]\n";

void PrintLoadProblems(const CookieStore& store, QTextStream& err) {
    for (const QString& problem : store.LoadProblems()) {
        err << "cookie store: " << problem << '\n';
    }
}

}  // namespace

int RunCookiesCommand(const QStringList& args, std::FILE* outFile, std::FILE* errFile) {
    QTextStream out(outFile);
    QTextStream err(errFile);
    bool values = false;
    QStringList rest;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--values")) {
            values = true;
        } else {
            rest.append(arg);
        }
    }
    if (rest.isEmpty() || rest.first() != QLatin1String("list") || rest.size() > 2 ||
        (rest.size() == 2 && rest[1].startsWith(u'-'))) {
        err << kCookiesUsage;
        return 2;
    }
    const std::shared_ptr<CookieStore> store = SharedCookieStore();
    PrintLoadProblems(*store, err);
    const QList<QNetworkCookie> cookies =
        rest.size() == 2 ? store->CookiesOfDomain(rest[1]) : store->AllCookies();
    for (const QNetworkCookie& cookie : cookies) {
        out << QString::fromUtf8(cookie.name()) << '\t' << cookie.domain() << '\t' << cookie.path()
            << '\t'
            << (cookie.isSessionCookie() ? QStringLiteral("session")
                                         : cookie.expirationDate().toUTC().toString(Qt::ISODate));
        if (cookie.isSecure()) {
            out << "\tsecure";
        }
        if (values) {
            out << '\t' << QString::fromUtf8(cookie.value());
        }
        out << '\n';
    }
    err << cookies.size() << " cookie(s) in " << store->FilePath() << '\n';
    return 0;
}

void ReportCookieStoreProblems(std::FILE* errFile) {
    QTextStream err(errFile);
    PrintLoadProblems(*SharedCookieStore(), err);
}

bool ImportCookiesOption(const QString& path, std::FILE* errFile) {
    QTextStream err(errFile);
    const std::shared_ptr<CookieStore> store = SharedCookieStore();
    PrintLoadProblems(*store, err);
    const CookiesTxtImport report = ImportCookiesTxt(path, *store);
    if (!report.readable) {
        err << path << ": " << report.error << '\n';
        return false;
    }
    for (const CookieLineProblem& problem : report.problems) {
        err << path << ':' << problem.line << ": " << problem.reason << "; line skipped\n";
    }
    err << "imported " << report.imported << " cookie(s) from " << path;
    if (report.expired > 0) {
        err << " (" << report.expired << " expired, not imported)";
    }
    err << '\n';
    return true;
}

}  // namespace mosaiq
