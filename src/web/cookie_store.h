#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkCookie>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace mosaiq {

class CookieJar;

// Limits a browser keeps: a bigger cookie is refused, the oldest cookies give way to new ones.
inline constexpr qsizetype kMaxCookieBytes = 4096;  // name and value
inline constexpr int kMaxCookiesPerDomain = 180;
inline constexpr int kMaxCookies = 3000;

// The user's cookies, shared by every thread and by the login browser. Matching (domain, host-
// only, path, secure, expiry) is a browser's; the checks on Set-Cookie answers (a site may not
// set cookies for another site or a public suffix) are Qt's. Cookies are kept by domain, so a
// lookup costs the host's labels, not the whole store; domain cookies never match an IP
// address. A cookie whose texts cannot be written to cookies.txt and read back the same (tabs,
// line breaks, a leading "#") is refused. Session cookies live in memory until the program
// ends; persistent ones are saved to the file (Netscape cookies.txt format, mode 0600,
// temporary file and rename) after every change, at most once per call, and the file is
// written outside the lock that requests wait on. Thread-safe.
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
    // The same for an address not parsed yet: an empty store answers without parsing it.
    QByteArray CookieHeaderFor(const QString& address) const;

    // Stores the cookies of one Set-Cookie header line received from `url`, after the checks a
    // browser makes (a site may not set cookies for another site or a public suffix). Returns
    // whether any was accepted.
    bool StoreSetCookie(const QUrl& url, const QByteArray& headerLine);
    // Every Set-Cookie line of one answer, saved once.
    bool StoreSetCookies(const QUrl& url, const QList<QByteArray>& headerLines);
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
    struct Entry {
        QNetworkCookie cookie;
        uint64_t stamp;  // insertion order, for evicting the oldest
    };

    void Load();
    // With m_mutex held: stores one cookie (replacing its namesake, or removing it when it is
    // expired); true when it was stored.
    bool InsertLocked(const QNetworkCookie& cookie);
    bool DeleteLocked(const QNetworkCookie& cookie);
    void EvictLocked(const QString& domain);
    QList<QNetworkCookie> MatchingLocked(const QUrl& url) const;
    std::vector<const Entry*> InOrderLocked() const;  // oldest first
    // Writes the file when the cookies changed; takes m_mutex only to copy them.
    void Save();

    QString m_filePath;
    std::unique_ptr<CookieJar> m_validator;
    QHash<QString, std::vector<Entry>> m_byDomain;  // cookie domain as stored ("a.com", ".a.com")
    std::map<uint64_t, QString> m_byAge;            // stamp to domain, oldest first
    uint64_t m_nextStamp = 0;
    uint64_t m_changes = 0;  // counts changes, so a save knows whether it is current
    QStringList m_loadProblems;
    bool m_saveBlocked = false;  // the file exists but could not be read: never overwrite it
    mutable std::mutex m_mutex;

    std::mutex m_saveMutex;  // one writer at a time, outside m_mutex
    QByteArray m_lastSaved;  // what the file holds, to skip writes that change nothing
    uint64_t m_savedChanges = 0;
};

// The store of the current user data folder, created on first use; a new one is opened when
// the folder moves (XDG_DATA_HOME changed, as in tests).
std::shared_ptr<CookieStore> SharedCookieStore();

}  // namespace mosaiq
