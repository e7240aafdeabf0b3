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

#include <set>

namespace mosaiq {
namespace {

const QString kNotSupported = QString::fromUtf16(kNotSupportedYet);

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

TEST_F(SiteTable, EveryTypeHasExamplesTheRecognitionAgreesWith) {
    ASSERT_EQ(SiteTypeNames().size(), kSiteTypeCount);
    ASSERT_EQ(QqSubTypeNames().size(), 3);
    std::set<int> typesWithExamples;
    for (const SiteExample& example : SiteExamples()) {
        SCOPED_TRACE(example.address.toStdString());
        typesWithExamples.insert(example.listType);
        // From any other selection the address leads to its type.
        const int other = example.recognizedType == 1 ? 2 : 1;
        const RecognizedSite site = RecognizeSite(example.address, other);
        EXPECT_TRUE(site.changed);
        EXPECT_EQ(site.listType, example.recognizedType);
        EXPECT_EQ(site.subType, example.subType);
        EXPECT_NE(site.listType, 9);
    }
    EXPECT_EQ(typesWithExamples.size(), size_t(kSiteTypeCount));
}

bool AdapterBuilt(const SiteExample& example) {
    const AlbumListPlan plan = PlanAlbumList(example.listType, example.subType, example.address);
    return !plan.calls.empty() && AlbumListAdapterFor(plan.calls.front().source) != nullptr;
}

TEST_F(SiteTable, BuildingTheTableMakesNoRequest) {
    for (const SiteExample& example : SiteExamples()) {
        RecognizeSite(example.address, 0);
        const AlbumListPlan plan =
            PlanAlbumList(example.listType, example.subType, example.address);
        EXPECT_FALSE(plan.calls.empty()) << example.address.toStdString();
        AdapterBuilt(example);
    }
    for (int listType = 0; listType < kSiteTypeCount; ++listType) {
        PictureSourcesFor(listType, 0);
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
        const bool singleItem = ListAlbums(example.listType, example.subType, example.address);
        EXPECT_EQ(frontend.messages, QStringList{kNotSupported});
        EXPECT_FALSE(singleItem);
        EXPECT_EQ(state.m_records.Size(), 0);
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(SiteTable, InputChecksComeBeforeTheAdapter) {
    ListAlbums(0, 0, "https://user.qzone.qq.com/someone");
    EXPECT_EQ(frontend.messages, QStringList{QStringLiteral("请直接输入QQ号进行下载")});
    EXPECT_EQ(state.m_records.Size(), 0);
    EXPECT_TRUE(state.m_account.isEmpty());
}

TEST_F(SiteTable, PictureDispatchCoversEveryTypeAndRejectsOthers) {
    for (int listType = 0; listType < kSiteTypeCount; ++listType) {
        for (int subType : {-1, 0, 1, 2, 3, 4, 5, 10}) {
            const auto sources = PictureSourcesFor(listType, subType);
            ASSERT_TRUE(sources.has_value()) << listType;
            EXPECT_FALSE(sources->empty());
        }
    }
    for (int listType = 0; listType < kSiteTypeCount; ++listType) {
        if (PictureListAdapterFor(PictureSourcesFor(listType, 0)->front()) != nullptr) {
            continue;
        }
        frontend.messages.clear();
        state.m_listType = listType;
        state.m_subType = 0;
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
        ListAlbums(0, 0, "https://user.qzone.qq.com/123456789");
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
    int listType;
    int subType;
    std::vector<PictureSource> sources;
};

TEST(PictureSourcesFor, SubTypesChooseTheAdapters) {
    using P = PictureSource;
    const PictureCase cases[] = {
        {0, 0, {P::QzonePhotos, P::QzonePhotosOld}},
        {0, 1, {P::QqGroupPhotos}},
        {0, 2, {P::TweiboPhotos}},
        {1, 0, {P::BaiduPhotos}},
        {1, 1, {P::TiebaForumPhotos}},
        {1, 2, {P::TiebaPhotoPhotos}},
        {2, 1, {P::NeteasePpPhotos}},
        {2, -1, {P::NeteasePhotos}},
        {3, 0, {P::RenrenNewLayoutPhotos, P::RenrenClassicPhotos, P::RenrenViewerWalk}},
        {3, 10, {P::RenrenZhanPhotos}},
        {4, 0, {P::SinaBlogAlbumPhotos}},
        {4, 1, {P::SinaBlogArticlePhotos}},
        {4, 2, {P::SinaWeiboPhotos}},
        {7, 1, {P::YupooNewPhotos}},
        {7, -1, {P::YupooOldPhotos}},
        {9, 1, {P::ZolProductPhotos}},
        {9, 0, {P::ZolAlbumPhotos}},
        {10, 1, {P::DoubanPhotos}},
        {10, 0, {P::PchomePhotos}},
        {11, 2, {P::Photos1688}},
        {11, 3, {P::AlibabaPhotos}},
        {11, 4, {P::AliexpressPhotosFirstForm}},
        {11, 5, {P::AliexpressPhotosSecondForm}},
        {11, -1, {P::TaobaoPhotos}},
        {13, 1, {P::BabytreeSecondFormPhotos}},
        {13, 0, {P::BabytreeFirstFormPhotos}},
        {16, 1, {P::ZolProductPhotos}},
        {16, 0, {P::JdPhotos}},
        {17, 1, {P::SzwegoPhotos}},
        {17, 0, {P::InstagramPhotos}},
        {18, 1, {P::HuabanPhotos}},
        {18, 0, {P::DuitangPhotos}},
    };
    for (const PictureCase& c : cases) {
        EXPECT_EQ(PictureSourcesFor(c.listType, c.subType), c.sources)
            << c.listType << "/" << c.subType;
    }
}

}  // namespace
}  // namespace mosaiq
