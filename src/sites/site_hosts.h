#pragma once

#include <QString>

// The domains recognition and input normalisation test, and the hosts of the addresses the
// normalisation rebuilds. The hosts an adapter requests live in its site file's own table.
namespace mosaiq::hosts {

// QQ family
inline const QString kQqDomain = QStringLiteral("qq.com");
inline const QString kQzoneDomain = QStringLiteral("qzone.qq.com");
inline const QString kQqGroupDomain = QStringLiteral("group.qq.com");
inline const QString kQqGroupDomain2 = QStringLiteral("qun.qq.com");
inline const QString kQqGroupDomain3 = QStringLiteral("qun.qzone.qq.com");
inline const QString kTweiboDomain = QStringLiteral("t.qq.com");

// Baidu
inline const QString kBaiduDomain = QStringLiteral("baidu.com");
inline const QString kTiebaDomain = QStringLiteral("tieba.baidu.com");
inline const QString kTiebaHost = QStringLiteral("https://tieba.baidu.com");

// NetEase
inline const QString kNeteaseDomain = QStringLiteral("163.com");
inline const QString kNeteasePhotoDomain = QStringLiteral("photo.163.com");
inline const QString kNeteasePpDomain = QStringLiteral("pp.163.com");
inline const QString kLofterDomain = QStringLiteral("lofter.com");

// Renren
inline const QString kRenrenDomain = QStringLiteral("renren.com");
inline const QString kRenrenZhanDomain = QStringLiteral("zhan.renren.com");
inline const QString kRenrenPageDomain = QStringLiteral("page.renren.com");
inline const QString kRenrenHost = QStringLiteral("https://www.renren.com");
inline const QString kRenrenPageHost = QStringLiteral("https://page.renren.com");

// Sina
inline const QString kSinaDomain = QStringLiteral("sina.com.cn");
inline const QString kSinaWeiboDomain = QStringLiteral("weibo.com");

// Photo communities
inline const QString k56Domain = QStringLiteral("56.com");
inline const QString k56Host = QStringLiteral("https://www.56.com");
inline const QString kPocoDomain = QStringLiteral("poco.cn");
inline const QString kYupooDomain = QStringLiteral("yupoo.com");
inline const QString kYupooNewDomain = QStringLiteral("x.yupoo.com");
inline const QString kYupooMainDomain = QStringLiteral("www.yupoo.com");
inline const QString kYupooPhotoDomain = QStringLiteral("v.yupoo.com");
inline const QString kYupooHost = QStringLiteral("https://www.yupoo.com");
inline const QString k51Domain = QStringLiteral("51.com");
inline const QString kPchomeDomain = QStringLiteral("pchome.com.tw");
inline const QString kDoubanDomain = QStringLiteral("douban.com");
inline const QString kMokoDomain = QStringLiteral("moko.cc");
inline const QString kMokoHost = QStringLiteral("http://www.moko.cc");
inline const QString kBabytreeDomain = QStringLiteral("babytree.com");
inline const QString kPconlineDomain = QStringLiteral("pconline.com.cn");
inline const QString kPconlineHost = QStringLiteral("https://my.pconline.com.cn");
inline const QString kHupuDomain = QStringLiteral("hupu.com");
inline const QString kTopitDomain = QStringLiteral("topit.me");

// Shops and products
inline const QString kTaobaoDomain = QStringLiteral("taobao.com");
inline const QString kTmallDomain = QStringLiteral("tmall.com");
inline const QString k1688Domain = QStringLiteral("1688.com");
inline const QString kAlibabaDomain = QStringLiteral("alibaba.com");
inline const QString kAliexpressDomain = QStringLiteral("aliexpress.com");
inline const QString kJdDomain = QStringLiteral("jd.com");
inline const QString kJdHkDomain = QStringLiteral("jd.hk");
inline const QString kJdItemDomain = QStringLiteral("item.jd.com");
inline const QString kJdHkItemDomain = QStringLiteral("item.jd.hk");
inline const QString kZolDomain = QStringLiteral("zol.com.cn");
inline const QString kZolDetailDomain = QStringLiteral("detail.zol.com.cn");

// Picture boards and social sites
inline const QString kInstagramDomain = QStringLiteral("instagram.com");
inline const QString kSzwegoDomain = QStringLiteral("szwego.com");
inline const QString kHuabanDomain = QStringLiteral("huaban.com");
inline const QString kHuabanProDomain = QStringLiteral("huabanpro.com");
inline const QString kDuitangDomain = QStringLiteral("duitang.com");

}  // namespace mosaiq::hosts
