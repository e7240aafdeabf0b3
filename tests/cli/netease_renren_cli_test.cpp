#include "cli_site_test.h"

#include <map>

namespace mosaiq::test {
namespace {

// `mosaiq-cli list` and `download` as a user types them, against the site pages of the
// fixtures: the real site table, every request routed to the fixture server.
class NeteaseRenrenCliTest : public CliSiteTest {
  protected:
    // Pictures are served with "JPEG" bodies that name their address.
    void ServePictures(std::initializer_list<const char*> addresses) {
        for (const char* address : addresses) {
            Serve(QString::fromUtf8(address), QByteArray("JPEG") + address);
        }
    }

    QString ListOrDownload(QStringList args) {
        args << "--quiet";
        const Run run = Cli(args);
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        return run.out;
    }

    // The input is listed, its first album downloaded; `files` are the saved files (relative
    // to the save folder) with the address each came from.
    void ListAndDownload(const char* input, const QStringList& titles,
                         const std::map<QString, QString>& files) {
        const QString listed = ListOrDownload({"list", QString::fromUtf8(input)});
        QStringList listedTitles;
        for (const QString& line : listed.split(u'\n', Qt::SkipEmptyParts)) {
            listedTitles << line.section(u'\t', 1, 1);
        }
        EXPECT_EQ(listedTitles, titles) << input;

        const QString save = saveDir() + QStringLiteral("out");
        ListOrDownload({"download", QString::fromUtf8(input), "--albums", "1", "--save", save,
                        "--threads", "2"});
        for (const auto& [file, address] : files) {
            QFile saved(save + u'/' + file);
            EXPECT_TRUE(saved.open(QIODevice::ReadOnly)) << input << ": " << file.toStdString();
            EXPECT_EQ(saved.readAll(), QByteArray("JPEG") + address.toUtf8()) << file.toStdString();
        }
    }
};

TEST_F(NeteaseRenrenCliTest, NeteaseUser) {
    Serve("http://photo.163.com/walker/", Page("netease/home.html"));
    Serve("http://s1.ph.126.net/ab12/albums.js",
          "[{id:101,name:'spring',au:0,count:3,"
          "curl:'',purl:'s1.ph.126.net/ab12/101.js'}]");
    Serve("http://s1.ph.126.net/ab12/101.js", Page("netease/photos.js"));
    ServePictures({"http://img12.photo.163.com/photo/a.jpg", "http://imgab.ph.126.net/b.jpg",
                   "http://img.photo.163.com/photo/c.jpg"});
    ListAndDownload("http://photo.163.com/walker/", {"spring"},
                    {{"walker/spring/海边.jpg", "http://img12.photo.163.com/photo/a.jpg"},
                     {"walker/spring/spring.jpg", "http://imgab.ph.126.net/b.jpg"},
                     {"walker/spring/日落.jpg", "http://img.photo.163.com/photo/c.jpg"}});
}

TEST_F(NeteaseRenrenCliTest, NeteasePpUser) {
    Serve("http://walker.pp.163.com/", Page("netease/pp_home.html"));
    Serve("http://walker.pp.163.com/pp/1.html", Page("netease/pp_set.html"));
    ServePictures({"http://img2.ph.126.net/p1.jpg", "http://img2.ph.126.net/p2.jpg"});
    ListAndDownload("http://walker.pp.163.com/", {"山水", "人像"},
                    {{"摄影师/山水/晨光.jpg", "http://img2.ph.126.net/p1.jpg"},
                     {"摄影师/山水/山水.jpg", "http://img2.ph.126.net/p2.jpg"}});
}

TEST_F(NeteaseRenrenCliTest, LofterBlog) {
    Serve("https://walker.lofter.com/view", Page("lofter/archive.html"));
    Serve("https://walker.lofter.com/dwr/call/plaincall/ArchiveBean.getArchivePostByTime.dwr",
          Page("lofter/posts.js"));
    Serve("https://walker.lofter.com/post/1d2c3b_aaa", Page("lofter/photo_post.html"));
    ServePictures({"http://imglf3.nosdn.127.net/img/abc.jpg"});
    ListAndDownload("https://walker.lofter.com/", {"春天", "公告", "1d2c3b_ccc"},
                    {{"小明的博客/春天/图片1.jpg", "http://imglf3.nosdn.127.net/img/abc.jpg"}});
}

TEST_F(NeteaseRenrenCliTest, RenrenUserByIdAndByName) {
    Serve("https://www.renren.com/zhangsan", Page("renren/person_pid.html"));
    Serve("http://photo.renren.com/photo/222/albumlist/v7?showAll=1",
          Page("renren/albumlist_v7.html"));
    Serve("http://photo.renren.com/photo/222/album-1001/bypage/ajax/v7?page=1&pageSize=40",
          Page("renren/v7_photos1.json"));
    Serve("http://photo.renren.com/photo/222/album-1001/bypage/ajax/v7?page=2&pageSize=40",
          Page("renren/v7_photos_end.json"));
    ServePictures({"http://fmn.rrimg.com/n1.jpg", "http://fmn.rrimg.com/n2.jpg"});
    for (const char* input :
         {"http://www.renren.com/profile.do?id=222", "http://www.renren.com/zhangsan"}) {
        ListAndDownload(input, {"旅行", "密"},
                        {{"张三/旅行/1.jpg", "http://fmn.rrimg.com/n1.jpg"},
                         {"张三/旅行/2.jpg", "http://fmn.rrimg.com/n2.jpg"}});
    }
}

TEST_F(NeteaseRenrenCliTest, RenrenPublicPage) {
    Serve("https://page.renren.com/601/album?curpage=0", Page("renren/page_albums0.html"));
    Serve("https://page.renren.com/601/album?curpage=1", Page("renren/page_albums1.html"));
    Serve("http://photo.renren.com/photo/601/album-7001/bypage/ajax/v7?page=1&pageSize=40",
          Page("renren/v7_photos1.json"));
    ServePictures({"http://fmn.rrimg.com/n1.jpg", "http://fmn.rrimg.com/n2.jpg"});
    ListAndDownload("http://page.renren.com/601/photos", {"春季新品", "活动", "冬季"},
                    {{"某品牌/春季新品/1.jpg", "http://fmn.rrimg.com/n1.jpg"},
                     {"某品牌/春季新品/2.jpg", "http://fmn.rrimg.com/n2.jpg"}});
}

TEST_F(NeteaseRenrenCliTest, RenrenSingleClassicAlbum) {
    Serve("http://photo.renren.com/photo/333/album-9", Page("renren/album_classic.html"));
    Serve("http://photo.renren.com/photo/333/album-9/bypage/ajax?curPage=0&pagenum=65535",
          Page("renren/classic_photos.json"));
    Serve("http://photo.renren.com/photo/333/photo-77/large?xtype=album",
          Page("renren/large77.html"));
    ServePictures({"http://fmn.rrimg.com/original_76.jpg", "http://fmn.rrimg.com/xlarge_77.jpg"});
    ListAndDownload("http://photo.renren.com/photo/333/album-9", {"冬天"},
                    {{"赵六/冬天/湖边.jpg", "http://fmn.rrimg.com/original_76.jpg"},
                     {"赵六/冬天/冬天.jpg", "http://fmn.rrimg.com/xlarge_77.jpg"}});
}

TEST_F(NeteaseRenrenCliTest, RenrenZhanTag) {
    Serve("http://zhan.renren.com/somesite?tagId=77", Page("renren/zhan_site.html"));
    Serve("http://zhan.renren.com/archive/archiveByTag?site_id=5555&tag_id=77&page=0",
          Page("renren/zhan_month2.json"));
    Serve("http://zhan.renren.com/somesite?gid=125&ajax=true", Page("renren/zhan_post_text.html"));
    ServePictures({"http://fmn.rrimg.com/z2.jpg"});
    ListAndDownload("http://zhan.renren.com/somesite?tagId=77", {"年夜饭"},
                    {{"美食站/甜点/年夜饭/年夜饭.jpg", "http://fmn.rrimg.com/z2.jpg"}});
}

}  // namespace
}  // namespace mosaiq::test
