#include "web/cookies_txt.h"
#include "web/cookie_store.h"

#include "support/sandbox.h"

#include <QDateTime>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

const QString kExported = QStringLiteral(MOSAIQ_FIXTURES_DIR "/cookies/exported_cookies.txt");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CookiesTxt, ReadsExporterFileAndReportsBadLinesByNumber) {
    const CookiesTxtContent content = ParseCookiesTxt(ReadAll(kExported));
    ASSERT_EQ(content.cookies.size(), 5);

    const QNetworkCookie& login = content.cookies[0];
    EXPECT_EQ(login.name(), "login");
    EXPECT_EQ(login.value(), "abc123");
    EXPECT_EQ(login.domain(), QStringLiteral(".example.com"));
    EXPECT_EQ(login.expirationDate(), QDateTime::fromSecsSinceEpoch(4102444800));

    const QNetworkCookie& session = content.cookies[1];
    EXPECT_EQ(session.domain(), QStringLiteral("www.example.com"));  // host only
    EXPECT_EQ(session.path(), QStringLiteral("/album"));
    EXPECT_TRUE(session.isSecure());
    EXPECT_TRUE(session.isSessionCookie());

    EXPECT_TRUE(content.cookies[2].isHttpOnly());
    EXPECT_EQ(content.cookies[2].value(), "@Zx9");
    EXPECT_EQ(content.cookies[3].name(), "empty");  // value dropped with its tab
    EXPECT_TRUE(content.cookies[3].value().isEmpty());
    EXPECT_EQ(content.cookies[4].name(), "old");

    std::vector<int> lines;
    for (const CookieLineProblem& problem : content.problems) {
        lines.push_back(problem.line);
    }
    EXPECT_EQ(lines, (std::vector<int>{8, 9, 10, 12}));
}

TEST(CookiesTxt, ExpiryFieldMustBeATimeInSeconds) {
    struct Case {
        const char* expiry;
        bool read;
    };
    const Case cases[] = {
        {"4102444800", true}, {"4102444800.75", true}, {"0", true},      {"-1", false},
        {"nan", false},       {"inf", false},          {"1e300", false}, {"", false},
    };
    for (const Case& c : cases) {
        const QByteArray line = QByteArray(".example.com\tTRUE\t/\tFALSE\t") + c.expiry + "\ta\t1";
        const CookiesTxtContent content = ParseCookiesTxt(line);
        EXPECT_EQ(content.cookies.size(), c.read ? 1 : 0) << c.expiry;
        EXPECT_EQ(content.problems.size(), c.read ? 0 : 1) << c.expiry;
    }
}

TEST(CookiesTxt, WrittenFileReadsBackTheSame) {
    QNetworkCookie domain("a", "1");
    domain.setDomain(QStringLiteral(".example.com"));
    domain.setPath(QStringLiteral("/"));
    domain.setExpirationDate(QDateTime::fromSecsSinceEpoch(4102444800));
    QNetworkCookie host("b", "x=y");
    host.setDomain(QStringLiteral("pic.example.com"));
    host.setPath(QStringLiteral("/p"));
    host.setSecure(true);
    host.setHttpOnly(true);

    const CookiesTxtContent back = ParseCookiesTxt(FormatCookiesTxt({domain, host}));
    ASSERT_TRUE(back.problems.isEmpty());
    ASSERT_EQ(back.cookies.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QNetworkCookie& want = i == 0 ? domain : host;
        const QNetworkCookie& got = back.cookies[i];
        EXPECT_TRUE(got.hasSameIdentifier(want)) << i;
        EXPECT_EQ(got.value(), want.value());
        EXPECT_EQ(got.isSecure(), want.isSecure());
        EXPECT_EQ(got.isHttpOnly(), want.isHttpOnly());
        EXPECT_EQ(got.expirationDate(), want.expirationDate());
    }
}

using CookiesTxtImportTest = test::Sandbox;

TEST_F(CookiesTxtImportTest, ImportsIntoTheStoreAndSkipsExpiredAndBadLines) {
    CookieStore store(root() + QStringLiteral("/store.txt"));
    const CookiesTxtImport report = ImportCookiesTxt(kExported, store);
    ASSERT_TRUE(report.readable);
    EXPECT_EQ(report.imported, 4);
    EXPECT_EQ(report.expired, 1);
    EXPECT_EQ(report.problems.size(), 4);
    EXPECT_TRUE(DescribeProblems(report.problems).startsWith(QStringLiteral("line 8: ")));

    EXPECT_EQ(store.CookieHeaderFor(QUrl(QStringLiteral("https://www.example.com/album/1"))),
              "session=x1; login=abc123");
    EXPECT_EQ(store.CookieHeaderFor(QUrl(QStringLiteral("http://example.com/"))),
              "login=abc123; empty=");
    EXPECT_EQ(store.CookieHeaderFor(QUrl(QStringLiteral("http://user.qzone.qq.com/"))),
              "skey=@Zx9");
}

TEST_F(CookiesTxtImportTest, MissingFileIsAnErrorNotAnEmptyImport) {
    CookieStore store(QString{});
    const CookiesTxtImport report = ImportCookiesTxt(root() + QStringLiteral("/none.txt"), store);
    EXPECT_FALSE(report.readable);
    EXPECT_FALSE(report.error.isEmpty());
}

TEST_F(CookiesTxtImportTest, OnlyRegularFilesOfASaneSizeAreRead) {
    CookieStore store(QString{});
    const QString huge = root() + QStringLiteral("/huge.txt");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(kMaxCookiesTxtBytes + 1));  // sparse: costs no disk
    file.close();
    for (const QString& path : {QStringLiteral("/dev/zero"), root(), huge}) {
        const CookiesTxtImport report = ImportCookiesTxt(path, store);
        EXPECT_FALSE(report.readable) << path.toStdString();
        EXPECT_FALSE(report.error.isEmpty()) << path.toStdString();
    }
}

TEST_F(CookiesTxtImportTest, AFileOfTooManyCookiesKeepsTheNewestWithinTheLimits) {
    QByteArray text;
    for (int i = 0; i < 16000; ++i) {
        text += "h" + QByteArray::number(i % 3000) +
                ".example.org\tFALSE\t/\tFALSE\t4102444800\tc" + QByteArray::number(i) + "\t1\n";
    }
    const QString path = root() + QStringLiteral("/many.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    CookieStore store(QString{});
    const CookiesTxtImport report = ImportCookiesTxt(path, store);
    EXPECT_TRUE(report.readable);
    const QList<QNetworkCookie> kept = store.AllCookies();
    ASSERT_EQ(kept.size(), kMaxCookies);
    EXPECT_EQ(kept.last().name(), "c15999");
    EXPECT_EQ(kept.first().name(), "c13000");
}

}  // namespace
}  // namespace mosaiq
