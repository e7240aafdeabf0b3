#pragma once

#include "core/site_type.h"
#include "sites/adapter_table.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace mosaiq {

// The sub-types (m_subType) of each family: which of its sources the input named.
enum class QqSubType : int32_t { Zone = 0, Group = 1, TencentWeibo = 2 };
enum class BaiduSubType : int32_t { Albums = 0, TiebaForum = 1, TiebaThread = 2 };
enum class NeteaseSubType : int32_t { Albums = 0, PhotoSite = 1 };
enum class RenrenSubType : int32_t { Albums = 0, Zhan = 10 };
enum class SinaSubType : int32_t { BlogAlbums = 0, BlogArticle = 1, Weibo = 2 };
enum class YupooSubType : int32_t { OldSite = 0, NewSite = 1 };
enum class ZolSubType : int32_t { Albums = 0, Product = 1 };
enum class PchomeDoubanSubType : int32_t { Pchome = 0, Douban = 1 };
enum class ShopSubType : int32_t {
    Taobao = 0,
    Shop1688 = 2,
    Alibaba = 3,
    AliexpressFirstForm = 4,
    AliexpressSecondForm = 5,
};
enum class BabytreeSubType : int32_t { FirstForm = 0, SecondForm = 1 };
enum class JdSubType : int32_t { Jd = 0, ZolProduct = 1 };
enum class InstagramSzwegoSubType : int32_t { Instagram = 0, Szwego = 1 };
enum class DuitangHuabanSubType : int32_t { Duitang = 0, Huaban = 1 };

// m_subType holds the value of one family's enum.
template <typename SubType>
constexpr int32_t SubTypeValue(SubType subType) {
    return static_cast<int32_t>(subType);
}

// What the jobs need of a site type besides its adapters.
struct SiteProperties {
    // The extension the format fix keeps for files whose bytes show no picture format: the
    // site serves videos among its pictures. Empty for the others.
    QString videoExtension;
};
SiteProperties PropertiesOf(int32_t listType);

// True when a short body of a picture whose fallback address is `fallback` is the picture
// host's stand-in for a missing picture, not the picture: the worker fetches the fallback.
bool ShortBodyMeansMissing(QStringView fallback, int64_t bodyLength);

// Display names of the site-type box, in ListType order.
const QStringList& SiteTypeNames();
// Entries of the QQ family's sub-type box.
const QStringList& QqSubTypeNames();

// An address of a site type and what the table makes of it. ZOL albums are reached only by
// choosing the type: their address is recognised as the product type.
struct SiteExample {
    SiteType listType;
    QString address;
    SiteType recognizedType;
    // The QQ family's sub-type box entry recognition picks; else the sub-type the row's first
    // call stores (kNoSubType when it leaves m_subType as it is).
    int32_t subType;
    QString input;                      // what the first adapter receives (or its row's page)
    std::vector<AlbumSource> adapters;  // the row's calls, in order
};

// Example addresses of every site type, in ListType order.
const std::vector<SiteExample>& SiteExamples();

}  // namespace mosaiq
