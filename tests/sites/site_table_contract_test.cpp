#include "core/job_state.h"
#include "core/picture_queue.h"
#include "sites/adapter_table.h"
#include "sites/album_list_dispatch.h"
#include "sites/input_normalization.h"
#include "sites/picture_list_dispatch.h"
#include "sites/recognition.h"
#include "sites/site_types.h"
#include "support/fixture_server.h"
#include "support/recording_frontend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace mosaiq {
namespace {

const QString kNotSupported = QString::fromUtf16(kNotSupportedYet);
constexpr int32_t kFirstSubType = 0;  // every family's sub-types start there

class SiteTable : public ::testing::Test {
  protected:
    void SetUp() override {
        state.frontend = &frontend;
        state.m_ready = 1;
        state.m_listState = ListState::Running;
    }
    // Runs the album-list dispatch as the job does after its step 7.
    bool ListAlbums(int listType, int subType, const QString& input) {
        state.m_listType = listType;
        state.m_subType = subType;
        bool singleItem = true;
        DispatchAlbumList(state, input, singleItem);
        return singleItem;
    }

    test::FixtureServer server;  // catches any request the table would make
    test::RecordingFrontend frontend;
    JobState state;
};

bool IsQq(SiteType type) {
    return type == SiteType::QqFamily;
}

// The plan of an example's row, with the sub-type box as recognition leaves it.
AlbumListPlan PlanOf(const SiteExample& example) {
    return PlanAlbumList(SiteTypeValue(example.listType),
                         IsQq(example.listType) ? example.subType : kNoSubType, example.address);
}

TEST_F(SiteTable, EveryExampleCarriesWhatTheTableMakesOfIt) {
    ASSERT_EQ(SiteTypeNames().size(), kSiteTypeCount);
    ASSERT_EQ(QqSubTypeNames().size(), 3);
    std::set<SiteType> typesWithExamples;
    for (const SiteExample& example : SiteExamples()) {
        SCOPED_TRACE(example.address.toStdString());
        typesWithExamples.insert(example.listType);
        // From any other selection the address leads to its type.
        const int other = SiteTypeValue(
            example.recognizedType == SiteType::Baidu ? SiteType::Netease : SiteType::Baidu);
        const RecognizedSite site = RecognizeSite(example.address, other);
        EXPECT_TRUE(site.changed);
        EXPECT_EQ(site.listType, SiteTypeValue(example.recognizedType));
        EXPECT_EQ(site.subType, IsQq(example.recognizedType) ? example.subType : kNoSubType);
        EXPECT_NE(site.listType, SiteTypeValue(SiteType::Zol));

        const AlbumListPlan plan = PlanOf(example);
        EXPECT_EQ(plan.input, example.input);
        std::vector<AlbumSource> sources;
        for (const AlbumCall& call : plan.calls) {
            sources.push_back(call.source);
        }
        EXPECT_EQ(sources, example.adapters);
        ASSERT_FALSE(plan.calls.empty());
        EXPECT_EQ(plan.calls.front().subType.value_or(kNoSubType), example.subType);
    }
    EXPECT_EQ(typesWithExamples.size(), size_t(kSiteTypeCount));
}

bool AdapterBuilt(const SiteExample& example) {
    const AlbumListPlan plan = PlanOf(example);
    return !plan.calls.empty() && AlbumListAdapterFor(plan.calls.front().source) != nullptr;
}

// The sources of one site family: once one is built, all are, so no row or fallback of the
// family is left out (the dispatch says "not supported yet" for a missing one, never skips it).
struct Family {
    const char* name;
    std::vector<AlbumSource> albums;
    std::vector<PictureSource> pictures;
};

std::vector<Family> Families() {
    using A = AlbumSource;
    using P = PictureSource;
    return {
        {"QQ Zone", {A::QzoneAlbums, A::QzoneAlbumsOld}, {P::QzonePhotos, P::QzonePhotosOld}},
        {"QQ groups", {A::QqGroupAlbums}, {P::QqGroupPhotos}},
        {"Tencent Weibo", {A::TweiboAlbums}, {P::TweiboPhotos}},
        {"Baidu and Tieba",
         {A::BaiduAlbums, A::TiebaForumAlbums, A::TiebaPhotoAlbums},
         {P::BaiduPhotos, P::TiebaForumPhotos, P::TiebaPhotoPhotos}},
        {"NetEase and Lofter",
         {A::NeteaseAlbums, A::NeteasePpAlbums, A::LofterPosts},
         {P::NeteasePhotos, P::NeteasePpPhotos, P::LofterPhotos}},
        {"Renren",
         {A::RenrenNewLayoutAlbums, A::RenrenClassicAlbums, A::RenrenPublicPageAlbums,
          A::RenrenZhanPosts},
         {P::RenrenNewLayoutPhotos, P::RenrenClassicPhotos, P::RenrenViewerWalk,
          P::RenrenZhanPhotos}},
        {"Sina",
         {A::SinaBlogAlbums, A::SinaBlogArticle, A::SinaWeiboAlbums},
         {P::SinaBlogAlbumPhotos, P::SinaBlogArticlePhotos, P::SinaWeiboPhotos}},
        {"56 and POCO", {A::Albums56, A::PocoAlbums}, {P::Photos56, P::PocoPhotos}},
        {"Yupoo", {A::YupooOldAlbums, A::YupooNewAlbums}, {P::YupooOldPhotos, P::YupooNewPhotos}},
        {"Topit", {A::TopitAlbums}, {P::TopitPhotos}},
        {"Duitang and Huaban",
         {A::DuitangAlbums, A::HuabanBoards},
         {P::DuitangPhotos, P::HuabanPhotos}},
        {"Szwego", {A::SzwegoAlbums}, {P::SzwegoPhotos}},
        {"51, ZOL, PCHome and moko",
         {A::Albums51, A::ZolAlbums, A::PchomeAlbums, A::MokoAlbums},
         {P::Photos51, P::ZolAlbumPhotos, P::PchomePhotos, P::MokoPhotos}},
        {"Babytree, PConline and Hupu",
         {A::BabytreeFirstForm, A::BabytreeSecondForm, A::PconlineAlbums, A::HupuAlbums},
         {P::BabytreeFirstFormPhotos, P::BabytreeSecondFormPhotos, P::PconlinePhotos,
          P::HupuPhotos}},
        {"1688, Alibaba and AliExpress",
         {A::Shop1688, A::AlibabaShop, A::AliexpressShop},
         {P::Photos1688, P::AlibabaPhotos, P::AliexpressPhotosFirstForm,
          P::AliexpressPhotosSecondForm}},
        {"JD and ZOL products", {A::JdProduct, A::ZolProduct}, {P::JdPhotos, P::ZolProductPhotos}},
        {"Taobao and Tmall", {A::TaobaoShop}, {P::TaobaoPhotos}},
        {"Instagram", {A::InstagramAlbums}, {P::InstagramPhotos}},
        {"Douban", {A::DoubanAlbums}, {P::DoubanPhotos}},
    };
}

TEST(SiteFamilies, EverySourceBelongsToOneFamilyBuiltWhole) {
    std::set<AlbumSource> albums;
    std::set<PictureSource> pictures;
    for (const Family& family : Families()) {
        SCOPED_TRACE(family.name);
        std::vector<bool> built;
        for (const AlbumSource source : family.albums) {
            EXPECT_TRUE(albums.insert(source).second) << "in two families";
            built.push_back(AlbumListAdapterFor(source) != nullptr);
        }
        for (const PictureSource source : family.pictures) {
            EXPECT_TRUE(pictures.insert(source).second) << "in two families";
            built.push_back(PictureListAdapterFor(source) != nullptr);
        }
        EXPECT_TRUE(std::all_of(built.begin(), built.end(), [&](bool b) { return b == built[0]; }))
            << "some of its sources are not built";
    }
    // Every source of the table is in a family.
    EXPECT_EQ(albums.size(), size_t(AlbumSource::TopitAlbums) + 1);
    EXPECT_EQ(pictures.size(), size_t(PictureSource::TopitPhotos) + 1);
}

TEST_F(SiteTable, BuildingTheTableMakesNoRequest) {
    for (const SiteExample& example : SiteExamples()) {
        RecognizeSite(example.address, SiteTypeValue(SiteType::QqFamily));
        EXPECT_FALSE(PlanOf(example).calls.empty()) << example.address.toStdString();
        AdapterBuilt(example);
    }
    for (int listType = 0; listType < kSiteTypeCount; ++listType) {
        PictureSourcesFor(listType, kFirstSubType);
    }
    EXPECT_TRUE(server.requests().empty());
}

// A row whose adapter is not built says so once, lists nothing and fetches nothing, not even
// the page some rows read first.
TEST_F(SiteTable, RowsWithoutAdapterSayNotSupportedAndMakeNoRequest) {
    for (const SiteExample& example : SiteExamples()) {
        if (AdapterBuilt(example)) {
            continue;
        }
        SCOPED_TRACE(example.address.toStdString());
        frontend.messages.clear();
        const bool singleItem =
            ListAlbums(SiteTypeValue(example.listType),
                       PlanOf(example).calls.front().subType.value_or(kNoSubType), example.address);
        EXPECT_EQ(frontend.messages, QStringList{kNotSupported});
        EXPECT_FALSE(singleItem);
        EXPECT_EQ(state.m_records.Size(), 0);
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(SiteTable, InputChecksComeBeforeTheAdapter) {
    ListAlbums(SiteTypeValue(SiteType::QqFamily), SubTypeValue(QqSubType::Zone),
               "https://user.qzone.qq.com/someone");
    EXPECT_EQ(frontend.messages, QStringList{QStringLiteral("请直接输入QQ号进行下载")});
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_TRUE(state.m_account.isEmpty());
}

TEST_F(SiteTable, PictureDispatchCoversEveryTypeAndRejectsOthers) {
    for (int listType = 0; listType < kSiteTypeCount; ++listType) {
        // Every value some family's sub-type takes, and none.
        for (int subType : {kNoSubType, 0, 1, 2, 3, 4, 5, 10}) {
            const auto sources = PictureSourcesFor(listType, subType);
            ASSERT_TRUE(sources.has_value()) << listType;
            EXPECT_FALSE(sources->empty());
        }
    }
    for (int listType = 0; listType < kSiteTypeCount; ++listType) {
        if (PictureListAdapterFor(PictureSourcesFor(listType, kFirstSubType)->front()) != nullptr) {
            continue;
        }
        frontend.messages.clear();
        state.m_listType = listType;
        state.m_subType = kFirstSubType;
        DispatchPictureList(state, 0);
        EXPECT_EQ(frontend.messages, QStringList{kNotSupported}) << listType;
        EXPECT_EQ(g_pictureQueue().Count(), 0);
    }

    frontend.messages.clear();
    for (int listType : {-1, kSiteTypeCount}) {
        state.m_listType = listType;
        DispatchPictureList(state, 0);
    }
    EXPECT_EQ(frontend.messages, QStringList({QStringLiteral("Error ListType Code."),
                                              QStringLiteral("Error ListType Code.")}));
    EXPECT_TRUE(server.requests().empty());
}

// The QQ Zone row: when neither album list finds anything, the empty-result message comes
// first, and the mood pseudo-album is added only while Ctrl is held, also after a stop.
TEST_F(SiteTable, QzoneMoodAlbumOnlyWithCtrlWhenNothingWasListed) {
    if (AlbumListAdapterFor(AlbumSource::QzoneAlbums) == nullptr) {
        GTEST_SKIP() << "QQ Zone adapters not built";
    }
    struct Case {
        bool ctrl;
        ListState listState;  // StopRequested: the user stopped the job before the adapters ran
    };
    for (const Case c : {Case{false, ListState::Running}, Case{true, ListState::Running},
                         Case{true, ListState::StopRequested}}) {
        const bool ctrl = c.ctrl;
        SCOPED_TRACE(testing::Message() << "ctrl " << ctrl << " state " << int(c.listState));
        state.m_records.Clear();
        frontend.messages.clear();
        frontend.ctrlDown = ctrl;
        state.m_listState = c.listState;
        ListAlbums(SiteTypeValue(SiteType::QqFamily), SubTypeValue(QqSubType::Zone),
                   "https://user.qzone.qq.com/123456789");
        ASSERT_FALSE(frontend.messages.isEmpty());
        EXPECT_TRUE(
            frontend.messages.last().startsWith(QStringLiteral("没有获取到相册，原因如下")));
        EXPECT_EQ(state.m_account, QString("123456789"));
        ASSERT_EQ(state.m_records.Size(), ctrl ? 1 : 0);
        if (ctrl) {
            EXPECT_EQ(state.m_records.At(0)->title, QStringLiteral("说说里的图片"));
            EXPECT_EQ(state.m_records.At(0)->coverUrl, QString("123"));
        }
    }
}

struct PictureCase {
    SiteType listType;
    int32_t subType;
    std::vector<PictureSource> sources;
};

TEST(PictureSourcesFor, SubTypesChooseTheAdapters) {
    using P = PictureSource;
    using enum SiteType;
    const PictureCase cases[] = {
        {QqFamily, SubTypeValue(QqSubType::Zone), {P::QzonePhotos, P::QzonePhotosOld}},
        {QqFamily, SubTypeValue(QqSubType::Group), {P::QqGroupPhotos}},
        {QqFamily, SubTypeValue(QqSubType::TencentWeibo), {P::TweiboPhotos}},
        {Baidu, SubTypeValue(BaiduSubType::Albums), {P::BaiduPhotos}},
        {Baidu, SubTypeValue(BaiduSubType::TiebaForum), {P::TiebaForumPhotos}},
        {Baidu, SubTypeValue(BaiduSubType::TiebaThread), {P::TiebaPhotoPhotos}},
        {Netease, SubTypeValue(NeteaseSubType::PhotoSite), {P::NeteasePpPhotos}},
        {Netease, kNoSubType, {P::NeteasePhotos}},
        {Renren,
         SubTypeValue(RenrenSubType::Albums),
         {P::RenrenNewLayoutPhotos, P::RenrenClassicPhotos, P::RenrenViewerWalk}},
        {Renren, SubTypeValue(RenrenSubType::Zhan), {P::RenrenZhanPhotos}},
        {Sina, SubTypeValue(SinaSubType::BlogAlbums), {P::SinaBlogAlbumPhotos}},
        {Sina, SubTypeValue(SinaSubType::BlogArticle), {P::SinaBlogArticlePhotos}},
        {Sina, SubTypeValue(SinaSubType::Weibo), {P::SinaWeiboPhotos}},
        {Yupoo, SubTypeValue(YupooSubType::NewSite), {P::YupooNewPhotos}},
        {Yupoo, kNoSubType, {P::YupooOldPhotos}},
        {Zol, SubTypeValue(ZolSubType::Product), {P::ZolProductPhotos}},
        {Zol, SubTypeValue(ZolSubType::Albums), {P::ZolAlbumPhotos}},
        {PchomeDouban, SubTypeValue(PchomeDoubanSubType::Douban), {P::DoubanPhotos}},
        {PchomeDouban, SubTypeValue(PchomeDoubanSubType::Pchome), {P::PchomePhotos}},
        {Shops, SubTypeValue(ShopSubType::Shop1688), {P::Photos1688}},
        {Shops, SubTypeValue(ShopSubType::Alibaba), {P::AlibabaPhotos}},
        {Shops, SubTypeValue(ShopSubType::AliexpressFirstForm), {P::AliexpressPhotosFirstForm}},
        {Shops, SubTypeValue(ShopSubType::AliexpressSecondForm), {P::AliexpressPhotosSecondForm}},
        {Shops, kNoSubType, {P::TaobaoPhotos}},
        {Babytree, SubTypeValue(BabytreeSubType::SecondForm), {P::BabytreeSecondFormPhotos}},
        {Babytree, SubTypeValue(BabytreeSubType::FirstForm), {P::BabytreeFirstFormPhotos}},
        {JdProduct, SubTypeValue(JdSubType::ZolProduct), {P::ZolProductPhotos}},
        {JdProduct, SubTypeValue(JdSubType::Jd), {P::JdPhotos}},
        {InstagramSzwego, SubTypeValue(InstagramSzwegoSubType::Szwego), {P::SzwegoPhotos}},
        {InstagramSzwego, SubTypeValue(InstagramSzwegoSubType::Instagram), {P::InstagramPhotos}},
        {DuitangHuaban, SubTypeValue(DuitangHuabanSubType::Huaban), {P::HuabanPhotos}},
        {DuitangHuaban, SubTypeValue(DuitangHuabanSubType::Duitang), {P::DuitangPhotos}},
    };
    for (const PictureCase& c : cases) {
        EXPECT_EQ(PictureSourcesFor(SiteTypeValue(c.listType), c.subType), c.sources)
            << SiteTypeValue(c.listType) << "/" << c.subType;
    }
}

}  // namespace
}  // namespace mosaiq
