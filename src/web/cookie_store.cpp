#include "web/cookie_store.h"

#include "web/cookies_txt.h"
#include "web/user_data_folder.h"

#include <QDateTime>
#include <QFile>
#include <QNetworkCookieJar>
#include <QSaveFile>

namespace mosaiq {

// Qt's jar does the matching; this only opens up the full list.
class CookieJar : public QNetworkCookieJar {
  public:
    using QNetworkCookieJar::allCookies;
    using QNetworkCookieJar::setAllCookies;
};

namespace {

bool IsExpired(const QNetworkCookie& cookie, const QDateTime& now) {
    return !cookie.isSessionCookie() && cookie.expirationDate() <= now;
}

}  // namespace

CookieStore::CookieStore(QString filePath)
    : m_filePath(std::move(filePath)), m_jar(std::make_unique<CookieJar>()) {
    Load();
}

CookieStore::~CookieStore() = default;

QString CookieStore::DefaultFilePath() {
    return UserDataFolder() + QStringLiteral("/cookies.txt");
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
    for (const QNetworkCookie& cookie : content.cookies) {
        if (!IsExpired(cookie, now)) {
            m_jar->insertCookie(cookie);
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
}

void CookieStore::SaveLocked() {
    if (m_filePath.isEmpty() || m_saveBlocked) {
        return;
    }
    QList<QNetworkCookie> persistent;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QNetworkCookie& cookie : m_jar->allCookies()) {
        if (!cookie.isSessionCookie() && !IsExpired(cookie, now)) {
            persistent.append(cookie);
        }
    }
    const QByteArray data = FormatCookiesTxt(persistent);
    if (data == m_lastSaved) {
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
    } else {
        qWarning("cookie store: cannot save %s: %s", qPrintable(m_filePath),
                 qPrintable(file.errorString()));
    }
}

QList<QNetworkCookie> CookieStore::CookiesFor(const QUrl& url) const {
    std::lock_guard lock(m_mutex);
    return m_jar->cookiesForUrl(url);
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

bool CookieStore::StoreSetCookie(const QUrl& url, const QByteArray& headerLine) {
    const QList<QNetworkCookie> cookies = QNetworkCookie::parseCookies(headerLine);
    if (cookies.isEmpty()) {
        return false;
    }
    std::lock_guard lock(m_mutex);
    const bool added = m_jar->setCookiesFromUrl(cookies, url);
    SaveLocked();
    return added;
}

int CookieStore::Insert(const QList<QNetworkCookie>& cookies) {
    std::lock_guard lock(m_mutex);
    int stored = 0;
    for (const QNetworkCookie& cookie : cookies) {
        if (m_jar->insertCookie(cookie)) {
            ++stored;
        }
    }
    SaveLocked();
    return stored;
}

bool CookieStore::Remove(const QNetworkCookie& cookie) {
    std::lock_guard lock(m_mutex);
    const bool removed = m_jar->deleteCookie(cookie);
    SaveLocked();
    return removed;
}

int CookieStore::RemoveFor(const QUrl& url) {
    std::lock_guard lock(m_mutex);
    int removed = 0;
    for (const QNetworkCookie& cookie : m_jar->cookiesForUrl(url)) {
        removed += m_jar->deleteCookie(cookie) ? 1 : 0;
    }
    SaveLocked();
    return removed;
}

QList<QNetworkCookie> CookieStore::AllCookies() const {
    std::lock_guard lock(m_mutex);
    QList<QNetworkCookie> fresh;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QNetworkCookie& cookie : m_jar->allCookies()) {
        if (!IsExpired(cookie, now)) {
            fresh.append(cookie);
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
