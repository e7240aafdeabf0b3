#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/site_types.h"
#include "sites/topit.h"

namespace mosaiq::test {
namespace {

const QString kUser = QStringLiteral("http://www.topit.me/user/12345");
const QString kAlbum = QStringLiteral("http://www.topit.me/album/1001");

class TopitTest : public SiteTest {};

TEST_F(TopitTest, UserListPagesUntilNoNextLink) {
    Serve(kUser + "/albums?p=1", Page("topit/user_page1.html"));
    Serve(kUser + "/albums?p=2", Page("topit/user_page2.html", true));

    FetchTopitAlbums(state, kUser);

    ExpectRequests({"GET http://www.topit.me/user/12345/albums?p=1",
                    "GET http://www.topit.me/user/12345/albums?p=2"});
    EXPECT_EQ(state.m_account, QStringLiteral("小林"));
    ASSERT_EQ(Titles(), (QStringList{"猫咪", "风景", "街拍"}));
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, kAlbum);
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://i.topit.me/c/1001.jpg"));
    EXPECT_EQ(first.pictureCount, 36);
    EXPECT_EQ(state.m_records.At(1)->pictureCount, 0);  // no count shown
    EXPECT_EQ(state.m_records.At(2)->pictureCount, 5);
}

TEST_F(TopitTest, OneAlbumTakesTheOwnerAndTheHeader) {
    Serve(kAlbum, Page("topit/album.html"));
    FetchTopitAlbums(state, kAlbum);
    ExpectRequests({"GET http://www.topit.me/album/1001"});
    EXPECT_EQ(state.m_account, QStringLiteral("小林"));
    ASSERT_EQ(Titles(), QStringList{"猫咪"});
    EXPECT_EQ(state.m_records.At(0)->albumRef, kAlbum);
    EXPECT_EQ(state.m_records.At(0)->pictureCount, -1);

    Serve(kAlbum, Broken());
    FetchTopitAlbums(state, kAlbum);
    EXPECT_EQ(state.m_records.Size(), 1);
}

TEST_F(TopitTest, PicturePagesQueueTheOriginalWithTheLargeSizeAsFallback) {
    ST_PERLISTRECORD album;
    album.title = QStringLiteral("猫咪");
    album.albumRef = kAlbum;
    const int index = AddRecord(album);
    Serve("http://www.topit.me/broad?type=album&id=1001&p=1", Page("topit/photos_page1.html"));
    Serve("http://www.topit.me/broad?type=album&id=1001&p=2", Page("topit/photos_page2.html"));

    FetchTopitPhotos(state, index);

    ExpectRequests({"GET http://www.topit.me/broad?type=album&id=1001&p=1",
                    "GET http://www.topit.me/broad?type=album&id=1001&p=2"});
    // Not the header's nor the footer's image, not the one without an address; a missing
    // title gives the alt text.
    EXPECT_EQ(Queued(),
              (QStringList{
                  "http://f1.topit.me/1/aa/com/o/1m.jpg\r\n"
                  "http://f1.topit.me/1/aa/com/l/1m.jpg <- 橘猫.jpg",
                  "http://f2.topit.me/2/bb/o.jpg\r\nhttp://f2.topit.me/2/bb/l.jpg <- 白猫.jpg",
                  "http://f3.topit.me/3/cc/com/o/3s.jpg\r\n"
                  "http://f3.topit.me/3/cc/com/l/3s.jpg <- 黑猫.jpg",
                  "http://f4.topit.me/4/dd/4o.jpg\r\nhttp://f4.topit.me/4/dd/4l.jpg <- 花猫.jpg"}));
}

TEST(TopitSizes, FirstMatchingRuleFromTheTopReplacesEveryOccurrence) {
    const struct {
        const char* address;
        const char* primary;
        const char* fallback;
    } cases[] = {
        {"http://a.topit.me/com/t/x.jpg", "http://a.topit.me/com/o/x.jpg",
         "http://a.topit.me/com/l/x.jpg"},
        {"http://a.topit.me/com/m/com/m/x.jpg", "http://a.topit.me/com/o/com/o/x.jpg",
         "http://a.topit.me/com/l/com/l/x.jpg"},
        {"http://a.topit.me/com/s/1s.jpg", "http://a.topit.me/com/o/1s.jpg",
         "http://a.topit.me/com/l/1s.jpg"},
        {"http://a.topit.me/1t.jpg", "http://a.topit.me/1o.jpg", "http://a.topit.me/1l.jpg"},
        {"http://a.topit.me/1s.jpg", "http://a.topit.me/1o.jpg", "http://a.topit.me/1l.jpg"},
        {"http://a.topit.me/1m.jpg", "http://a.topit.me/1o.jpg", "http://a.topit.me/1l.jpg"},
        {"http://a.topit.me/1.png", "http://a.topit.me/1.png", "http://a.topit.me/1.png"},
        // A marker counts from the second character on.
        {"t.jpg", "t.jpg", "t.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TopitSizes(c.address),
                  QString::fromUtf8(c.primary) + "\r\n" + QString::fromUtf8(c.fallback))
            << c.address;
    }
}

TEST_F(TopitTest, TypedPictureAddressListsItsAlbum) {
    Serve(kAlbum, Page("topit/album.html"));
    state.m_listType = SiteTypeValue(SiteType::Topit);
    bool single = true;
    DispatchAlbumList(state, kAlbum + "/item/777?from=home", single);
    EXPECT_EQ(Titles(), QStringList{"猫咪"});
    EXPECT_FALSE(single);

    // Nothing found: Topit shows no hint.
    state.m_records.Clear();
    DispatchAlbumList(state, "http://www.topit.me/user/999/albums?p=3", single);
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(server.requests()[1].target, QStringLiteral("/user/999/albums?p=1"));
    EXPECT_TRUE(frontend.messages.isEmpty());
}

}  // namespace
}  // namespace mosaiq::test
