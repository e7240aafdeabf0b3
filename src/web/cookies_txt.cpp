#include "web/cookies_txt.h"

#include "web/cookie_store.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace mosaiq {

namespace {

const QByteArray kHttpOnlyPrefix("#HttpOnly_");

bool ReadFlag(const QByteArray& field, bool& flag) {
    if (field == "TRUE") {
        flag = true;
    } else if (field == "FALSE") {
        flag = false;
    } else {
        return false;
    }
    return true;
}

// Seconds since the epoch; some exporters write a fraction, which is dropped.
bool ReadExpiry(const QByteArray& field, qint64& seconds) {
    bool ok = false;
    const double value = field.toDouble(&ok);
    // Written so that "nan" fails too; beyond 9999-12-31 is damage.
    if (!ok || !(value >= 0 && value <= 253402300799.0)) {
        return false;
    }
    seconds = qint64(value);
    return true;
}

// Empty reason when the line holds a cookie.
QString ReadLine(QByteArray line, QNetworkCookie& cookie) {
    bool httpOnly = false;
    if (line.startsWith(kHttpOnlyPrefix)) {
        httpOnly = true;
        line.remove(0, kHttpOnlyPrefix.size());
    }
    QList<QByteArray> fields = line.split('\t');
    if (fields.size() == 6) {
        fields.append(QByteArray());  // exporters drop the tab before an empty value
    }
    if (fields.size() != 7) {
        return QStringLiteral("expected 7 tab-separated fields, found %1").arg(fields.size());
    }
    QByteArray domain = fields[0].trimmed();
    bool subdomains = false;
    bool secure = false;
    qint64 expiry = 0;
    const QByteArray& path = fields[2];
    const QByteArray& name = fields[5];
    while (domain.startsWith('.')) {
        domain.remove(0, 1);
    }
    // A domain starting with "#" would be written back as a comment or an HttpOnly mark, one
    // with a control character would not read back the same.
    const bool controlCharacter = std::any_of(domain.cbegin(), domain.cend(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    if (domain.isEmpty() || domain.contains(' ') || domain.contains('/') ||
        domain.startsWith('#') || controlCharacter) {
        return QStringLiteral("bad domain");
    }
    if (!ReadFlag(fields[1], subdomains)) {
        return QStringLiteral("include-subdomains field is not TRUE or FALSE");
    }
    if (!path.startsWith('/')) {
        return QStringLiteral("path does not begin with /");
    }
    if (!ReadFlag(fields[3], secure)) {
        return QStringLiteral("secure field is not TRUE or FALSE");
    }
    if (!ReadExpiry(fields[4], expiry)) {
        return QStringLiteral("expiry is not a time in seconds");
    }
    if (name.isEmpty() || name.contains('=') || name.contains(';')) {
        return QStringLiteral("bad cookie name");
    }
    if (fields[6].contains(';')) {
        return QStringLiteral("value holds a semicolon");
    }
    cookie = QNetworkCookie(name, fields[6]);
    // A leading dot marks a cookie for the domain and its subdomains; without it the cookie
    // is for that host only.
    cookie.setDomain(subdomains ? "." + QString::fromUtf8(domain) : QString::fromUtf8(domain));
    cookie.setPath(QString::fromUtf8(path));
    cookie.setSecure(secure);
    cookie.setHttpOnly(httpOnly);
    if (expiry > 0) {
        cookie.setExpirationDate(QDateTime::fromSecsSinceEpoch(expiry));
    }
    return QString();
}

}  // namespace

CookiesTxtContent ParseCookiesTxt(const QByteArray& data) {
    CookiesTxtContent content;
    const QList<QByteArray> lines = data.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (line.trimmed().isEmpty() ||
            (line.startsWith('#') && !line.startsWith(kHttpOnlyPrefix))) {
            continue;
        }
        QNetworkCookie cookie;
        const QString reason = ReadLine(line, cookie);
        if (reason.isEmpty()) {
            content.cookies.append(cookie);
        } else {
            content.problems.append({i + 1, reason});
        }
    }
    return content;
}

QByteArray FormatCookiesTxt(const QList<QNetworkCookie>& cookies) {
    QByteArray out("# Netscape HTTP Cookie File\n# Written by Mosaiq. Holds login cookies.\n\n");
    for (const QNetworkCookie& cookie : cookies) {
        const QString domain = cookie.domain();
        const bool subdomains = domain.startsWith(u'.');
        if (cookie.isHttpOnly()) {
            out += kHttpOnlyPrefix;
        }
        out += domain.toUtf8();
        out += subdomains ? "\tTRUE\t" : "\tFALSE\t";
        out += cookie.path().isEmpty() ? QByteArray("/") : cookie.path().toUtf8();
        out += cookie.isSecure() ? "\tTRUE\t" : "\tFALSE\t";
        out += QByteArray::number(
            cookie.isSessionCookie() ? 0 : cookie.expirationDate().toSecsSinceEpoch());
        out += '\t' + cookie.name() + '\t' + cookie.value() + '\n';
    }
    return out;
}

CookiesTxtImport ImportCookiesTxt(const QString& path, CookieStore& store) {
    CookiesTxtImport result;
    // A device or a pipe would be read for ever; no real cookies file comes near the bound.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        result.error = QStringLiteral("not a regular file");
        return result;
    }
    if (info.size() > kMaxCookiesTxtBytes) {
        result.error = QStringLiteral("larger than %1 MiB, not a cookies file")
                           .arg(kMaxCookiesTxtBytes / (1024 * 1024));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    result.readable = true;
    const CookiesTxtContent content = ParseCookiesTxt(file.readAll());
    result.problems = content.problems;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<QNetworkCookie> fresh;
    for (const QNetworkCookie& cookie : content.cookies) {
        if (!cookie.isSessionCookie() && cookie.expirationDate() <= now) {
            ++result.expired;
        } else {
            fresh.append(cookie);
        }
    }
    result.imported = store.Insert(fresh);
    return result;
}

QString DescribeProblems(const QList<CookieLineProblem>& problems) {
    QStringList lines;
    for (const CookieLineProblem& problem : problems) {
        lines.append(QStringLiteral("line %1: %2").arg(problem.line).arg(problem.reason));
    }
    return lines.join(u'\n');
}

}  // namespace mosaiq
