#include "sites/site_types.h"

namespace mosaiq {

const QStringList& SiteTypeNames() {
    static const QStringList names = {
        QStringLiteral("QQ空间/QQ群/腾讯微博"),
        QStringLiteral("百度相册/百度贴吧"),
        QStringLiteral("网易相册"),
        QStringLiteral("人人网"),
        QStringLiteral("新浪博客/新浪微博"),
        QStringLiteral("56相册"),
        QStringLiteral("POCO"),
        QStringLiteral("又拍(Yupoo)"),
        QStringLiteral("51相册"),
        QStringLiteral("ZOL"),
        QStringLiteral("PCHome/豆瓣"),
        QStringLiteral("淘宝/天猫/1688/阿里巴巴/速卖通"),
        QStringLiteral("moko美空"),
        QStringLiteral("宝宝树"),
        QStringLiteral("太平洋电脑网"),
        QStringLiteral("虎扑"),
        QStringLiteral("京东/ZOL产品"),
        QStringLiteral("Instagram/微商相册"),
        QStringLiteral("堆糖/花瓣"),
        QStringLiteral("LOFTER"),
        QStringLiteral("Topit"),
    };
    return names;
}

const QStringList& QqSubTypeNames() {
    static const QStringList names = {
        QStringLiteral("QQ空间相册"),
        QStringLiteral("QQ群相册"),
        QStringLiteral("腾讯微博相册"),
    };
    return names;
}

const std::vector<SiteExample>& SiteExamples() {
    static const std::vector<SiteExample> examples = {
        {0, QStringLiteral("https://user.qzone.qq.com/123456789"), 0, 0},
        {0, QStringLiteral("https://user.qzone.qq.com/123456789/photo"), 0, 0},
        {0, QStringLiteral("https://qun.qzone.qq.com/group#!/87654321/photo"), 0, 1},
        {0, QStringLiteral("http://t.qq.com/someone"), 0, 2},
        {1, QStringLiteral("https://xiangce.baidu.com/u/someone"), 1, -1},
        {1, QStringLiteral("https://tieba.baidu.com/f?kw=%E5%9B%BE%E7%89%87"), 1, -1},
        {1, QStringLiteral("https://tieba.baidu.com/p/7012345678"), 1, -1},
        {2, QStringLiteral("http://photo.163.com/someone/"), 2, -1},
        {2, QStringLiteral("http://pp.163.com/someone/"), 2, -1},
        {3, QStringLiteral("http://www.renren.com/123456789/profile"), 3, -1},
        {3, QStringLiteral("http://page.renren.com/601234567/photos"), 3, -1},
        {3, QStringLiteral("http://zhan.renren.com/somesite"), 3, -1},
        {4, QStringLiteral("http://blog.sina.com.cn/someone"), 4, -1},
        {4, QStringLiteral("https://weibo.com/123456789"), 4, -1},
        {5, QStringLiteral("http://www.56.com/photo/album/index.php?user=someone"), 5, -1},
        {6, QStringLiteral("http://my.poco.cn/album/album_list.htx&user_id=173256123"), 6, -1},
        {7, QStringLiteral("https://www.yupoo.com/photos/someone/albums/"), 7, -1},
        {7, QStringLiteral("https://someone.x.yupoo.com/albums"), 7, -1},
        {8, QStringLiteral("http://photo.51.com/someone/"), 8, -1},
        {9, QStringLiteral("http://bbs.zol.com.cn/someone/"), 16, -1},
        {10, QStringLiteral("http://photo.pchome.com.tw/someone/"), 10, -1},
        {10, QStringLiteral("https://www.douban.com/photos/album/123456/"), 10, -1},
        {11, QStringLiteral("https://shop123.taobao.com/"), 11, -1},
        {11, QStringLiteral("https://detail.tmall.com/item.htm?id=123"), 11, -1},
        {11, QStringLiteral("https://shop123.1688.com/"), 11, -1},
        {11, QStringLiteral("https://company.en.alibaba.com/"), 11, -1},
        {11, QStringLiteral("https://www.aliexpress.com/store/123"), 11, -1},
        {12, QStringLiteral("http://www.moko.cc/someone/"), 12, -1},
        {13, QStringLiteral("http://www.babytree.com/u12345/"), 13, -1},
        {14, QStringLiteral("http://my.pconline.com.cn/someone/"), 14, -1},
        {15, QStringLiteral("https://my.hupu.com/someone/photo"), 15, -1},
        {16, QStringLiteral("https://item.jd.com/100012345678.html"), 16, -1},
        {16, QStringLiteral("https://detail.zol.com.cn/cell_phone/index123.shtml"), 16, -1},
        {16, QStringLiteral("https://item.jd.hk/100012345678.html"), 16, -1},
        {17, QStringLiteral("https://www.instagram.com/someone/"), 17, -1},
        {17, QStringLiteral("https://www.szwego.com/static/index.html#/shop_detail/A2012345"), 17,
         -1},
        {18, QStringLiteral("https://www.duitang.com/people/?user_id=12345"), 18, -1},
        {18, QStringLiteral("https://huaban.com/boards/12345/"), 18, -1},
        {18, QStringLiteral("https://huabanpro.com/boards/12345/"), 18, -1},
        {19, QStringLiteral("https://someone.lofter.com/"), 19, -1},
        {20, QStringLiteral("http://www.topit.me/user/12345/albums"), 20, -1},
    };
    return examples;
}

}  // namespace mosaiq
