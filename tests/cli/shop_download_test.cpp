#include "cli_site_test.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <vector>

namespace mosaiq::test {
namespace {

// `mosaiq-cli download PRODUCT` as a user types it, against the fixture site: the product
// page, the album it makes and the pictures saved under their names.
class ShopDownloadTest : public CliSiteTest {
  protected:
    // One page for every query of the address's path.
    void ServePage(const QString& address, const QString& fixture, bool declaredGbk = false) {
        Reply reply = Page(fixture);
        if (declaredGbk) {
            reply.headers = {{"Content-Type", "text/html; charset=GBK"}};
        }
        const QUrl url(address);
        server.Route(url.host(), url.path(), reply);
    }
    void ServePictures(const QStringList& addresses) {
        for (const QString& address : addresses) {
            Reply reply;
            reply.body = "JPEGDATA " + address.toUtf8();
            const QUrl url(address);
            server.Route(url.host(), url.path(), reply);
        }
    }

    // Runs the download (several threads: one thread pauses between pictures); the pictures
    // saved in the one album's folder, sorted.
    QStringList Download(const QString& input, QString& title) {
        const Run run = Cli({"download", input, "--save", saveDir() + QStringLiteral("out"),
                             "--json", "--threads", "5"});
        m_code = run.code;
        m_errors = run.err.toUtf8();
        const QList<QByteArray> lines = run.out.toUtf8().split('\n');
        const QJsonObject album = QJsonDocument::fromJson(lines.value(0)).object();
        title = album["title"].toString();
        QStringList files =
            QDir(album["folder"].toString()).entryList({QStringLiteral("*.jpg")}, QDir::Files);
        files.sort();
        return files;
    }

    QByteArray m_errors;  // what the CLI told the user
    int m_code = -1;      // its exit status
};

TEST_F(ShopDownloadTest, EachProductSourceSavesItsPicturesUnderTheirNames) {
    struct Case {
        const char* input;
        const char* fixture;
        bool declaredGbk;
        QStringList pictures;
        const char* title;
        QStringList files;
    };
    const Case cases[] = {
        {"https://item.taobao.com/item.htm?id=123",
         "taobao/item.html",
         false,
         {"http://img.alicdn.com/bao/a.jpg", "http://img.alicdn.com/bao/b.png",
          "https://gd1.alicdn.com/bao/c_d.jpg"},
         "纯棉T恤 男款",
         {"主图_001.jpg", "主图_002.jpg", "主图_003.jpg"}},
        {"https://detail.tmall.com/item.htm?id=123",
         "taobao/item.html",
         false,
         {"http://img.alicdn.com/bao/a.jpg", "http://img.alicdn.com/bao/b.png",
          "https://gd1.alicdn.com/bao/c_d.jpg"},
         "纯棉T恤 男款",
         {"主图_001.jpg", "主图_002.jpg", "主图_003.jpg"}},
        {"https://detail.1688.com/offer/123.html",
         "shop1688/offer.html",
         false,
         {"https://cbu01.alicdn.com/img/ibank/a.jpg", "http://cbu01.alicdn.com/img/ibank/b.jpg",
          "http://cbu01.alicdn.com/img/ibank/d.jpg"},
         "2024新款 陶瓷杯",
         {"主图_001.jpg", "主图_002.jpg", "主图_004.jpg"}},
        {"https://www.alibaba.com/product-detail/Ceramic-Mug_600.html",
         "alibaba/product.html",
         false,
         {"http://sc01.alicdn.com/kf/HTB1a.jpg", "https://sc01.alicdn.com/kf/b.png"},
         "Ceramic Mug 350ml",
         {"主图_001.jpg", "主图_002.jpg"}},
        {"https://www.aliexpress.com/item/100.html",
         "aliexpress/item_markup.html",
         false,
         {"https://ae01.alicdn.com/kf/a.jpg", "https://ae01.alicdn.com/kf/b.jpg"},
         "Summer Dress",
         {"主图_001.jpg", "主图_002.jpg"}},
        {"https://www.aliexpress.com/item/200.html",
         "aliexpress/item_data.html",
         false,
         {"https://ae01.alicdn.com/kf/s0.jpg", "https://ae01.alicdn.com/kf/s1.jpg"},
         "Wool Scarf",
         {"主图_000.jpg", "主图_001.jpg"}},
        {"https://item.jd.com/100.html",
         "jd/item.html",
         true,
         {"http://img14.360buyimg.com/n12/jfs/t1/a.jpg",
          "http://img14.360buyimg.com/n12/jfs/t1/b.jpg",
          "https://img14.360buyimg.com/n12/jfs/t1/c.jpg",
          "http://img14.360buyimg.com/n12/jfs/t1/blue.jpg"},
         "华为手机 Mate",
         {"红色_主图_001.jpg", "红色_主图_002.jpg", "红色_主图_004.jpg", "蓝色_主图_001.jpg"}},
        {"https://detail.zol.com.cn/1/2/pic.shtml",
         "zol_product/product.html",
         false,
         {"https://2a.zol-img.com.cn/product/1/a.jpg", "https://2a.zol-img.com.cn/product/2/b.jpg",
          "https://2a.zol-img.com.cn/product/3/c.jpg", "https://2a.zol-img.com.cn/product/4/d.jpg"},
         "华为Mate 60",
         {"华为Mate 60.jpg", "图片.jpg", "外观.jpg", "细节.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        ServePage(QString::fromUtf8(c.input), QString::fromUtf8(c.fixture), c.declaredGbk);
        ServePage(QStringLiteral("https://item.jd.com/200.html"), QStringLiteral("jd/variant.html"),
                  true);
        ServePictures(c.pictures);

        QString title;
        const QStringList files = Download(QString::fromUtf8(c.input), title);

        EXPECT_EQ(title, QString::fromUtf8(c.title)) << m_errors.toStdString();
        EXPECT_EQ(files, c.files);
        // Alibaba's too-short thumbnail address gives a picture that cannot be fetched: the
        // run says so in its exit status.
        EXPECT_EQ(m_code, QString::fromUtf8(c.input).contains(u"alibaba") ? 1 : 0)
            << m_errors.toStdString();
        QDir(saveDir() + QStringLiteral("out")).removeRecursively();
    }
}

TEST_F(ShopDownloadTest, TheExtensionSettingsShapeTheNamesAndTheVariantWalk) {
    QFile ini(dataDir() + QStringLiteral("下载器扩展设置.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[淘宝]\n图片名中是否有价格=有\n价格增减=3\n[京东]\n图片获取方式=0\n");
    ini.close();
    ServePage(QStringLiteral("https://item.taobao.com/item.htm?id=123"),
              QStringLiteral("taobao/item.html"));
    ServePage(QStringLiteral("https://item.jd.com/100.html"), QStringLiteral("jd/item.html"), true);
    ServePictures({"http://img.alicdn.com/bao/a.jpg", "http://img.alicdn.com/bao/b.png",
                   "https://gd1.alicdn.com/bao/c_d.jpg",
                   "http://img14.360buyimg.com/n12/jfs/t1/a.jpg",
                   "http://img14.360buyimg.com/n12/jfs/t1/b.jpg",
                   "https://img14.360buyimg.com/n12/jfs/t1/c.jpg"});

    QString title;
    EXPECT_EQ(Download(QStringLiteral("https://item.taobao.com/item.htm?id=123"), title),
              (QStringList{"价格15.50元_主图_001.jpg", "价格15.50元_主图_002.jpg",
                           "价格15.50元_主图_003.jpg"}))
        << m_errors.toStdString();
    QDir(saveDir() + QStringLiteral("out")).removeRecursively();

    // The kept page alone: no variant page is asked for.
    EXPECT_EQ(Download(QStringLiteral("https://item.jd.com/100.html"), title),
              (QStringList{"主图_001.jpg", "主图_002.jpg", "主图_004.jpg"}))
        << m_errors.toStdString();
    EXPECT_EQ(server.Count(QStringLiteral("item.jd.com"), QStringLiteral("/200.html")), 0);
}

}  // namespace
}  // namespace mosaiq::test
