#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkCookie>
#include <QString>

namespace mosaiq {

class CookieStore;

// A line of a cookies.txt file that could not be read.
struct CookieLineProblem {
    int line = 0;  // 1-based
    QString reason;
};

struct CookiesTxtContent {
    QList<QNetworkCookie> cookies;  // in file order; expiry 0 gives session cookies
    QList<CookieLineProblem> problems;
};

// Reads the Netscape cookies.txt format that curl, wget and browser exporters write: one cookie
// a line, seven tab-separated fields (domain, include-subdomains, path, secure, expiry, name,
// value), "#HttpOnly_" before the domain of HTTP-only cookies, other "#" lines comments.
// Malformed lines are listed and skipped; the others are kept.
CookiesTxtContent ParseCookiesTxt(const QByteArray& data);

// Writes cookies in the same format, with its usual header line.
QByteArray FormatCookiesTxt(const QList<QNetworkCookie>& cookies);

struct CookiesTxtImport {
    bool readable = false;
    QString error;  // why the file could not be read
    int imported = 0;
    int expired = 0;  // well-formed but already expired: not stored
    QList<CookieLineProblem> problems;
};

// The largest cookies.txt file an import reads: far above what a browser's cookies take.
inline constexpr qint64 kMaxCookiesTxtBytes = qint64(32) * 1024 * 1024;

// Imports a cookies.txt file into the store (persistent cookies are saved with it). Only a
// regular file up to kMaxCookiesTxtBytes is read.
CookiesTxtImport ImportCookiesTxt(const QString& path, CookieStore& store);

// "line 3: <reason>" lines for a person to read.
QString DescribeProblems(const QList<CookieLineProblem>& problems);

}  // namespace mosaiq
