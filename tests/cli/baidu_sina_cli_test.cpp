#include "cli_site_test.h"

#include <QDirIterator>
#include <QUrlQuery>

#include <map>

namespace mosaiq::test {
namespace {

Reply Page(const char* name) {
    Reply reply;
    reply.body = FixtureBytes(QString::fromUtf8(name));
    return reply;
}

// A route whose page depends on one query value; `fallback` for any other value.
void RouteBy(FixtureServer& server, const char* host, const char* path, const char* key,
             std::map<QString, const char*> pages, const char* fallback) {
    server.Route(host, path, [=](const RecordedRequest& r) {
        const QString query = r.target.mid(r.target.indexOf(u'?') + 1);
        const auto found = pages.find(QUrlQuery(query).queryItemValue(QString::fromUtf8(key)));
        return Page(found == pages.end() ? fallback : found->second);
    });
}

void Picture(FixtureServer& server, const char* host, const char* path) {
    Reply reply;
    reply.body = QByteArray("JPEG-") + path;
    server.Route(host, path, reply);
}

void ServeBaiduUser(FixtureServer& s) {
    s.Route("xiangce.baidu.com", "/u/tester", Page("baidu/user_page.html"));
    s.Route("xiangce.baidu.com", "/album/list/tester", Page("baidu/albums_json_end.json"));
    RouteBy(s, "xiangce.baidu.com", "/picture/album/list/s2", "pn", {{"0", "baidu/photos1.json"}},
            "baidu/photos_none.json");
    Picture(s, "b.hiphotos.baidu.com", "/album/pic/item/abc.jpg");
    Picture(s, "imgsrc.example.com", "/t/xyz.jpgalbum/pic/item/xyz.jpg");
}

void ServeTiebaForum(FixtureServer& s) {
    RouteBy(s, "tieba.baidu.com", "/photo/g", "pn", {{"1", "baidu/forum1.json"}},
            "baidu/forum_end.json");
    RouteBy(s, "tieba.baidu.com", "/photo/g/bw/picture/list", "pn", {{"1", "baidu/gallery1.json"}},
            "baidu/gallery_end.json");
    Picture(s, "imgsrc.baidu.com", "/forum/pic/item/abc1.jpg");
    Picture(s, "imgsrc.baidu.com", "/forum/pic/item/abc2.jpg");
}

void ServeTiebaThread(FixtureServer& s) {
    s.Route("tieba.baidu.com", "/p/7001", Page("baidu/post_page.html"));
    s.Route("tieba.baidu.com", "/photo/p", Page("baidu/thread_page.html"));
    RouteBy(s, "tieba.baidu.com", "/photo/bw/picture/guide", "pic_id",
            {{"", "baidu/guide1.json"}, {"p2", "baidu/guide2.json"}}, "baidu/guide3.json");
    // The server reads the path decoded.
    Picture(s, "imgsrc.baidu.com", "/forum/w=580/sign=1/p1.jpg");
    Picture(s, "imgsrc.baidu.com", "/forum/pic/item/p2.jpg");
    Picture(s, "imgsrc.baidu.com", "/forum/w=580/sign=3/p3.jpg");
}

void ServeSinaBlog(FixtureServer& s) {
    s.Route("blog.sina.com.cn", "/zhangsan", Page("sina/blog_page.html"));
    s.Route("photo.blog.sina.com.cn", "/services/ctg_list_ctg.php", Page("sina/categories.json"));
    s.Route("photo.blog.sina.com.cn", "/category/u/1234567890/s/1/page1",
            Page("sina/photos_page1.html"));
    s.Route("photo.blog.sina.com.cn", "/category/u/1234567890/s/1/page2",
            Page("sina/photos_page2.html"));
    Picture(s, "s1.sinaimg.cn", "/orignal/a1");
    Picture(s, "s2.sinaimg.cn", "/orignal/a2&690");
    Picture(s, "s3.sinaimg.cn", "/orignal/a3");
}

void ServeSinaArticles(FixtureServer& s) {
    s.Route("blog.sina.com.cn", "/s/articlelist_1234567890_0_1.html",
            Page("sina/articles_title.html"));
    s.Route("blog.sina.com.cn", "/s/blog_a1.html", Page("sina/article_url.html"));
    Picture(s, "album.sina.com.cn", "/pic/001");
}

void ServeWeibo(FixtureServer& s) {
    s.Route("weibo.com", "/u/1234567", Page("sina/weibo_user.html"));
    s.Route("photo.weibo.com", "/albums/get_all", Page("sina/weibo_albums.json"));
    RouteBy(s, "photo.weibo.com", "/photos/get_all", "page", {{"1", "sina/weibo_photos1.json"}},
            "sina/weibo_photos_empty.json");
    Picture(s, "ww1.sinaimg.cn", "/large/p1.jpg");
    Picture(s, "tp2.sinaimg.cn", "/1234567/180/p2.jpg");
    Picture(s, "ww3.sinaimg.cn", "/large/p3.jpg");
}

struct CliCase {
    const char* name;
    const char* address;
    void (*serve)(FixtureServer&);
    const char* listed;  // the titles, one line each
    const char* albums;
    QStringList files;  // under the save folder
};

class BaiduSinaCliTest : public CliSiteTest, public ::testing::WithParamInterface<CliCase> {
  protected:
    // Every file under the save folder, relative, sorted.
    QStringList SavedFiles() const {
        QStringList files;
        QDirIterator it(saveDir(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(QStringLiteral("pic.kel"))) {
                files << path.mid(saveDir().size());
            }
        }
        files.sort();
        return files;
    }
};

TEST_P(BaiduSinaCliTest, ListAndDownloadAsTyped) {
    const CliCase& c = GetParam();
    c.serve(server);

    const Run listed = Cli({"list", QString::fromUtf8(c.address), "--quiet"});
    EXPECT_EQ(listed.code, 0) << listed.err.toStdString();
    QStringList titles;
    for (const QString& line : listed.out.split(u'\n', Qt::SkipEmptyParts)) {
        titles << line.section(u'\t', 1, 1);
    }
    EXPECT_EQ(titles.join(u'\n'), QString::fromUtf8(c.listed));

    const Run download =
        Cli({"download", QString::fromUtf8(c.address), "--albums", c.albums, "--threads", "2"});
    EXPECT_EQ(download.code, 0) << download.err.toStdString();
    EXPECT_EQ(SavedFiles(), c.files);
    for (const QString& file : SavedFiles()) {
        QFile saved(saveDir() + file);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_TRUE(saved.readAll().startsWith("JPEG-")) << file.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, BaiduSinaCliTest,
    ::testing::Values(
        CliCase{"BaiduUser", "https://xiangce.baidu.com/u/tester", ServeBaiduUser, "春游\n旅行",
                "2", QStringList{"tester/旅行/旅行.jpg", "tester/旅行/花.jpg"}},
        CliCase{"TiebaForum", "https://tieba.baidu.com/f?kw=%E5%9B%BE&ie=utf-8", ServeTiebaForum,
                "春节\nsnow", "1", QStringList{"图/春节/春节.jpg", "图/春节/雪.jpg"}},
        CliCase{
            "TiebaThread", "https://tieba.baidu.com/p/7001", ServeTiebaThread, "春节快乐", "1",
            QStringList{"图/春节快乐/一.jpg", "图/春节快乐/三.jpg", "图/春节快乐/春节快乐.jpg"}},
        CliCase{"SinaBlog", "http://blog.sina.com.cn/zhangsan", ServeSinaBlog, "风景\n人物", "1",
                QStringList{"张三/风景/山.jpg", "张三/风景/湖.jpg", "张三/风景/风景.jpg"}},
        CliCase{"SinaArticles", "http://blog.sina.com.cn/s/articlelist_1234567890_0_1.html",
                ServeSinaArticles, "湖边散步\n山中", "1",
                QStringList{"张三的博文/湖边散步/湖边散步.jpg"}},
        CliCase{
            "Weibo", "https://weibo.com/u/1234567", ServeWeibo, "头像\n微博配图", "1",
            QStringList{"小明xm/头像/头像.jpg", "小明xm/头像/第一.jpg", "小明xm/头像/第三.jpg"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mosaiq::test
