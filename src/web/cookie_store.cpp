#include "web/cookie_store.h"

#include "web/cookies_txt.h"
#include "web/user_data_folder.h"

#include <QDateTime>
#include <QFile>
#include <QHostAddress>
#include <QNetworkCookieJar>
#include <QSaveFile>

#include <algorithm>

namespace mosaiq {

// Qt's jar only judges Set-Cookie answers (domain rules, public suffixes); the store keeps the
// cookies itself.
class CookieJar : public QNetworkCookieJar {
  public:
    using QNetworkCookieJar::validateCookie;
};

namespace {

bool IsExpired(const QNetworkCookie& cookie, const QDateTime& now) {
    return !cookie.isSessionCookie() && cookie.expirationDate() <= now;
}

bool HasControlCharacter(const QByteArray& bytes) {
    for (const char c : bytes) {
        if (uint8_t(c) < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

// Texts cookies.txt writes and reads back the same, within the size a browser keeps.
bool IsStorable(const QNetworkCookie& cookie) {
    const QByteArray domain = cookie.domain().toUtf8();
    const QByteArray path = cookie.path().toUtf8();
    return cookie.name().size() + cookie.value().size() <= kMaxCookieBytes &&
           !HasControlCharacter(cookie.name()) && !HasControlCharacter(cookie.value()) &&
           !HasControlCharacter(domain) && !HasControlCharacter(path) &&
           !cookie.name().startsWith('#') && !domain.startsWith('#') && !domain.contains(' ') &&
           !path.contains(' ');
}

bool SameIdentity(const QNetworkCookie& a, const QNetworkCookie& b) {
    return a.name() == b.name() && a.path() == b.path();
}

bool IsIpAddress(const QString& host) {
    return host.startsWith(u'[') || !QHostAddress(host).isNull();
}

// A browser's path rule: "/album" is sent to "/album" and "/album/2", not to "/albums".
bool PathMatches(const QString& requestPath, const QString& cookiePath) {
    if (cookiePath.isEmpty() || requestPath == cookiePath) {
        return true;
    }
    return requestPath.startsWith(cookiePath) &&
           (cookiePath.endsWith(u'/') || requestPath.at(cookiePath.size()) == u'/');
}

}  // namespace

CookieStore::CookieStore(QString filePath)
    : m_filePath(std::move(filePath)), m_validator(std::make_unique<CookieJar>()) {
    Load();
}

CookieStore::~CookieStore() = default;

QString CookieStore::DefaultFilePath() {
    return UserDataFolderPath() + QStringLiteral("/cookies.txt");
}

QStringList CookieStore::LoadProblems() const {
    std::lock_guard lock(m_mutex);
    return m_loadProblems;
}

void CookieStore::Load() {
    if (m_filePath.isEmpty() || !QFile::exists(m_filePath)) {
        return;
    }
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_saveBlocked = true;
        m_loadProblems.append(QStringLiteral("%1: %2; cookies will not be saved")
                                  .arg(m_filePath, file.errorString()));
        return;
    }
    const QByteArray data = file.readAll();
    file.close();
    const CookiesTxtContent content = ParseCookiesTxt(data);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    std::lock_guard lock(m_mutex);
    for (const QNetworkCookie& cookie : content.cookies) {
        if (!IsExpired(cookie, now)) {
            InsertLocked(cookie);
        }
    }
    if (!content.problems.isEmpty()) {
        // The next save drops the unreadable lines: keep the file as it was.
        const QString copy = m_filePath + QStringLiteral(".damaged");
        QFile::remove(copy);
        const bool kept = QFile::copy(m_filePath, copy);
        m_saveBlocked = !kept;
        m_loadProblems.append(QStringLiteral("%1: %2 damaged line(s) skipped; %3")
                                  .arg(m_filePath)
                                  .arg(content.problems.size())
                                  .arg(kept ? QStringLiteral("original kept as ") + copy
                                            : QStringLiteral("cookies will not be saved")));
        for (const CookieLineProblem& problem : content.problems) {
            m_loadProblems.append(
                QStringLiteral("line %1: %2").arg(problem.line).arg(problem.reason));
        }
    }
    m_lastSaved = data;
    m_savedChanges = m_changes;
}

bool CookieStore::DeleteLocked(const QNetworkCookie& cookie) {
    const auto bucket = m_byDomain.find(cookie.domain().toLower());
    if (bucket == m_byDomain.end()) {
        return false;
    }
    std::vector<Entry>& entries = *bucket;
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (SameIdentity(it->cookie, cookie)) {
            m_byAge.erase(it->stamp);
            entries.erase(it);
            if (entries.empty()) {
                m_byDomain.erase(bucket);
            }
            ++m_changes;
            return true;
        }
    }
    return false;
}

bool CookieStore::InsertLocked(const QNetworkCookie& cookie) {
    if (!IsStorable(cookie)) {
        return false;
    }
    DeleteLocked(cookie);
    if (IsExpired(cookie, QDateTime::currentDateTimeUtc())) {
        return false;
    }
    const QString domain = cookie.domain().toLower();
    const uint64_t stamp = m_nextStamp++;
    std::vector<Entry>& entries = m_byDomain[domain];
    entries.push_back({cookie, stamp});
    m_byAge.emplace(stamp, domain);
    ++m_changes;
    EvictLocked(domain);
    return true;
}

void CookieStore::EvictLocked(const QString& domain) {
    const auto eraseOldest = [this](const QString& key) {
        std::vector<Entry>& entries = m_byDomain[key];
        m_byAge.erase(entries.front().stamp);
        entries.erase(entries.begin());
        if (entries.empty()) {
            m_byDomain.remove(key);
        }
    };
    const auto bucket = m_byDomain.constFind(domain);
    if (bucket != m_byDomain.cend() && bucket->size() > size_t(kMaxCookiesPerDomain)) {
        eraseOldest(domain);
    }
    if (m_byAge.size() > size_t(kMaxCookies)) {
        eraseOldest(m_byAge.begin()->second);
    }
}

QList<QNetworkCookie> CookieStore::MatchingLocked(const QUrl& url) const {
    const QString host = url.host().toLower();
    const QString path = url.path().isEmpty() ? QStringLiteral("/") : url.path();
    const bool secure = url.scheme().compare(u"https", Qt::CaseInsensitive) == 0;
    QStringList keys{host};
    if (!IsIpAddress(host)) {
        for (qsizetype dot = -1; dot < host.size();) {
            keys.append(u'.' + host.mid(dot + 1));
            dot = host.indexOf(u'.', dot + 1);
            if (dot < 0) {
                break;
            }
        }
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    std::vector<const Entry*> found;
    for (const QString& key : keys) {
        const auto bucket = m_byDomain.constFind(key);
        if (bucket == m_byDomain.cend()) {
            continue;
        }
        for (const Entry& entry : *bucket) {
            if (PathMatches(path, entry.cookie.path()) && (secure || !entry.cookie.isSecure()) &&
                !IsExpired(entry.cookie, now)) {
                found.push_back(&entry);
            }
        }
    }
    // Longest path first, then the older cookie first, as browsers send them.
    std::sort(found.begin(), found.end(), [](const Entry* a, const Entry* b) {
        const qsizetype lengthA = a->cookie.path().size();
        const qsizetype lengthB = b->cookie.path().size();
        return lengthA != lengthB ? lengthA > lengthB : a->stamp < b->stamp;
    });
    QList<QNetworkCookie> cookies;
    for (const Entry* entry : found) {
        cookies.append(entry->cookie);
    }
    return cookies;
}

std::vector<const CookieStore::Entry*> CookieStore::InOrderLocked() const {
    std::vector<const Entry*> entries;
    entries.reserve(m_byAge.size());
    for (const std::vector<Entry>& bucket : m_byDomain) {
        for (const Entry& entry : bucket) {
            entries.push_back(&entry);
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry* a, const Entry* b) { return a->stamp < b->stamp; });
    return entries;
}

void CookieStore::Save() {
    if (m_filePath.isEmpty()) {
        return;
    }
    QList<QNetworkCookie> persistent;
    uint64_t changes = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_saveBlocked) {
            return;
        }
        changes = m_changes;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const Entry* entry : InOrderLocked()) {
            if (!entry->cookie.isSessionCookie() && !IsExpired(entry->cookie, now)) {
                persistent.append(entry->cookie);
            }
        }
    }
    std::lock_guard saving(m_saveMutex);
    if (changes <= m_savedChanges) {
        return;  // a save of these changes or later ones came first
    }
    const QByteArray data = FormatCookiesTxt(persistent);
    if (data == m_lastSaved) {
        m_savedChanges = changes;
        return;
    }
    UserDataFolder();
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning("cookie store: cannot write %s: %s", qPrintable(m_filePath),
                 qPrintable(file.errorString()));
        return;
    }
    // Set on the temporary file, so the cookies are never readable by others.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(data);
    if (file.commit()) {
        m_lastSaved = data;
        m_savedChanges = changes;
    } else {
        qWarning("cookie store: cannot save %s: %s", qPrintable(m_filePath),
                 qPrintable(file.errorString()));
    }
}

QList<QNetworkCookie> CookieStore::CookiesFor(const QUrl& url) const {
    std::lock_guard lock(m_mutex);
    return MatchingLocked(url);
}

QByteArray CookieStore::CookieHeaderFor(const QUrl& url) const {
    QByteArray header;
    for (const QNetworkCookie& cookie : CookiesFor(url)) {
        if (!header.isEmpty()) {
            header += "; ";
        }
        header += cookie.toRawForm(QNetworkCookie::NameAndValueOnly);
    }
    return header;
}

QByteArray CookieStore::CookieHeaderFor(const QString& address) const {
    {
        std::lock_guard lock(m_mutex);
        if (m_byDomain.isEmpty()) {
            return {};
        }
    }
    return CookieHeaderFor(QUrl(address));
}

bool CookieStore::StoreSetCookie(const QUrl& url, const QByteArray& headerLine) {
    return StoreSetCookies(url, {headerLine});
}

bool CookieStore::StoreSetCookies(const QUrl& url, const QList<QByteArray>& headerLines) {
    bool added = false;
    {
        std::lock_guard lock(m_mutex);
        for (const QByteArray& line : headerLines) {
            for (QNetworkCookie cookie : QNetworkCookie::parseCookies(line)) {
                cookie.normalize(url);
                if (m_validator->validateCookie(cookie, url) && InsertLocked(cookie)) {
                    added = true;
                }
            }
        }
    }
    Save();
    return added;
}

int CookieStore::Insert(const QList<QNetworkCookie>& cookies) {
    int stored = 0;
    {
        std::lock_guard lock(m_mutex);
        for (const QNetworkCookie& cookie : cookies) {
            stored += InsertLocked(cookie) ? 1 : 0;
        }
    }
    Save();
    return stored;
}

bool CookieStore::Remove(const QNetworkCookie& cookie) {
    bool removed = false;
    {
        std::lock_guard lock(m_mutex);
        removed = DeleteLocked(cookie);
    }
    Save();
    return removed;
}

int CookieStore::RemoveFor(const QUrl& url) {
    int removed = 0;
    {
        std::lock_guard lock(m_mutex);
        for (const QNetworkCookie& cookie : MatchingLocked(url)) {
            removed += DeleteLocked(cookie) ? 1 : 0;
        }
    }
    Save();
    return removed;
}

QList<QNetworkCookie> CookieStore::AllCookies() const {
    std::lock_guard lock(m_mutex);
    QList<QNetworkCookie> fresh;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const Entry* entry : InOrderLocked()) {
        if (!IsExpired(entry->cookie, now)) {
            fresh.append(entry->cookie);
        }
    }
    return fresh;
}

QList<QNetworkCookie> CookieStore::CookiesOfDomain(const QString& domain) const {
    const QString wanted = domain.toLower();
    QList<QNetworkCookie> found;
    for (const QNetworkCookie& cookie : AllCookies()) {
        const bool forSubdomains = cookie.domain().startsWith(u'.');
        const QString host = forSubdomains ? cookie.domain().mid(1) : cookie.domain();
        if (host == wanted || host.endsWith(u'.' + wanted) ||
            (forSubdomains && wanted.endsWith(u'.' + host))) {
            found.append(cookie);
        }
    }
    return found;
}

std::shared_ptr<CookieStore> SharedCookieStore() {
    static std::mutex mutex;
    static std::shared_ptr<CookieStore> store;
    const QString path = CookieStore::DefaultFilePath();
    std::lock_guard lock(mutex);
    if (!store || store->FilePath() != path) {
        store = std::make_shared<CookieStore>(path);
    }
    return store;
}

}  // namespace mosaiq
