#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/site56.h"
#include "sites/site_types.h"

namespace mosaiq::test {
namespace {

const QString kIndex =
    QStringLiteral("https://www.56.com/photo/album/index.php?user=someone&perPage=20");

class Site56Test : public SiteTest {
  protected:
    void ServeAlbums() {
        Serve(kIndex + "&page=1", Page("site56/albums_page1.html"));
        Serve(kIndex + "&page=2", Page("site56/albums_page2.html", true));
    }
};

TEST_F(Site56Test, AlbumListTakesTitledAlbumsOfTheListUntilNoNextLink) {
    ServeAlbums();
    Fetch56Albums(state, kIndex);

    ExpectRequests({"GET https://www.56.com/photo/album/index.php?user=someone&perPage=20&page=1",
                    "GET https://www.56.com/photo/album/index.php?user=someone&perPage=20&page=2"});
    ASSERT_EQ(Titles(), (QStringList{"海边旅行", "毕业照", "最后一个"}));
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, QStringLiteral("1001"));
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://img.56.com/cover/1001.jpg"));
    EXPECT_EQ(first.pictureCount, 12);  // the count after the title, not the cover's width
    EXPECT_EQ(first.accessFlags, 0);
    EXPECT_EQ(state.m_records.At(1)->albumRef, QStringLiteral("1003"));
    EXPECT_EQ(state.m_records.At(1)->pictureCount, 7);
    EXPECT_EQ(state.m_records.At(2)->pictureCount, 0);
}

TEST_F(Site56Test, StopAfterAnAlbumFetchesNoFurtherPage) {
    ServeAlbums();
    state.m_listState = ListState::StopRequested;
    Fetch56Albums(state, kIndex);
    ExpectRequests({});

    state.m_listState = ListState::Running;
    Serve(kIndex + "&page=2", Broken());
    Fetch56Albums(state, kIndex);
    EXPECT_EQ(Titles(), (QStringList{"海边旅行", "毕业照"}));  // page 1 stays
}

TEST_F(Site56Test, PictureListDescribesByLabelOrAlbumTitle) {
    ST_PERLISTRECORD album;
    album.title = QStringLiteral("海边旅行");
    album.albumRef = QStringLiteral("1001");
    const int index = AddRecord(album);
    const QString pages = QStringLiteral("https://www.56.com/photo/album/?do=Plist&did=1001&page=");
    Serve(pages + "1", Page("site56/photos_page1.html"));
    Serve(pages + "2", Page("site56/photos_page2.html"));

    Fetch56Photos(state, index);

    ExpectRequests({"GET https://www.56.com/photo/album/?do=Plist&did=1001&page=1",
                    "GET https://www.56.com/photo/album/?do=Plist&did=1001&page=2"});
    EXPECT_EQ(
        Queued(),
        (QStringList{"http://img.56.com/photo/a1.jpg <- 日落 时分.jpg | Referer: " + pages + "1",
                     "http://img.56.com/photo/a2.jpg <- 海边旅行.jpg | Referer: " + pages + "1",
                     "http://img.56.com/photo/a3.jpg <- 第二页.jpg | Referer: " + pages + "2"}));
}

TEST_F(Site56Test, TypedAddressListsTheUsersIndex) {
    ServeAlbums();
    state.m_listType = SiteTypeValue(SiteType::Site56);
    bool single = true;
    DispatchAlbumList(state, "http://www.56.com/photo/album/index.php?user=someone&page=3", single);
    EXPECT_EQ(state.m_account, QStringLiteral("someone"));
    EXPECT_EQ(state.m_records.Size(), 3);
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_FALSE(single);
    EXPECT_TRUE(frontend.messages.isEmpty());
}

}  // namespace
}  // namespace mosaiq::test
