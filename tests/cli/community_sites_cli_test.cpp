#include "cli_site_test.h"

#include <QDir>

namespace mosaiq::test {
namespace {

// The photo-community sites through the command line, as a user types their addresses: the
// real site table lists and queues, the workers save into the folders the settings give.
class CommunitySitesCliTest : public CliSiteTest {
  protected:
    static QByteArray Utf16File(const QString& text) {
        return QByteArray("\xFF\xFE", 2) +
               QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    }
};

TEST_F(CommunitySitesCliTest, Site56UserListsAndDownloads) {
    const QString index = "https://www.56.com/photo/album/index.php?user=someone&perPage=20&page=";
    Serve(index + "1", Page("site56/albums_page1.html"));
    Serve(index + "2", Page("site56/albums_page2.html"));
    const QString photos = "https://www.56.com/photo/album/?do=Plist&did=1001&page=";
    Serve(photos + "1", Page("site56/photos_page1.html"));
    Serve(photos + "2", Page("site56/photos_page2.html"));
    for (const char* name : {"/photo/a1.jpg", "/photo/a2.jpg", "/photo/a3.jpg"}) {
        Serve(QStringLiteral("http://img.56.com") + name, Picture(QByteArray("JPEG") + name));
    }
    const QString typed = "http://www.56.com/photo/album/index.php?user=someone";

    const Run list = Cli({"list", typed});
    EXPECT_EQ(list.code, 0) << list.err.toStdString();
    EXPECT_EQ(list.out.count('\n'), 3);

    const Run run = Cli({"download", typed, "--albums", "1"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(Saved("someone/海边旅行/日落 时分.jpg"), "JPEG/photo/a1.jpg");
    EXPECT_EQ(Saved("someone/海边旅行/海边旅行.jpg"), "JPEG/photo/a2.jpg");
    EXPECT_EQ(Saved("someone/海边旅行/第二页.jpg"), "JPEG/photo/a3.jpg");
    // Picture requests name their page.
    for (const RecordedRequest& r : server.requests()) {
        if (r.host == "img.56.com") {
            EXPECT_TRUE(r.header("Referer").startsWith(photos.toUtf8())) << r.target.toStdString();
        }
    }
}

TEST_F(CommunitySitesCliTest, PocoUserDownloadsAWorkWithItsDescription) {
    server.Route("web-api.poco.cn", "/v1_1/space/get_user_works_list",
                 [](const RecordedRequest& r) {
                     return Page(r.body.contains("start%22%3A0%7D") ? "poco/works_page1.json"
                                                                    : "poco/works_end.json");
                 });
    Serve("https://www.poco.cn/works/detail?works_id=5001", Page("poco/work.html"));
    Serve("https://img.poco.cn/works/5001/1.jpg", Picture("POCO1"));
    Serve("https://img.poco.cn/works/5001/2.jpg", Picture("POCO2"));

    const Run run = Cli(
        {"download", "https://www.poco.cn/user/user_center?user_id=173256123", "--albums", "1"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(Saved("海边/海边.jpg"), "POCO1");
    EXPECT_EQ(Saved("海边/海边(1).jpg"), "POCO2");
    EXPECT_EQ(Saved("海边/相册描述.txt"), Utf16File(QStringLiteral("在海边 & 日落")));
}

TEST_F(CommunitySitesCliTest, YupooOldSiteUserAndAlbum) {
    const QString user = "https://www.yupoo.com/photos/someone/albums/";
    Serve(user + "page1/", Page("yupoo/old_user_page1.html"));
    Serve(user + "page2/", Page("yupoo/old_user_page2.html"));
    Serve(user + "page3/", Page("yupoo/old_user_end.html"));
    Serve(user + "111/", Page("yupoo/old_album.html"));
    Serve(user + "111/page1/?style=detail", Page("yupoo/old_photos_page1.html"));
    Serve(user + "111/page2/?style=detail", Page("yupoo/old_photos_end.html"));
    for (const char* photo : {"p1", "p2", "p3"}) {
        Serve(QStringLiteral("http://pic.yupoo.com/someone/%1/big.jpg").arg(photo),
              Picture(QByteArray("YUPOO-") + photo));
    }

    // The first run sets big pictures for this site: no zoom page is asked for.
    const Run run = Cli({"download", "http://someone.yupoo.com/", "--albums", "1"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(Saved("someone/春游/花.jpg"), "YUPOO-p1");
    EXPECT_EQ(Saved("someone/春游/小河.jpg"), "YUPOO-p2");
    EXPECT_EQ(Saved("someone/春游/春游.jpg"), "YUPOO-p3");
    EXPECT_EQ(Saved("someone/春游/相册描述.txt"), Utf16File(QStringLiteral("春天的\r\n郊游")));

    QDir(saveDir() + "someone/春游").removeRecursively();
    const Run album = Cli({"download", "http://someone.yupoo.com/albums/111"});
    EXPECT_EQ(album.code, 0) << album.err.toStdString();
    EXPECT_EQ(Saved("someone/春游/花.jpg"), "YUPOO-p1");
}

TEST_F(CommunitySitesCliTest, YupooNewSiteGalleryAndAlbum) {
    const QString gallery = "http://someone.x.yupoo.com/albums?tab=gallery&page=";
    Serve(gallery + "1", Page("yupoo/new_gallery_page1.html"));
    Serve(gallery + "2", Page("yupoo/new_gallery_page2.html"));
    const QString album = "http://someone.x.yupoo.com/albums/101?uid=1";
    Serve(album, Page("yupoo/new_album.html"));
    Serve(album + "&page=1&tab=min", Page("yupoo/new_photos_page1.html"));
    Serve(album + "&page=2&tab=min", Page("yupoo/new_photos_page2.html"));
    for (const char* photo : {"a1", "a2", "a3"}) {
        Serve(QStringLiteral("http://photo.yupoo.com/someone/%1/big.jpg").arg(photo),
              Picture(QByteArray("NEW-") + photo));
    }

    const Run list = Cli({"list", "http://someone.x.yupoo.com/albums?tab=gallery"});
    EXPECT_EQ(list.code, 0) << list.err.toStdString();
    EXPECT_EQ(list.out.count('\n'), 3);

    const Run run = Cli({"download", album + "&isSubCate=false"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(Saved("someone/春装/外套.jpg"), "NEW-a1");
    EXPECT_EQ(Saved("someone/春装/裙子.jpg"), "NEW-a2");
    EXPECT_EQ(Saved("someone/春装/鞋.jpg"), "NEW-a3");
    EXPECT_EQ(Saved("someone/春装/相册描述.txt"), Utf16File(QStringLiteral("春装\r\n新款")));
}

// The workers take the large size when the original is missing or only a stub.
TEST_F(CommunitySitesCliTest, TopitUserAndAlbumFallBackToTheLargeSize) {
    Serve("http://www.topit.me/user/12345/albums?p=1", Page("topit/user_page1.html"));
    Serve("http://www.topit.me/user/12345/albums?p=2", Page("topit/user_page2.html"));
    Serve("http://www.topit.me/album/1001", Page("topit/album.html"));
    Serve("http://www.topit.me/broad?type=album&id=1001&p=1", Page("topit/photos_page1.html"));
    Serve("http://www.topit.me/broad?type=album&id=1001&p=2", Page("topit/photos_page2.html"));
    const QByteArray large(2000, 'L');
    const QByteArray original(5000, 'O');
    Serve("http://f1.topit.me/1/aa/com/o/1m.jpg", Picture("stub"));  // under 600 bytes
    Serve("http://f1.topit.me/1/aa/com/l/1m.jpg", Picture(large));
    // f2's original is missing (404 page): its large size is fetched.
    Serve("http://f2.topit.me/2/bb/l.jpg", Picture(large));
    Serve("http://f3.topit.me/3/cc/com/o/3s.jpg", Picture(original));
    Serve("http://f4.topit.me/4/dd/4o.jpg", Picture(original));

    const Run list = Cli({"list", "http://www.topit.me/user/12345/albums"});
    EXPECT_EQ(list.code, 0) << list.err.toStdString();
    EXPECT_EQ(list.out.count('\n'), 3);

    const Run run = Cli({"download", "http://www.topit.me/album/1001/item/9"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(Saved("小林/猫咪/橘猫.jpg"), large);
    EXPECT_EQ(Saved("小林/猫咪/白猫.jpg"), large);
    EXPECT_EQ(Saved("小林/猫咪/黑猫.jpg"), original);
    EXPECT_EQ(Saved("小林/猫咪/花猫.jpg"), original);
    EXPECT_EQ(server.Count("f3.topit.me", "/3/cc/com/l/3s.jpg"), 0);
}

}  // namespace
}  // namespace mosaiq::test
