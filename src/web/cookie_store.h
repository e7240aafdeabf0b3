#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkCookie>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <mutex>

namespace mosaiq {

class CookieJar;

// The user's cookies, shared by every thread and by the login browser. Matching (domain, host-
// only, path, secure, expiry) and the checks on Set-Cookie answers are Qt's, as a browser does
// them. Session cookies live in memory until the program ends; persistent ones are saved to
// the file (Netscape cookies.txt format, mode 0600, temporary file and rename) after every
// change. Thread-safe.
class CookieStore {
  public:
    // An empty path keeps everything in memory. A damaged file loads what it can: the problems
    // are in LoadProblems() and the original is kept beside it as "<file>.damaged".
    explicit CookieStore(QString filePath);
    ~CookieStore();
    CookieStore(const CookieStore&) = delete;
    CookieStore& operator=(const CookieStore&) = delete;

    // "<user data folder>/cookies.txt".
    static QString DefaultFilePath();

    QString FilePath() const { return m_filePath; }
    QStringList LoadProblems() const;

    // The cookies a browser would send to `url`, longest path first.
    QList<QNetworkCookie> CookiesFor(const QUrl& url) const;
    // The same as a Cookie header value: "name=value" pairs joined by "; "; empty when none.
    QByteArray CookieHeaderFor(const QUrl& url) const;

    // Stores the cookies of one Set-Cookie header line received from `url`, after the checks a
    // browser makes (a site may not set cookies for another site or a public suffix). Returns
    // whether any was accepted.
    bool StoreSetCookie(const QUrl& url, const QByteArray& headerLine);
    // Stores cookies as they are (from the login browser or an import): each replaces the
    // cookie of the same name, domain and path; an expired one removes it. Returns how many
    // were stored.
    int Insert(const QList<QNetworkCookie>& cookies);
    bool Remove(const QNetworkCookie& cookie);
    // Removes every cookie that would be sent to `url`.
    int RemoveFor(const QUrl& url);

    // Every cookie that has not expired.
    QList<QNetworkCookie> AllCookies() const;
    // Those of them set for `domain` or its subdomains, or that a host `domain` is sent.
    QList<QNetworkCookie> CookiesOfDomain(const QString& domain) const;

  private:
    void Load();
    // Called with m_mutex held, after a change.
    void SaveLocked();

    QString m_filePath;
    std::unique_ptr<CookieJar> m_jar;
    QStringList m_loadProblems;
    QByteArray m_lastSaved;      // what the file holds, to skip writes that change nothing
    bool m_saveBlocked = false;  // the file exists but could not be read: never overwrite it
    mutable std::mutex m_mutex;
};

// The store of the current user data folder, created on first use; a new one is opened when
// the folder moves (XDG_DATA_HOME changed, as in tests).
std::shared_ptr<CookieStore> SharedCookieStore();

}  // namespace mosaiq
