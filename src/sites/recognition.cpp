#include "sites/recognition.h"

#include "sites/site_hosts.h"
#include "sites/site_text.h"

#include <initializer_list>

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

// The site type an address belongs to, or -1. The order matters: the first match decides.
int SiteTypeOfAddress(QStringView text) {
    using namespace hosts;
    const QString qqPath = kQqDomain + u'/';
    const QString neteasePath = kNeteaseDomain + u'/';
    if (ContainsDomain(text, qqPath) && !ContainsDomain(text, neteasePath)) {
        return 0;
    }
    struct Rule {
        std::initializer_list<QStringView> domains;
        int listType;
    };
    const QString sinaWeiboPath = kSinaWeiboDomain + u'/';
    const QString doubanPath = kDoubanDomain + u'/';
    const Rule rules[] = {
        {{kBaiduDomain}, 1},
        {{kNeteaseDomain}, 2},
        {{kRenrenDomain}, 3},
        {{kSinaDomain, sinaWeiboPath}, 4},
        {{k56Domain}, 5},
        {{kPocoDomain}, 6},
        {{kYupooDomain}, 7},
        {{k51Domain}, 8},
        {{kPchomeDomain, doubanPath}, 10},
        {{kTaobaoDomain, kTmallDomain, k1688Domain, kAlibabaDomain, kAliexpressDomain}, 11},
        {{kMokoDomain}, 12},
        {{kBabytreeDomain}, 13},
        {{kPconlineDomain}, 14},
        {{kHupuDomain}, 15},
        {{kJdDomain, kZolDomain, kJdHkDomain}, 16},
        {{kInstagramDomain, kSzwegoDomain}, 17},
        {{kHuabanDomain, kHuabanProDomain, kDuitangDomain}, 18},
        {{kLofterDomain}, 19},
        {{kTopitDomain}, 20},
    };
    for (const Rule& rule : rules) {
        if (ContainsAnyDomain(text, rule.domains)) {
            return rule.listType;
        }
    }
    return -1;
}

int QqSubTypeOfAddress(QStringView text) {
    using namespace hosts;
    if (ContainsDomain(text, kTweiboDomain)) {
        return kTencentWeibo;
    }
    if (ContainsAnyDomain(text, {kQqGroupDomain, kQqGroupDomain2, kQqGroupDomain3})) {
        return kQqGroup;
    }
    return kQqZone;
}

}  // namespace

RecognizedSite RecognizeSite(const QString& text, int currentSelection) {
    if (!HasScheme(text)) {
        // A bare account number: only the QQ family takes one, and its sub-type is the
        // user's choice, so the QQ selection stays untouched.
        if (currentSelection == 0) {
            return {};
        }
        return {true, currentSelection, -1};
    }
    const int found = SiteTypeOfAddress(text);
    const int listType = found >= 0 ? found : currentSelection;
    return {true, listType, listType == 0 ? QqSubTypeOfAddress(text) : -1};
}

}  // namespace mosaiq
