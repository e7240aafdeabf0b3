#pragma once

#include <cstdint>

namespace mosaiq {

// ListType (m_listType): the position of a site's entry in the site-type box.
enum class SiteType : int32_t {
    QqFamily = 0,
    Baidu = 1,
    Netease = 2,
    Renren = 3,
    Sina = 4,
    Site56 = 5,
    Poco = 6,
    Yupoo = 7,
    Site51 = 8,
    Zol = 9,
    PchomeDouban = 10,
    Shops = 11,
    Moko = 12,
    Babytree = 13,
    Pconline = 14,
    Hupu = 15,
    JdProduct = 16,
    InstagramSzwego = 17,
    DuitangHuaban = 18,
    Lofter = 19,
    Topit = 20,
};
inline constexpr int kSiteTypeCount = 21;

// m_listType holds the value of a SiteType.
constexpr int32_t SiteTypeValue(SiteType type) {
    return static_cast<int32_t>(type);
}

// m_subType before a row or the user chose one.
inline constexpr int32_t kNoSubType = -1;

// True when `value` names a site type (a value from settings or a command line may not).
constexpr bool IsSiteTypeValue(int32_t value) {
    return value >= SiteTypeValue(SiteType::QqFamily) && value <= SiteTypeValue(SiteType::Topit);
}

}  // namespace mosaiq
