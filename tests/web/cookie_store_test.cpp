#include "web/cookie_store.h"

#include "support/sandbox.h"

#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>
#include <vector>

namespace mosaiq {
namespace {

QUrl Url(const char* text) {
    return QUrl(QString::fromLatin1(text));
}

TEST(CookieStore, SendsEachCookieOnlyWhereABrowserWould) {
    CookieStore store{QString()};
    struct Set {
        const char* from;
        const char* header;
    };
    const Set sets[] = {
        {"http://www.example.com/", "dom=1; Domain=example.com; Path=/"},
        {"http://example.com/", "host=1"},
        {"https://example.com/", "sec=1; Secure; Path=/"},
        {"http://example.com/", "deep=1; Path=/album"},
        {"http://example.com/", "old=1; Max-Age=-1"},
        {"http://evil.com/", "stolen=1; Domain=example.com"},
        {"http://example.com/", "tld=1; Domain=com"},
    };
    for (const Set& set : sets) {
        store.StoreSetCookie(Url(set.from), set.header);
    }

    struct Case {
        const char* url;
        QByteArray sent;
    };
    const Case cases[] = {
        {"http://example.com/", "dom=1; host=1"},
        {"https://example.com/", "dom=1; host=1; sec=1"},
        {"http://www.example.com/", "dom=1"},
        {"http://badexample.com/", ""},
        {"http://example.com.evil.com/", ""},
        {"http://example.com/album", "deep=1; dom=1; host=1"},
        {"http://example.com/album/2", "deep=1; dom=1; host=1"},
        {"http://example.com/albums", "dom=1; host=1"},
        {"http://evil.com/", ""},
        {"http://other.com/", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(store.CookieHeaderFor(Url(c.url)), c.sent) << c.url;
    }
}

TEST(CookieStore, ExpiryInThePastDeletesAndSameIdentityReplaces) {
    CookieStore store{QString()};
    const QUrl site = Url("http://example.com/");
    store.StoreSetCookie(site, "a=1; Max-Age=3600");
    store.StoreSetCookie(site, "a=2; Max-Age=3600");
    EXPECT_EQ(store.CookieHeaderFor(site), "a=2");
    store.StoreSetCookie(site, "a=2; Expires=Thu, 01 Jan 1970 00:00:01 GMT");
    EXPECT_EQ(store.CookieHeaderFor(site), "");
    EXPECT_TRUE(store.AllCookies().isEmpty());
}

TEST(CookieStore, ListsTheCookiesOfADomain) {
    CookieStore store{QString()};
    store.StoreSetCookie(Url("http://user.qzone.qq.com/"), "site=1; Domain=qq.com");
    store.StoreSetCookie(Url("http://user.qzone.qq.com/"), "user=1");
    store.StoreSetCookie(Url("http://badqq.com/"), "other=1");
    struct Case {
        const char* domain;
        int count;
    };
    const Case cases[] = {{"qq.com", 2}, {"qzone.qq.com", 2}, {"h5.qzone.qq.com", 1},
                          {"QQ.COM", 2}, {"badqq.com", 1},    {"com", 3}};
    for (const Case& c : cases) {
        EXPECT_EQ(store.CookiesOfDomain(QString::fromLatin1(c.domain)).size(), c.count) << c.domain;
    }
}

using CookieStoreFileTest = test::Sandbox;

TEST_F(CookieStoreFileTest, PersistentCookiesOutliveARestartSessionCookiesDoNot) {
    const QString path = root() + QStringLiteral("/cookies.txt");
    const QUrl site = Url("https://qq.com/");
    {
        CookieStore store(path);
        store.StoreSetCookie(site, "keep=1; Max-Age=86400; Domain=qq.com; Secure; HttpOnly");
        store.StoreSetCookie(site, "session=1");
    }
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    CookieStore reopened(path);
    EXPECT_TRUE(reopened.LoadProblems().isEmpty());
    EXPECT_EQ(reopened.CookieHeaderFor(Url("https://user.qzone.qq.com/")), "keep=1");
    EXPECT_EQ(reopened.CookieHeaderFor(Url("http://user.qzone.qq.com/")), "");
    ASSERT_EQ(reopened.AllCookies().size(), 1);
    EXPECT_TRUE(reopened.AllCookies()[0].isHttpOnly());
}

TEST_F(CookieStoreFileTest, DamagedFileLoadsWhatItCanAndKeepsTheOriginal) {
    const QString path = root() + QStringLiteral("/cookies.txt");
    const QByteArray damaged =
        ".example.com\tTRUE\t/\tFALSE\t4102444800\tgood\t1\n"
        "\x01\x02garbage\xff\n"
        ".example.com\tTRUE\t/\tFALSE\t4102444800\talso\t2\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    CookieStore store(path);
    EXPECT_EQ(store.CookieHeaderFor(Url("http://example.com/")), "good=1; also=2");
    const QStringList problems = store.LoadProblems();
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[1].startsWith(QStringLiteral("line 2: "))) << qPrintable(problems[1]);

    store.StoreSetCookie(Url("http://example.com/"), "new=3; Max-Age=3600");
    QFile copy(path + QStringLiteral(".damaged"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), damaged);
    EXPECT_EQ(CookieStore(path).AllCookies().size(), 3);
}

TEST_F(CookieStoreFileTest, SharedStoreFollowsTheUserDataFolder) {
    const std::shared_ptr<CookieStore> store = SharedCookieStore();
    EXPECT_TRUE(store->FilePath().startsWith(root())) << qPrintable(store->FilePath());
    EXPECT_EQ(SharedCookieStore(), store);
}

TEST_F(CookieStoreFileTest, ThreadsShareOneStore) {
    CookieStore store(root() + QStringLiteral("/cookies.txt"));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&store, t] {
            for (int i = 0; i < 40; ++i) {
                const QByteArray line =
                    QByteArray("c") + QByteArray::number(t * 100 + i) + "=1; Max-Age=3600";
                store.StoreSetCookie(Url("http://example.com/"), line);
                store.CookieHeaderFor(Url("http://example.com/"));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(store.AllCookies().size(), 160);
    EXPECT_EQ(CookieStore(store.FilePath()).AllCookies().size(), 160);
}

TEST(CookieStore, KeepsWithinTheLimitsABrowserKeeps) {
    CookieStore store{QString()};
    const QUrl site = Url("http://flood.example.com/");
    EXPECT_FALSE(store.StoreSetCookie(site, "big=" + QByteArray(kMaxCookieBytes, 'x')));
    EXPECT_TRUE(store.StoreSetCookie(site, "fits=" + QByteArray(kMaxCookieBytes - 4, 'x')));

    QList<QByteArray> flood;
    for (int i = 0; i < 8000; ++i) {
        flood.append("f" + QByteArray::number(i) + "=1");
    }
    EXPECT_TRUE(store.StoreSetCookies(site, flood));
    const QList<QNetworkCookie> kept = store.CookiesFor(site);
    ASSERT_EQ(kept.size(), kMaxCookiesPerDomain);
    EXPECT_EQ(kept.last().name(), "f7999") << "the newest stay, the oldest give way";

    QList<QNetworkCookie> many;
    for (int i = 0; i < 5000; ++i) {
        QNetworkCookie cookie("c", "1");
        cookie.setDomain(QStringLiteral("h%1.example.org").arg(i));
        many.append(cookie);
    }
    store.Insert(many);
    EXPECT_EQ(store.AllCookies().size(), kMaxCookies);
    EXPECT_EQ(store.CookieHeaderFor(Url("http://h4999.example.org/")), "c=1");
    EXPECT_EQ(store.CookieHeaderFor(Url("http://h0.example.org/")), "");
}

TEST(CookieStore, DomainCookiesNeverMatchAnAddress) {
    CookieStore store{QString()};
    QNetworkCookie dotted("d", "1");
    dotted.setDomain(QStringLiteral(".0.0.1"));
    QNetworkCookie exact("e", "1");
    exact.setDomain(QStringLiteral("127.0.0.1"));
    store.Insert({dotted, exact});
    EXPECT_EQ(store.CookieHeaderFor(Url("http://127.0.0.1/")), "e=1");
    EXPECT_EQ(store.CookieHeaderFor(Url("http://10.0.0.1/")), "");
}

TEST(CookieStore, RefusesCookiesThatWouldNotReadBackTheSame) {
    CookieStore store{QString()};
    struct Case {
        const char* domain;
        QByteArray name;
        QByteArray value;
    };
    const Case cases[] = {{"#x.qq.com", "a", "1"},         {"\vexample.com", "a", "1"},
                          {" #HttpOnly_x.com", "a", "1"},  {"x.qq.com", "a", "1\r"},
                          {"x.qq.com", "a\tb", "1"},       {"x.qq.com", "#a", "1"},
                          {"x.qq.com", "a", "line\nbreak"}};
    for (const Case& c : cases) {
        QNetworkCookie cookie(c.name, c.value);
        cookie.setDomain(QString::fromLatin1(c.domain));
        EXPECT_EQ(store.Insert({cookie}), 0) << c.domain << " " << c.name.constData();
    }
    EXPECT_TRUE(store.AllCookies().isEmpty());
}

TEST_F(CookieStoreFileTest, OneAnswerOfManyCookiesIsSavedOnce) {
    const QString path = root() + QStringLiteral("/cookies.txt");
    CookieStore store(path);
    QList<QByteArray> lines;
    for (int i = 0; i < 100; ++i) {
        lines.append("p" + QByteArray::number(i) + "=1; Max-Age=3600");
    }
    store.StoreSetCookies(Url("http://example.com/"), lines);
    EXPECT_EQ(CookieStore(path).AllCookies().size(), 100);
}

}  // namespace
}  // namespace mosaiq
