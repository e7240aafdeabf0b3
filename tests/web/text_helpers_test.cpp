#include "web/text_helpers.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

namespace mosaiq {
using namespace Qt::StringLiterals;
namespace {

// One TakeBetween call of a walk: the result and what is left of the source after it.
struct Step {
    QString result;
    QString rest;
};

struct WalkCase {
    const char* name;
    QString source;
    int flags;
    std::vector<Step> steps;
};

TEST(TakeBetween, WalksTheSourceWithEachFlag) {
    const QString items = u"x<a>1</a><a>2"_s;
    const WalkCase cases[] = {
        {"consume", items, Consume, {{u"1"_s, u"1</a><a>2"_s}, {{}, u"2"_s}, {{}, u"2"_s}}},
        {"consume to end",
         items,
         Consume | ToEnd,
         {{u"1"_s, u"1</a><a>2"_s}, {u"2"_s, u"2"_s}, {{}, u"2"_s}}},
        {"no consume", items, 0, {{u"1"_s, items}, {u"1"_s, items}}},
        {"to end without consume", u"x<a>tail"_s, ToEnd, {{u"tail"_s, u"x<a>tail"_s}}},
        {"end before start", u"</a>x<a>y</a>"_s, Consume, {{u"y"_s, u"y</a>"_s}}},
        {"start missing", u"plain"_s, Consume | ToEnd, {{{}, u"plain"_s}}},
        {"empty item", u"<a></a>z"_s, Consume, {{{}, u"</a>z"_s}}},
        // The end marker is missing from the second item on: every later start still counts.
        {"end missing after a point",
         u"<a>1</a><a>2<a>3"_s,
         Consume | ToEnd,
         {{u"1"_s, u"1</a><a>2<a>3"_s}, {u"2<a>3"_s, u"2<a>3"_s}, {u"3"_s, u"3"_s}}},
    };
    for (const WalkCase& c : cases) {
        TextSource source(c.source);
        QString plain = c.source;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            EXPECT_EQ(TakeBetween(source, u"<a>", u"</a>", c.flags), step.result)
                << c.name << " step " << i;
            EXPECT_EQ(source.toString(), step.rest) << c.name << " step " << i;
            EXPECT_EQ(TakeBetween(plain, u"<a>", u"</a>", c.flags), step.result)
                << c.name << " plain step " << i;
            EXPECT_EQ(plain, step.rest) << c.name << " plain step " << i;
        }
    }
}

TEST(TakeBetween, ViewOverloadNeverConsumes) {
    const QString page = u"x<a>1</a><a>2"_s;
    EXPECT_EQ(TakeBetween(QStringView(page), u"<a>", u"</a>", Consume), u"1"_s);
    EXPECT_EQ(TakeBetween(QStringView(page).sliced(5), u"<a>", u"</a>", Consume | ToEnd), u"2"_s);
    EXPECT_EQ(page, u"x<a>1</a><a>2"_s);
}

// An adapter's loop over a large listing page: every item once, in order, then an empty result.
TEST(TextSource, WalksEveryItemOfAPage) {
    QString page = u"<html><head><title>相册</title></head><body>"_s;
    QStringList expected;
    for (int i = 0; i < 5000; ++i) {
        const QString name = u"相册%1"_s.arg(i);
        expected.append(name);
        page += uR"(<li class="album"><a href="/a/)"_s + QString::number(i) + u"\">"_s + name +
                u"</a><span>12张</span></li>\n"_s;
    }
    page += u"<li class=\"album\"><a href=\"/cut"_s;  // a body cut inside the last item

    TextSource source(page);
    QStringList names;
    QStringList hrefs;
    for (;;) {
        const QString item = TakeBetween(source, uR"(<li class="album">)", u"</li>", Consume);
        if (item.isEmpty()) {
            break;
        }
        names.append(TakeBetween(QStringView(item), u"\">", u"</a>"));
        hrefs.append(TakeBetween(QStringView(item), uR"(href=")", u"\""));
    }
    EXPECT_EQ(names, expected);
    ASSERT_EQ(hrefs.size(), 5000);
    EXPECT_EQ(hrefs.back(), u"/a/4999"_s);
    EXPECT_EQ(source.toString(), u"<a href=\"/cut"_s);
}

// Loops that run until the start marker is missing keep going over items whose end is absent.
TEST(TextSource, AbsentEndMarkerStillMovesThroughEveryItem) {
    TextSource source(u"<a>1<a>2<b>3</b><a>4"_s);
    QStringList results;
    for (qsizetype left = source.size();; left = source.size()) {
        const QString result = TakeBetween(source, u"<a>", u"</a>", Consume);
        if (source.size() == left) {
            break;
        }
        results.append(result);
        EXPECT_EQ(TakeBetween(source, u"<b>", u"</b>"), results.size() < 3 ? u"3"_s : QString());
    }
    EXPECT_EQ(results, QStringList(3, QString()));
    EXPECT_EQ(SkipTo(source, u"</b>", true), -1);
    EXPECT_EQ(source.toString(), u"4"_s);
}

TEST(TextSource, AdvanceIsClampedAndEmptySourceIsEmpty) {
    TextSource empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(TakeBetween(empty, u"<", u">", Consume | ToEnd), QString());

    TextSource source(u"abc"_s);
    source.advance(2);
    EXPECT_EQ(source.toString(), u"c"_s);
    source.advance(10);
    EXPECT_TRUE(source.isEmpty());
    EXPECT_EQ(source.size(), 0);
}

TEST(MarkerHelpers, SkipToKeepsFromTheMarkerOn) {
    const QString header = u"HTTP/1.1 200 OK\r\nContent-Length: 42\r\nServer: x\r\n"_s;
    struct Case {
        QString marker;
        bool skip;
        qsizetype position;
        QString rest;
    };
    const Case cases[] = {
        {u"Content-Length:"_s, true, 17, u" 42\r\nServer: x\r\n"_s},
        {u"Content-Length:"_s, false, 17, u"Content-Length: 42\r\nServer: x\r\n"_s},
        {u"content-length:"_s, true, -1, header},  // markers are case-sensitive
        {u"HTTP"_s, true, 0, header.sliced(4)},
    };
    for (const Case& c : cases) {
        QString text = header;
        EXPECT_EQ(SkipTo(text, c.marker, c.skip), c.position) << c.marker.toStdString();
        EXPECT_EQ(text, c.rest) << c.marker.toStdString();

        TextSource source(header);
        EXPECT_EQ(SkipTo(source, c.marker, c.skip), c.position) << c.marker.toStdString();
        EXPECT_EQ(source.toString(), c.rest) << c.marker.toStdString();
    }
}

TEST(MarkerHelpers, CutAtAndTakeBefore) {
    struct Case {
        QString text;
        QString marker;
        qsizetype position;
        QString before;  // what TakeBefore gives
        QString cut;     // the text after CutAt
    };
    const Case cases[] = {
        {u"name?x=1?y"_s, u"?"_s, 4, u"name"_s, u"name"_s},
        {u"name"_s, u"?"_s, -1, {}, u"name"_s},
        {u"?x"_s, u"?"_s, 0, {}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TakeBefore(c.text, c.marker), c.before) << c.text.toStdString();
        QString text = c.text;
        EXPECT_EQ(CutAt(text, c.marker), c.position) << c.text.toStdString();
        EXPECT_EQ(text, c.cut) << c.text.toStdString();
    }
}

TEST(MarkerHelpers, CountAndSplit) {
    struct Case {
        QString text;
        QString separator;
        int count;
        QStringList pieces;
    };
    const Case cases[] = {
        {u"abc"_s, u"|"_s, 0, {}},  // no separator: no pieces at all
        {u"a|b|"_s, u"|"_s, 2, {u"a"_s, u"b"_s, QString()}},
        {u"|"_s, u"|"_s, 1, {QString(), QString()}},
        {u"aaaa"_s, u"aa"_s, 2, {QString(), QString(), QString()}},
        {u"aaa"_s, u"aa"_s, 1, {QString(), u"a"_s}},  // non-overlapping, left to right
        {u"x||y"_s, u"||"_s, 1, {u"x"_s, u"y"_s}},
        {u"abc"_s, QString(), 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CountOccurrences(c.text, c.separator), c.count) << c.text.toStdString();
        QStringList pieces{u"stale"_s};
        EXPECT_EQ(SplitText(c.text, c.separator, pieces), c.count) << c.text.toStdString();
        EXPECT_EQ(pieces, c.pieces) << c.text.toStdString();
    }
}

TEST(Unescape, UnicodeEscapes) {
    struct Case {
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {uR"(\u4e2d\u6587abc)"_s, u"中文abc"_s},
        {uR"(\u12)"_s, u"12"_s},  // too short: only the "\u" goes
        {uR"(a\u4E2Db)"_s, u"a中b"_s},
        {uR"(\ud83d\ude00!)"_s, u"\U0001F600!"_s},
        {uR"(\uzzzzab)"_s, u"zzzzab"_s},  // not hexadecimal: the text stays
        {uR"(x\u0000y)"_s, u"xy"_s},      // no zero character in the text
        {u"plain"_s, u"plain"_s},
        {uR"(end\u)"_s, u"end"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnescapeUnicode(c.text), c.expected) << c.text.toStdString();
    }
}

TEST(Unescape, HtmlEntitiesInTheirOrder) {
    struct Case {
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {u"&quot;a&quot; &amp; &lt;b&gt;&nbsp;c&hellip;&#39;d&#39;&#092;"_s,
         u"\"a\" & <b> c\u2026'd'\\"_s},
        {u"&amp;quot;"_s, u"&quot;"_s},  // "&quot;" is replaced before "&amp;"
        {u"&amp;lt;"_s, u"<"_s},         // "&lt;" is replaced after "&amp;"
        {u"AT&T &copy;"_s, u"AT&T &copy;"_s},
        {u"no entities"_s, u"no entities"_s},
    };
    for (const Case& c : cases) {
        QString text = c.text;
        DecodeHtmlEntities(text);
        EXPECT_EQ(text, c.expected) << c.text.toStdString();
    }
}

TEST(Unescape, StripTags) {
    struct Case {
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {u"<b>x</b>"_s, u"x"_s},
        {u"a<>b<i>c</i>"_s, u"a<>b<i>c</i>"_s},  // an empty tag ends the stripping
        {u"<p><span>t</span><br>u<br></p>"_s, u"tu"_s},
        {u"1 < 2 <i>x</i>"_s, u"1 < 2 x"_s},  // a lone "<" is text, not a tag
        {u"a<b"_s, u"a<b"_s},
        {u"<a href=\"x\">link</a>"_s, u"link"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StripTags(c.text), c.expected) << c.text.toStdString();
    }
}

TEST(Unescape, UrlDecodeUtf8) {
    struct Case {
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {u"%E4%B8%AD"_s, u"中"_s}, {u"a%e6%96%87+b"_s, u"a文+b"_s},  // "+" stays
        {u"ab%zzcd"_s, u"ab"_s},  // decoding stops at a bad escape
        {u"100%"_s, u"100"_s},     {u"x%4"_s, u"x"_s},
        {QString(), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UrlDecodeUtf8(c.text), c.expected) << c.text.toStdString();
    }
}

TEST(Unescape, UrlDecodeKeepsALongKeywordWhole) {
    // 600 characters are 1800 bytes, far past a 1024-byte buffer.
    QString encoded;
    for (int i = 0; i < 600; ++i) {
        encoded += u"%E4%B8%AD"_s;
    }
    EXPECT_EQ(UrlDecodeUtf8(encoded), QString(600, QChar(0x4E2D)));
}

TEST(ReplaceList, PairwiseOrWhole) {
    struct Case {
        const char* name;
        QString text;
        QString from;
        QString to;
        QString expected;
    };
    const Case cases[] = {
        {"pairs", u"a-b-c"_s, u"a|b"_s, u"1|2"_s, u"1-2-c"_s},
        {"pairs in order", u"a"_s, u"a|b"_s, u"b|c"_s, u"c"_s},
        {"unequal counts", u"a|b a b"_s, u"a|b"_s, u"x"_s, u"x a b"_s},
        {"single pair", u"aXa"_s, u"a"_s, u"o"_s, u"oXo"_s},
        {"empty piece", u"ab"_s, u"|b"_s, u"x|y"_s, u"ay"_s},
        {"empty from", u"ab"_s, QString(), u"x"_s, u"ab"_s},
        {"removal", u"[HD] name"_s, u"[HD] |name"_s, u"|photo"_s, u"photo"_s},
    };
    for (const Case& c : cases) {
        QString text = c.text;
        ReplaceList(text, c.from, c.to);
        EXPECT_EQ(text, c.expected) << c.name;
    }
}

TEST(RandomFraction, OneTextPerSecondEndingWithLineFeed) {
    static const QRegularExpression kFormat(u"^[01]\\.\\d{16}\\n$"_s);
    QSet<QString> texts;
    for (qint64 second = 1700000000; second < 1700000050; ++second) {
        const QString text = RandomFraction(second);
        EXPECT_TRUE(kFormat.match(text).hasMatch()) << text.toStdString();
        EXPECT_LE(text.toDouble(), 1.0);
        EXPECT_EQ(RandomFraction(second), text);
        texts.insert(text);
    }
    EXPECT_GT(texts.size(), 40);  // a cache breaker must change from second to second
    EXPECT_TRUE(RandomFraction().endsWith(u'\n'));
}

}  // namespace
}  // namespace mosaiq
