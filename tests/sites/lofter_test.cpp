#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/lofter.h"
#include "sites/picture_list_dispatch.h"
#include "sites/site_types.h"

#include <QDateTime>
#include <QRegularExpression>

namespace mosaiq::test {
namespace {

#define POST_LIST \
    "https://walker.lofter.com/dwr/call/plaincall/ArchiveBean.getArchivePostByTime.dwr"

QString Lf(const char* name) {
    return QStringLiteral("lofter/") + QLatin1String(name);
}

// A reply of `count` posts named "p1", "p2" ...
QByteArray Posts(int count) {
    QByteArray reply = "//#DWR-REPLY\n";
    for (int i = 1; i <= count; ++i) {
        reply +=
            QStringLiteral("s%1.blogId=1;s%1.time=1;s%1.title=\"p%1\";s%1.permalink=\"x%1\";\n")
                .arg(i)
                .toLatin1();
    }
    return reply;
}

class LofterTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders << QStringLiteral("Content-Type");
        state.m_listType = SiteTypeValue(SiteType::Lofter);
    }
    void List(const char* input) {
        bool single = false;
        DispatchAlbumList(state, QString::fromUtf8(input), single);
        EXPECT_FALSE(single);
    }
    // The request log with the post list's time stamp, which must be the current second
    // followed by "000", written "<now>".
    std::string LogWithStamp(qint64 before) const {
        QString log = QString::fromStdString(RequestLog());
        static const QRegularExpression stamp(QStringLiteral("c0-param2=number:(\\d+)000\r\n"));
        const QRegularExpressionMatch match = stamp.match(log);
        if (match.hasMatch()) {
            const qint64 seconds = match.captured(1).toLongLong();
            EXPECT_GE(seconds, before);
            EXPECT_LE(seconds, QDateTime::currentSecsSinceEpoch());
            log.replace(match.capturedStart(1), match.capturedLength(1), QStringLiteral("<now>"));
        }
        return log.toStdString();
    }
};

TEST_F(LofterTest, PostsComeFromTheArchiveServiceWithTheBlogId) {
    Serve("https://walker.lofter.com/view", Page(Lf("archive.html")));
    Serve(POST_LIST, Page(Lf("posts.js")));
    const qint64 before = QDateTime::currentSecsSinceEpoch();

    List("https://walker.lofter.com/post/1d2c3b_aaa?x=1");

    EXPECT_EQ(LogWithStamp(before),
              "GET https://walker.lofter.com/view\n"
              "POST " POST_LIST
              "\n"
              "  Referer: http://www.lofter.com/\n"
              "  Content-Type: text/plain\n"
              "  body: callCount=1\r\nscriptSessionId=${scriptSessionId}187\r\nhttpSessionId=\r\n"
              "c0-scriptName=ArchiveBean\r\nc0-methodName=getArchivePostByTime\r\nc0-id=0\r\n"
              "c0-param0=boolean:false\r\nc0-param1=number:123456\r\nc0-param2=number:<now>000\r\n"
              "c0-param3=number:50\r\nc0-param4=boolean:false\r\nbatchId=1");
    EXPECT_EQ(state.m_account, QStringLiteral("小明的博客"));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("123456"));
    EXPECT_EQ(Titles(), (QStringList{"春天", "公告", "1d2c3b_ccc"}));
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, QStringLiteral("https://walker.lofter.com/post/1d2c3b_aaa"));
    EXPECT_EQ(first.pictureCount, -1);
    EXPECT_EQ(first.accessFlags, 0);
    EXPECT_TRUE(first.coverUrl.isEmpty());
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(LofterTest, AtMostTwentyPostsAreListedAndAFullReplyIsSaid) {
    struct Case {
        int posts;
        bool message;
    };
    for (const Case c : {Case{30, false}, Case{50, true}}) {
        state.m_records.Clear();
        frontend.messages.clear();
        Serve("https://walker.lofter.com/view", Page(Lf("archive.html")));
        Serve(POST_LIST, Text(Posts(c.posts)));
        List("https://walker.lofter.com");
        ASSERT_EQ(state.m_records.Size(), 20) << c.posts;
        EXPECT_EQ(state.m_records.At(19)->title, QStringLiteral("p20"));
        EXPECT_EQ(frontend.messages.size(), c.message ? 1 : 0) << c.posts;
    }
}

TEST_F(LofterTest, PagesThatAreNoArchiveListNothingAndSaySo) {
    for (const char* page : {"not_archive.html", "no_blog_id.html"}) {
        server.ClearRequests();
        frontend.messages.clear();
        Serve("https://walker.lofter.com/view", Page(Lf(page)));
        List("https://walker.lofter.com/");
        ExpectRequests({"GET https://walker.lofter.com/view"});
        EXPECT_EQ(frontend.messages.size(), 1) << page;
        EXPECT_EQ(state.m_records.Size(), 0);
    }
}

TEST_F(LofterTest, UnreachableArchiveIsSaid) {
    Serve("https://walker.lofter.com/view", Broken());
    List("https://walker.lofter.com/");
    EXPECT_EQ(
        frontend.messages,
        QStringList{"无法读取网页：https://walker.lofter.com/view\n请检查网址和网络连接后重试"});
}

TEST_F(LofterTest, FailedPostListEndsQuietly) {
    Serve("https://walker.lofter.com/view", Page(Lf("archive.html")));
    Serve(POST_LIST, Broken());
    List("https://walker.lofter.com/");
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(LofterTest, EachPostGivesItsFirstUsablePicture) {
    struct Case {
        const char* page;
        const char* queued;
    };
    const Case cases[] = {
        {"photo_post.html", "http://imglf3.nosdn.127.net/img/abc.jpg <- 图片1.jpg"},
        // The thumbnail and the address that names a folder are passed over.
        {"text_post.html", "http://imglf.nosdn.127.net/img/bbb.png <- 图片1.jpg"},
    };
    for (const Case& c : cases) {
        g_pictureQueue().Clear();
        state.m_records.Clear();
        ST_PERLISTRECORD post;
        post.title = QStringLiteral("春天");
        post.albumRef = QStringLiteral("https://walker.lofter.com/post/1d2c3b_aaa");
        const int index = AddRecord(post);
        Serve("https://walker.lofter.com/post/1d2c3b_aaa", Page(Lf(c.page)));
        DispatchPictureList(state, index);
        EXPECT_EQ(Queued(), QStringList{QString::fromUtf8(c.queued)}) << c.page;
    }
    ExpectRequests({"GET https://walker.lofter.com/post/1d2c3b_aaa",
                    "GET https://walker.lofter.com/post/1d2c3b_aaa"});
}

}  // namespace
}  // namespace mosaiq::test
