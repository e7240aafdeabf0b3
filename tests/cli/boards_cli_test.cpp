#include "cli_site_test.h"

#include <QDir>
#include <QDirIterator>

namespace mosaiq::test {
namespace {

// The command-line tool on the picture-board sites, as a user types their addresses: the real
// site table, the sites' pages from the fixture server.
class BoardsCliTest : public CliSiteTest {
  protected:
    static QByteArray Fixture(const QString& name) { return Page(name).body; }
    // One page for every query of a path.
    void Serve(const QString& host, const QString& path, const QByteArray& body) {
        server.Route(host, path, Picture(body));
    }

    // Runs "download INPUT" into the save folder; returns the exit code.
    int Download(const QString& input) {
        const Run run = Cli({"download", input, "--save", saveDir() + "out", "--threads", "2"});
        errText = run.err.toUtf8();
        outText = run.out.toUtf8();
        return run.code;
    }

    // Every saved file but the albums' marker files, relative to the save folder, with its
    // content.
    QStringList Saved() const {
        QStringList files;
        const QString base = saveDir() + "out/";
        for (QDirIterator it(base, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            if (path.endsWith("/pic.kel")) {
                continue;
            }
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            files << path.mid(base.size()) + " = " + QString::fromUtf8(file.readAll());
        }
        files.sort();
        return files;
    }

    // Duitang's picture pages of album 123: two pages of three pictures.
    void ServeDuitangPhotos() {
        server.Route("www.duitang.com", "/napi/blog/list/by_album/", [](const RecordedRequest& r) {
            Reply reply;
            if (r.target.contains("album_id=123&")) {
                reply.body = Fixture(r.target.contains("&start=0&") ? "duitang/photos_page1.json"
                                                                    : "duitang/photos_page2.json");
            } else {
                reply.body = Fixture("duitang/albums_end.json");
            }
            return reply;
        });
        for (const char* name : {"a.jpg", "b.png", "c.jpeg"}) {
            Serve("c-ssl.duitang.com", QStringLiteral("/uploads/item/") + name,
                  QByteArray("IMG-") + name);
        }
    }

    QByteArray errText;
    QByteArray outText;
};

TEST_F(BoardsCliTest, DoubanAlbumDownloads) {
    Serve("www.douban.com", "/photos/album/123/", Fixture("douban/second_title_form.html"));
    Serve("img1.doubanio.com", "/view/photo/raw/public/p2001.jpg", "JPEG-2001");
    ASSERT_EQ(Download("https://www.douban.com/photos/album/123/?from=home"), 0) << errText.data();
    EXPECT_EQ(Saved(), QStringList{"猫咪/猫咪/橘猫.jpg = JPEG-2001"});
}

TEST_F(BoardsCliTest, DuitangUserAndAlbumDownload) {
    Serve("www.duitang.com", "/people/", Fixture("duitang/user_page.html"));
    Serve("www.duitang.com", "/album/list/1/24/", Fixture("duitang/albums_page1.json"));
    Serve("www.duitang.com", "/album/list/2/24/", Fixture("duitang/albums_end.json"));
    ServeDuitangPhotos();
    // Album 501 ("旅行") gets album 123's pictures.
    server.Route("www.duitang.com", "/napi/blog/list/by_album/", [](const RecordedRequest& r) {
        Reply reply;
        const bool travel = r.target.contains("album_id=501&");
        reply.body = Fixture(!travel                          ? "duitang/albums_end.json"
                             : r.target.contains("&start=0&") ? "duitang/photos_page1.json"
                                                              : "duitang/photos_page2.json");
        return reply;
    });
    ASSERT_EQ(Download("https://www.duitang.com/people/?user_id=12345"), 0) << errText.data();
    EXPECT_EQ(Saved(), (QStringList{"堆糖_12345/旅行/最后.jpg = IMG-c.jpeg",
                                    "堆糖_12345/旅行/第一张.jpg = IMG-a.jpg",
                                    "堆糖_12345/旅行/第二张.jpg = IMG-b.png"}))
        << errText.data() << outText.data();
}

TEST_F(BoardsCliTest, DuitangAlbumDownloads) {
    Serve("www.duitang.com", "/album/", Fixture("duitang/album_page.html"));
    ServeDuitangPhotos();
    ASSERT_EQ(Download("https://www.duitang.com/album/?id=123"), 0) << errText.data();
    EXPECT_EQ(Saved(), (QStringList{"堆糖_777/猫咪合集/最后.jpg = IMG-c.jpeg",
                                    "堆糖_777/猫咪合集/第一张.jpg = IMG-a.jpg",
                                    "堆糖_777/猫咪合集/第二张.jpg = IMG-b.png"}));
}

TEST_F(BoardsCliTest, HuabanBoardDownloads) {
    Serve("huaban.com", "/boards/8801/", Fixture("huaban/board.html"));
    server.Route("huaban.com", "/boards/8801/", [](const RecordedRequest& r) {
        Reply reply;
        reply.body =
            Fixture(r.target.contains("max=") ? "huaban/pins_page2.json" : "huaban/board.html");
        return reply;
    });
    Serve("hbimg.b0.upaiyun.com", "/k1001", "PIN-1001");
    Serve("hbimg.b0.upaiyun.com", "/k1002", "PIN-1002");
    Serve("hbimg.huabanimg.com", "/k1003", "PIN-1003");
    ASSERT_EQ(Download("https://huaban.com/boards/8801/"), 0) << errText.data();
    EXPECT_EQ(Saved(), (QStringList{"小花设计/家居灵感/卧室.jpg = PIN-1003",
                                    "小花设计/家居灵感/客厅.jpg = PIN-1001",
                                    "小花设计/家居灵感/餐厅.jpg = PIN-1002"}));
}

TEST_F(BoardsCliTest, SzwegoShopDownloadsPicturesVideosAndTexts) {
    server.Route(
        "www.szwego.com", "/service/album/get_album_themes_list.jsp", [](const RecordedRequest& r) {
            Reply reply;
            reply.body = Fixture(r.target.contains("time_stamp=") ? "szwego/posts_end.json"
                                                                  : "szwego/posts_page1.json");
            return reply;
        });
    // Bodies that start as their formats do, so the format fix keeps their extensions.
    for (const char* name : {"a1", "a2", "a3", "c1"}) {
        Serve("xcimg.szwego.com", QStringLiteral("/%1.jpg").arg(name),
              QByteArray("\xFF\xD8\xFF\xE0JFIF-") + name);
    }
    Serve("xcimg.szwego.com", "/v2.mp4",
          QByteArray("\0\0\0\x18"
                     "ftypmp42-v2",
                     15));
    ASSERT_EQ(Download("https://www.szwego.com/static/index.html#/shop_detail/A1"), 0)
        << errText.data();
    const auto utf16 = [](const QString& text) {
        QByteArray bytes("\xFF\xFE", 2);
        bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        return QString::fromUtf8(bytes);
    };
    const QString jpeg = QString::fromUtf8("\xFF\xD8\xFF\xE0JFIF-");
    // Numbered as the order fix of these settings numbers them.
    EXPECT_EQ(Saved(),
              (QStringList{"G1/1) 1.jpg = " + jpeg + "a1", "G1/2) 2.jpg = " + jpeg + "a2",
                           "G1/3) 3.jpg = " + jpeg + "a3",
                           "G1/图片描述.txt = " + utf16("新款上市\r\n包邮"),
                           "G2/1) 1.mp4 = " + QString::fromUtf8(QByteArray("\0\0\0\x18"
                                                                           "ftypmp42-v2",
                                                                           15)),
                           "G3/1) 1.jpg = " + jpeg + "c1", "G3/图片描述.txt = " + utf16("第三")}))
        << errText.data();
}

TEST_F(BoardsCliTest, InstagramAccountDownloads) {
    Serve("www.instagram.com", "/tester", Fixture("instagram/profile.html"));
    Serve("www.instagram.com", "/static/bundles/ProfilePageContainer.js/abc123.js",
          Fixture("instagram/ProfilePageContainer.js"));
    Serve("www.instagram.com", "/graphql/query/", Fixture("instagram/posts_last.json"));
    const QByteArray jpeg("\xFF\xD8\xFF\xE0JFIF-");
    for (const char* name : {"a", "b", "e"}) {
        Serve("scontent.cdninstagram.com", QStringLiteral("/t51/%1.jpg").arg(name), jpeg + name);
    }
    ASSERT_EQ(Download("https://www.instagram.com/tester/"), 0) << errText.data();
    const QString prefix = QString::fromUtf8(jpeg);
    EXPECT_EQ(Saved(), (QStringList{"tester/1) 旅行 🌊.jpg = " + prefix + "a",
                                    "tester/2) tester.jpg = " + prefix + "b",
                                    "tester/3) 最后.jpg = " + prefix + "e"}))
        << errText.data();
}

}  // namespace
}  // namespace mosaiq::test
