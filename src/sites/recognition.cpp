#include "sites/recognition.h"

#include "sites/site_hosts.h"
#include "sites/site_text.h"

#include <initializer_list>
#include <optional>

namespace mosaiq {
namespace {

bool ContainsAnyDomain(QStringView text, std::initializer_list<QStringView> domains) {
    for (const QStringView domain : domains) {
        if (ContainsDomain(text, domain)) {
            return true;
        }
    }
    return false;
}

// The site type an address belongs to, or none. The order matters: the first match decides.
std::optional<SiteType> SiteTypeOfAddress(QStringView text) {
    using namespace hosts;
    using enum SiteType;
    const QString qqPath = kQqDomain + u'/';
    const QString neteasePath = kNeteaseDomain + u'/';
    if (ContainsDomain(text, qqPath) && !ContainsDomain(text, neteasePath)) {
        return QqFamily;
    }
    struct Rule {
        std::initializer_list<QStringView> domains;
        SiteType listType;
    };
    const QString sinaWeiboPath = kSinaWeiboDomain + u'/';
    const QString doubanPath = kDoubanDomain + u'/';
    const Rule rules[] = {
        {{kBaiduDomain}, Baidu},
        {{kNeteaseDomain}, Netease},
        {{kRenrenDomain}, Renren},
        {{kSinaDomain, sinaWeiboPath}, Sina},
        {{k56Domain}, Site56},
        {{kPocoDomain}, Poco},
        {{kYupooDomain}, Yupoo},
        {{k51Domain}, Site51},
        {{kPchomeDomain, doubanPath}, PchomeDouban},
        {{kTaobaoDomain, kTmallDomain, k1688Domain, kAlibabaDomain, kAliexpressDomain}, Shops},
        {{kMokoDomain}, Moko},
        {{kBabytreeDomain}, Babytree},
        {{kPconlineDomain}, Pconline},
        {{kHupuDomain}, Hupu},
        // ZOL addresses are products here: ZOL albums are reached only by choosing the type.
        {{kJdDomain, kZolDomain, kJdHkDomain}, JdProduct},
        {{kInstagramDomain, kSzwegoDomain}, InstagramSzwego},
        {{kHuabanDomain, kHuabanProDomain, kDuitangDomain}, DuitangHuaban},
        {{kLofterDomain}, Lofter},
        {{kTopitDomain}, Topit},
    };
    for (const Rule& rule : rules) {
        if (ContainsAnyDomain(text, rule.domains)) {
            return rule.listType;
        }
    }
    return std::nullopt;
}

QqSubType QqSubTypeOfAddress(QStringView text) {
    using namespace hosts;
    if (ContainsDomain(text, kTweiboDomain)) {
        return QqSubType::TencentWeibo;
    }
    if (ContainsAnyDomain(text, {kQqGroupDomain, kQqGroupDomain2, kQqGroupDomain3})) {
        return QqSubType::Group;
    }
    return QqSubType::Zone;
}

}  // namespace

RecognizedSite RecognizeSite(const QString& text, int currentSelection) {
    const int qq = SiteTypeValue(SiteType::QqFamily);
    if (!HasScheme(text)) {
        // A bare account number: only the QQ family takes one, and its sub-type is the
        // user's choice, so the QQ selection stays untouched.
        if (currentSelection == qq) {
            return {};
        }
        return {true, currentSelection, kNoSubType};
    }
    const std::optional<SiteType> found = SiteTypeOfAddress(text);
    const int listType = found ? SiteTypeValue(*found) : currentSelection;
    return {true, listType, listType == qq ? SubTypeValue(QqSubTypeOfAddress(text)) : kNoSubType};
}

}  // namespace mosaiq
