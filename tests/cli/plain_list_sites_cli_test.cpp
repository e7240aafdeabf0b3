#include "cli_site_test.h"

#include <QDir>
#include <QDirIterator>

#include <vector>

namespace mosaiq::test {
namespace {

// One site as a user reaches it from the command line: the address typed, the site's canned
// pages and picture files, the album downloaded and the files it leaves.
struct CliSite {
    const char* name;
    QStringList typed;  // the address, and "--site N" where recognition cannot tell
    std::vector<std::pair<const char*, const char*>> pages;  // address, fixture file
    QStringList pictures;                                    // picture addresses served
    QStringList titles;                                      // the albums "list" prints
    int album;                                               // the album downloaded (from 1)
    QStringList files;  // "<path in the save folder> <- <picture address>" of every picture saved
};

class PlainListSitesCliTest : public CliSiteTest, public ::testing::WithParamInterface<CliSite> {
  protected:
    void SetUp() override {
        CliSiteTest::SetUp();
        for (const auto& [address, fixture] : GetParam().pages) {
            Serve(QString::fromUtf8(address), Page(QString::fromUtf8(fixture)));
        }
        for (const QString& picture : GetParam().pictures) {
            Serve(picture, "JPEG " + picture.toUtf8());
        }
    }

    // The command, with the site type where the address alone does not tell it.
    Run SiteCli(QStringList args) { return Cli(args << GetParam().typed.mid(1)); }
};

TEST_P(PlainListSitesCliTest, ListThenDownloadOneAlbum) {
    const CliSite& site = GetParam();
    const Run listed = SiteCli({"list", site.typed[0]});
    EXPECT_EQ(listed.code, 0) << listed.err.toStdString();
    QStringList titles;
    for (const QString& line : listed.out.split(u'\n', Qt::SkipEmptyParts)) {
        titles << line.section(u'\t', 1, 1);
    }
    EXPECT_EQ(titles, site.titles);

    const QString save = saveDir() + QStringLiteral("out");
    const Run download = SiteCli({"download", site.typed[0], "--albums",
                                  QString::number(site.album), "--save", save, "--threads", "4"});
    EXPECT_EQ(download.code, 0) << download.err.toStdString();
    QStringList saved;
    for (QDirIterator it(save, {"*.jpg"}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray body = file.readAll();
        saved << QDir(save).relativeFilePath(path) + QStringLiteral(" <- ") +
                     QString::fromUtf8(body.mid(5));
        EXPECT_TRUE(body.startsWith("JPEG ")) << path.toStdString();
    }
    saved.sort();
    EXPECT_EQ(saved, site.files);
}

INSTANTIATE_TEST_SUITE_P(
    Sites, PlainListSitesCliTest,
    ::testing::Values(
        CliSite{"Site51",
                {"http://home.51.com/tester/photo"},
                {{"http://home.51.com/tester/photo", "site51/albums.html"},
                 {"http://home.51.com/tester/photo/album/77", "site51/album77.html"},
                 {"http://home.51.com/tester/photo/getdataview/?id=9001", "site51/rows.json"}},
                {"http://img.51.com/b/9001.jpg", "http://img.51.com/b/9002.jpg"},
                {"夏天", "旅行 & 美食"},
                1,
                {"tester/夏天/1.jpg <- http://img.51.com/b/9001.jpg",
                 "tester/夏天/2.jpg <- http://img.51.com/b/9002.jpg"}},
        CliSite{"ZolAlbums",
                {"http://photo.zol.com.cn/tester/", "--site", "9"},
                {{"http://photo.zol.com.cn/tester/album_1.html", "zol_albums/albums_p1.html"},
                 {"http://photo.zol.com.cn/tester/album_2.html", "zol_albums/albums_p2.html"},
                 {"http://photo.zol.com.cn/tester/album_3.html", "zol_albums/albums_p3.html"},
                 {"http://photo.zol.com.cn/tester/photo_12_1.html", "zol_albums/photos_p1.html"},
                 {"http://photo.zol.com.cn/tester/photo_12_2.html", "zol_albums/photos_p2.html"}},
                {"http://img.zol.com.cn/g1/a.jpg", "http://img2.zol.com.cn/g2/b.jpg",
                 "http://pic.zolimg.com.cn/g3/c.jpg"},
                {"春游", "毕业照", "家"},
                2,
                {"张三/毕业照/云.jpg <- http://pic.zolimg.com.cn/g3/c.jpg",
                 "张三/毕业照/山.jpg <- http://img.zol.com.cn/g1/a.jpg",
                 "张三/毕业照/水.jpg <- http://img2.zol.com.cn/g2/b.jpg"}},
        CliSite{"Pchome",
                {"http://photo.pchome.com.tw/tester/"},
                {{"http://photo.pchome.com.tw/tester*1", "pchome/albums_p1.html"},
                 {"http://photo.pchome.com.tw/tester*2", "pchome/albums_p2.html"},
                 {"http://photo.pchome.com.tw/tester*3", "pchome/albums_p3.html"},
                 {"http://photo.pchome.com.tw/tester/a1*1", "pchome/photos.html"}},
                {"http://photo.pchome.com.tw/tester/a1/p1.jpg",
                 "http://photo.pchome.com.tw/tester/a1/p2.jpg"},
                {"阿里山", "日月潭", "台北"},
                1,
                {"tester/阿里山/日出.jpg <- http://photo.pchome.com.tw/tester/a1/p1.jpg",
                 "tester/阿里山/雲海.jpg <- http://photo.pchome.com.tw/tester/a1/p2.jpg"}},
        CliSite{"Moko",
                {"http://www.moko.cc/tester/"},
                {{"http://www.moko.cc/post/tester/list.html", "moko/user.html"},
                 {"http://www.moko.cc/post/tester/category/11/1.html", "moko/cat11_p1.html"},
                 {"http://www.moko.cc/post/tester/category/11/2.html", "moko/cat11_p2.html"},
                 {"http://www.moko.cc/post/tester/category/13/1.html", "moko/cat13_p1.html"},
                 {"http://www.moko.cc/post/111.html", "moko/post.html"}},
                {"http://img.moko.cc/p/1.jpg", "http://img.moko.cc/p/2.jpg"},
                {"海边", "街头", "雨", "夜景"},
                4,
                {"Tester/夜景/夜景(1).jpg <- http://img.moko.cc/p/2.jpg",
                 "Tester/夜景/夜景.jpg <- http://img.moko.cc/p/1.jpg"}},
        CliSite{"Babytree",
                {"http://home.babytree.com/tester/"},
                {{"http://home.babytree.com/tester/photo/list?pg=1", "babytree/first_empty.html"},
                 {"http://www.babytree.com/user/"
                  "showuser.php?uid=utester&tab=photo&view=album_list&order=&pg=1",
                  "babytree/second_p1.html"},
                 {"http://www.babytree.com/user/"
                  "showuser.php?uid=utester&tab=photo&view=album_list&order=&pg=2",
                  "babytree/second_p2.html"},
                 {"http://www.babytree.com/user/"
                  "showuser.php?uid=utester&tab=photo&view=album&album_id=5&pg=1",
                  "babytree/second_photos_p1.html"},
                 {"http://www.babytree.com/user/"
                  "showuser.php?uid=utester&tab=photo&view=album&album_id=5&pg=2",
                  "babytree/second_photos_p2.html"},
                 {"http://www.babytree.com/user/"
                  "showuser.php?uid=utester&tab=photo&view=photo&photo_id=51&show=big",
                  "babytree/photo51.html"}},
                {"http://pic.babytree.com/b/51.jpg", "http://pic.babytree.com/t/52.jpg"},
                {"满月", "百天"},
                1,
                {"小宝/满月/抬头.jpg <- http://pic.babytree.com/b/51.jpg",
                 "小宝/满月/翻身.jpg <- http://pic.babytree.com/t/52.jpg"}},
        CliSite{"Pconline",
                {"http://my.pconline.com.cn/tester/"},
                {{"https://my.pconline.com.cn/tester/myphoto_p1_n15.html", "pconline/list_p1.html"},
                 {"https://my.pconline.com.cn/tester/myphoto_p2_n15.html", "pconline/list_p2.html"},
                 {"http://my.pconline.com.cn/photo/list_1001.html", "pconline/album.html"}},
                {"http://img.pconline.com.cn/p/1.jpg", "http://img.pconline.com.cn/p/2.jpg",
                 "http://img.pconline.com.cn/p/3.jpg"},
                {"春天", "夏天", "秋天"},
                1,
                {"小明/春天/春天 (1).jpg <- http://img.pconline.com.cn/p/1.jpg",
                 "小明/春天/春天 (2).jpg <- http://img.pconline.com.cn/p/2.jpg",
                 "小明/春天/春天 (3).jpg <- http://img.pconline.com.cn/p/3.jpg"}},
        CliSite{"Hupu",
                {"http://my.hupu.com/tester"},
                {{"http://my.hupu.com/tester/photo-1", "hupu/albums_p1.html"},
                 {"http://my.hupu.com/tester/photo-2", "hupu/albums_p2.html"},
                 {"http://my.hupu.com/tester/photo/a101-1.html", "hupu/album_p1.html"},
                 {"http://my.hupu.com/tester/photo/a101-2.html", "hupu/album_p2.html"}},
                {"http://i1.hoopchina.com.cn/p/1_big.jpg", "http://i1.hoopchina.com.cn/p/2_big.jpg",
                 "http://i1.hoopchina.com.cn/p/3_big.jpg"},
                {"湖人", "私密", "无题相册"},
                1,
                {"tester/湖人/三分.jpg <- http://i1.hoopchina.com.cn/p/3_big.jpg",
                 "tester/湖人/扣篮.jpg <- http://i1.hoopchina.com.cn/p/1_big.jpg",
                 "tester/湖人/盖帽.jpg <- http://i1.hoopchina.com.cn/p/2_big.jpg"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mosaiq::test
