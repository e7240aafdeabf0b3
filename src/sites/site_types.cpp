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

}  // namespace mosaiq
