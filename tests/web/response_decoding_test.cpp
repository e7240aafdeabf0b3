#include "web/response_decoding.h"
#include "web/codepage.h"

#include "support/fixture_server.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

using test::GzipBytes;

HttpResponse Response(const QByteArray& body, bool compressed, const QString& headers = {}) {
    HttpResponse r;
    r.body = body;
    r.compressed = compressed;
    r.rawHeaders = headers;
    return r;
}

TEST(InflateBody, WholeCutAndForeignStreams) {
    const QByteArray text(50000, 'x');
    QByteArray out = "kept:";
    EXPECT_TRUE(InflateBody(GzipBytes(text), out));
    EXPECT_EQ(out, "kept:" + text) << "appends";

    QByteArray varied;
    for (int i = 0; i < 40000; ++i) {
        varied.append(QByteArray::number(i * 7919 % 10007));
    }
    const QByteArray gz = GzipBytes(varied);
    out.clear();
    EXPECT_FALSE(InflateBody(gz.left(gz.size() / 2), out));
    EXPECT_FALSE(out.isEmpty());
    EXPECT_TRUE(varied.startsWith(out)) << "what came before the cut is kept";

    QByteArray rawDeflate = gz.mid(10);  // no gzip header: raw deflate data
    out.clear();
    EXPECT_FALSE(InflateBody(rawDeflate, out));
    EXPECT_TRUE(out.isEmpty());
}

TEST(InflateBody, PageBombsStopAtTheBound) {
    // 80 MiB of zeros compress to well under 100 KiB.
    const QByteArray bomb = GzipBytes(QByteArray(80 * 1024 * 1024, '\0'));
    ASSERT_LT(bomb.size(), 200 * 1024);
    QByteArray out = "kept";
    EXPECT_FALSE(InflateBody(bomb, out));
    EXPECT_EQ(out, "kept") << "nothing of a page past the bound is appended";

    HttpResponse response = Response(bomb, true);
    EXPECT_TRUE(DecodeResponseText(response, Inflate | Utf8).isEmpty());

    const QByteArray within = GzipBytes(QByteArray(1024 * 1024, 'z'));
    HttpResponse small = Response(within, true);
    EXPECT_EQ(DecodeResponseText(small, Inflate | Utf8).size(), 1024 * 1024);
}

TEST(LooksLikeUtf8, Table) {
    struct Case {
        QByteArray bytes;
        bool utf8;
    };
    const Case cases[] = {
        {"", false},
        {"plain ascii", false},
        {"\xE4\xB8\xAD\xE6\x96\x87", true},
        {"\xD6\xD0\xCE\xC4", false},  // GBK: bad continuation
        {"\xE4\xB8", false},          // cut sequence
        {"\x80x", false},             // continuation byte as lead
        {"a\xC3\xA9", true},
        {"\xFC\x80\x80\x80\x80\x80", true},  // 5 continuation bytes accepted
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LooksLikeUtf8(c.bytes), c.utf8) << c.bytes.toHex().constData();
    }
}

TEST(DecodeResponseText, InflationAndMarkers) {
    const QByteArray page = "<head>junk</head><b>\xE7\x9B\xB8\xE5\x86\x8C</b><tail>";
    HttpResponse inflated = Response(GzipBytes(page), true);
    inflated.startMarker = "<b>";
    inflated.endMarker = "</b>";
    EXPECT_EQ(DecodeResponseText(inflated, Inflate | Utf8), QStringLiteral("相册"));
    EXPECT_TRUE(inflated.compressed);

    // Not inflated: markers still apply to the compressed bytes because the flag is set.
    HttpResponse raw = Response("zz<b>x\xA9y</b>zz", true);
    raw.startMarker = "<b>";
    raw.endMarker = "</b>";
    EXPECT_EQ(DecodeResponseText(raw, Utf8), QStringLiteral("x\uFFFDy"));

    HttpResponse fake = Response("<b>plain</b>", true, "X-Note: gzip\r\n");
    fake.startMarker = "<b>";
    EXPECT_EQ(DecodeResponseText(fake, Inflate | Utf8), QStringLiteral("<b>plain</b>"));
    EXPECT_FALSE(fake.compressed) << "nothing inflated: raw bytes, flag cleared";

    const QByteArray gz = GzipBytes(QByteArray("\xE4\xB8\xAD") + QByteArray(30000, 'a'));
    HttpResponse cut = Response(gz.left(gz.size() - 20), true);
    const QString partial = DecodeResponseText(cut, Inflate | Utf8);
    EXPECT_TRUE(partial.startsWith(QStringLiteral("中aaa")));
}

TEST(DecodeResponseText, CodePageChoice) {
    const QByteArray gbk = "\xD6\xD0\xCE\xC4";  // 中文
    struct Case {
        const char* name;
        QByteArray body;
        QString headers;
        unsigned flags;
        QString text;
    };
    const Case cases[] = {
        {"charset=GBK wins over Utf8", gbk, "Content-Type: text/html; charset=GBK", Inflate | Utf8,
         QStringLiteral("中文")},
        {"lower case gbk counts too", gbk, "Content-Type: text/html; charset=gbk", Utf8,
         QStringLiteral("中文")},
        {"zero guard keeps both sides", gbk + QByteArray("\0x\x7Fy", 4), "charset=GBK",
         GbkZeroGuard, QStringLiteral("中文xy")},
        {"without the guard text stops at zero", gbk + QByteArray("\0xy", 3), "charset=GBK", 0,
         QStringLiteral("中文")},
        {"big5", "\xA4\xA4\xA4\xE5", "", Big5 | Inflate, QStringLiteral("中文")},
        {"euc-kr", "\xC7\xD1\xB1\xB9", "", EucKr, QStringLiteral("한국")},
        {"auto utf8", "\xE4\xB8\xAD", "", AutoUtf8, QStringLiteral("中")},
        {"auto falls back to ansi", gbk, "", AutoUtf8 | Inflate, QStringLiteral("中文")},
        {"auto on ascii", "plain", "", AutoUtf8, QStringLiteral("plain")},
        {"ansi stops at zero", QByteArray("ab\0cd", 5), "", Inflate | 0x100, QStringLiteral("ab")},
        {"empty body", "", "", Utf8, QString()},
    };
    for (const Case& c : cases) {
        HttpResponse r = Response(c.body, false, c.headers);
        EXPECT_EQ(DecodeResponseText(r, c.flags), c.text) << c.name;
    }
}

TEST(DecodeResponseText, EntitiesDecodedOncePerEntity) {
    HttpResponse r = Response("a &amp;lt; b &amp;quot; c &amp; d", false);
    EXPECT_EQ(DecodeResponseText(r, Utf8), QStringLiteral("a < b &quot; c & d"));
}

}  // namespace
}  // namespace mosaiq
