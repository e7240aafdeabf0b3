#include "site_test.h"

#include "core/settings_record.h"
#include "sites/album_list_dispatch.h"
#include "sites/site_types.h"
#include "sites/yupoo.h"

#include <QDir>

#include <algorithm>
#include <iterator>

namespace mosaiq::test {
namespace {

const QString kOldUser = QStringLiteral("https://www.yupoo.com/photos/someone/albums/");
const QString kOldAlbum = QStringLiteral("https://www.yupoo.com/photos/someone/albums/111/");
const QString kNewUser = QStringLiteral("http://someone.x.yupoo.com/albums");
const QString kNewAlbum = QStringLiteral("http://someone.x.yupoo.com/albums/101?uid=1");

QString Yp(const char* name) {
    return QStringLiteral("yupoo/") + QLatin1String(name);
}

class YupooTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        state.m_listType = SiteTypeValue(SiteType::Yupoo);
    }
    void BigPictures(bool big) {
        uint16_t& options = NamingOf(state.m_settings, SiteTypeValue(SiteType::Yupoo)).options;
        options = big ? (options | kOptionYupooBig) : (options & ~kOptionYupooBig);
    }
    int AddAlbum(const QString& title, const QString& ref, int flags = 0) {
        ST_PERLISTRECORD album;
        album.title = title;
        album.albumRef = ref;
        album.accessFlags = flags;
        return AddRecord(album);
    }
    QByteArray Description(const QString& album) const {
        QFile file(saveDir() + album + QDir::separator() + QStringLiteral("相册描述.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray Utf16File(const QString& text) {
        return QByteArray("\xFF\xFE", 2) +
               QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    }
    void ServeOldPhotos() {
        Serve(kOldAlbum + "page1/?style=detail", Page(Yp("old_photos_page1.html")));
        Serve(kOldAlbum + "page2/?style=detail", Page(Yp("old_photos_end.html")));
    }
};

TEST_F(YupooTest, OldUserListReadsTheAlbumBlocksOfEveryPage) {
    // Answers cut short are asked again, four seconds later, up to four times in all.
    ServeInTurn(kOldUser + "page1/", {Text("<html></html>"), Text("<html></html>"),
                                      Text("<html></html>"), Page(Yp("old_user_page1.html"))});
    Serve(kOldUser + "page2/", Page(Yp("old_user_page2.html")));
    Serve(kOldUser + "page3/", Page(Yp("old_user_end.html")));

    FetchYupooOldAlbums(state, kOldUser);

    ExpectRequests({"GET https://www.yupoo.com/photos/someone/albums/page1/",
                    "  Referer: https://www.yupoo.com/photos/someone/albums/page1/",
                    "GET https://www.yupoo.com/photos/someone/albums/page1/",
                    "  Referer: https://www.yupoo.com/photos/someone/albums/page1/",
                    "GET https://www.yupoo.com/photos/someone/albums/page1/",
                    "  Referer: https://www.yupoo.com/photos/someone/albums/page1/",
                    "GET https://www.yupoo.com/photos/someone/albums/page1/",
                    "  Referer: https://www.yupoo.com/photos/someone/albums/page1/",
                    "GET https://www.yupoo.com/photos/someone/albums/page2/",
                    "  Referer: https://www.yupoo.com/photos/someone/albums/page2/",
                    "GET https://www.yupoo.com/photos/someone/albums/page3/",
                    "  Referer: https://www.yupoo.com/photos/someone/albums/page3/"});
    EXPECT_EQ(Waits(), (std::vector<long long>{4000, 4000, 4000}));
    EXPECT_EQ(state.m_account, QStringLiteral("someone"));
    // Not the block before the list nor the one in the footer.
    ASSERT_EQ(Titles(), (QStringList{"春游", "私密", "秋天"}));
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, kOldAlbum);
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://pic.yupoo.com/someone/cover1/square.jpg"));
    EXPECT_EQ(first.pictureCount, 15);
    EXPECT_EQ(first.accessFlags, 0);
    const ST_PERLISTRECORD& locked = *state.m_records.At(1);
    EXPECT_EQ(locked.albumRef, QStringLiteral("http://www.yupoo.com/photos/someone/albums/222/"));
    EXPECT_EQ(locked.pictureCount, 4);
    EXPECT_EQ(locked.accessFlags, kAccessEncrypted);
    EXPECT_EQ(state.m_records.At(2)->pictureCount, 2);
}

TEST_F(YupooTest, OldAlbumLinksGetTheHostTheUserTyped) {
    const QString second = QStringLiteral("http://v.yupoo.com/photos/someone/albums/");
    Serve(second + "page1/", Page(Yp("old_user_page2.html")));
    Serve(second + "page2/", Page(Yp("old_user_end.html")));
    FetchYupooOldAlbums(state, second);
    ASSERT_EQ(state.m_records.Size(), 1);
    EXPECT_EQ(state.m_records.At(0)->albumRef,
              QStringLiteral("http://v.yupoo.com/photos/someone/albums/333/"));
}

TEST_F(YupooTest, OldOneAlbumPage) {
    Serve(kOldAlbum, Page(Yp("old_album.html")));
    FetchYupooOldAlbums(state, kOldAlbum + "?from=home");

    ExpectRequests({"GET https://www.yupoo.com/photos/someone/albums/111/",
                    "  Referer: https://www.yupoo.com"});
    EXPECT_EQ(state.m_account, QStringLiteral("someone"));
    ASSERT_EQ(Titles(), QStringList{"春游"});
    EXPECT_EQ(state.m_records.At(0)->albumRef, kOldAlbum);
    EXPECT_EQ(state.m_records.At(0)->pictureCount, 15);
    EXPECT_TRUE(state.m_records.At(0)->coverUrl.isEmpty());
}

TEST_F(YupooTest, OldOneAlbumWithAnOverlongTitleIsNoAlbum) {
    Serve(kOldAlbum, Text("<html><title>someone的相册</title><a>x的相册</a> /" +
                          QString(301, QChar(0x957F)).toUtf8() + "</div>(3张)</html>"));
    FetchYupooOldAlbums(state, kOldAlbum);
    EXPECT_EQ(state.m_records.Size(), 0);
}

TEST_F(YupooTest, OldBigPicturesNeedNoZoomPage) {
    BigPictures(true);
    ServeOldPhotos();
    const int index = AddAlbum(QStringLiteral("春游"), kOldAlbum);

    FetchYupooOldPhotos(state, index);

    ExpectRequests(
        {"GET https://www.yupoo.com/photos/someone/albums/111/page1/?style=detail",
         "  Referer: https://www.yupoo.com/photos/someone/albums/111/page1/?style=detail",
         "GET https://www.yupoo.com/photos/someone/albums/111/page2/?style=detail",
         "  Referer: https://www.yupoo.com/photos/someone/albums/111/page2/?style=detail"});
    const QString referer = QStringLiteral(" | Referer: ") + kOldAlbum;
    EXPECT_EQ(Queued(),
              (QStringList{"http://pic.yupoo.com/someone/p1/big.jpg <- 花.jpg" + referer,
                           "http://pic.yupoo.com/someone/p2/big.jpg <- 小河.jpg" + referer,
                           "http://pic.yupoo.com/someone/p3/big.jpg <- 春游.jpg" + referer}));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("https://www.yupoo.com/photos/someone/"));
    EXPECT_EQ(Description(QStringLiteral("春游")), Utf16File(QStringLiteral("春天的\r\n郊游")));
}

TEST_F(YupooTest, OldOriginalsComeFromTheZoomPagesUntilOneIsRefused) {
    BigPictures(false);
    ServeOldPhotos();
    const QString zoom = QStringLiteral("https://www.yupoo.com/photos/someone/%1/zoom/original/");
    Serve(zoom.arg("p1"), Page(Yp("zoom_p1.html")));
    Serve(zoom.arg("p2"), Page(Yp("zoom_p2.html")));
    Serve(zoom.arg("p3"), Page(Yp("zoom_refused.html")));
    const int index = AddAlbum(QStringLiteral("春游"), kOldAlbum);

    FetchYupooOldPhotos(state, index);

    ExpectRequests(
        {"GET https://www.yupoo.com/photos/someone/albums/111/page1/?style=detail",
         "  Referer: https://www.yupoo.com/photos/someone/albums/111/page1/?style=detail",
         "GET https://www.yupoo.com/photos/someone/p1/zoom/original/",
         "  Referer: https://www.yupoo.com/photos/someone/p1/zoom/original/",
         "GET https://www.yupoo.com/photos/someone/p2/zoom/original/",
         "  Referer: https://www.yupoo.com/photos/someone/p2/zoom/original/",
         "GET https://www.yupoo.com/photos/someone/p3/zoom/original/",
         "  Referer: https://www.yupoo.com/photos/someone/p3/zoom/original/"});
    const QString referer = QStringLiteral(" | Referer: ") + kOldAlbum;
    // A zoom page without an absolute original keeps the small picture.
    EXPECT_EQ(Queued(),
              (QStringList{"http://pic.yupoo.com/someone/p1/original.jpg <- 花.jpg" + referer,
                           "http://pic.yupoo.com/someone/p2/small.jpg <- 小河.jpg" + referer}));
    EXPECT_EQ(frontend.messages,
              QStringList{"请先在登录菜单里登录你的又拍帐号,登录时勾上下次自动登录"});
}

struct PasswordCase {
    const char* name;
    int flags;
    bool answer;
    bool unlocks;  // the page after the login holds the pictures
    int questions;
    int pagesFetched;  // the locked page, again after the login, then the end page
    int queued;
    int messages;
};

class YupooPasswordTest : public YupooTest, public ::testing::WithParamInterface<PasswordCase> {};

TEST_P(YupooPasswordTest, LockedAlbumAsksOnlyWhenMarkedAndLocked) {
    const PasswordCase& c = GetParam();
    BigPictures(true);
    frontend.answers = {c.answer};
    ServeInTurn(kOldAlbum + "page1/?style=detail",
                {Page(Yp("old_locked.html")),
                 Page(Yp(c.unlocks ? "old_photos_page1.html" : "old_locked.html"))});
    Serve(kOldAlbum + "page2/?style=detail", Page(Yp("old_photos_end.html")));

    FetchYupooOldPhotos(state, AddAlbum(QStringLiteral("春游"), kOldAlbum, c.flags));

    EXPECT_EQ(frontend.questions.size(), c.questions);
    if (c.questions > 0) {
        EXPECT_EQ(frontend.questions[0], QStringLiteral("加密相册,是否输入密码"));
    }
    EXPECT_EQ(frontend.logins, c.answer && c.questions > 0
                                   ? QStringList{kOldAlbum + "page1/?style=detail"}
                                   : QStringList{});
    EXPECT_EQ(int(server.requests().size()), c.pagesFetched);
    EXPECT_EQ(g_pictureQueue().Count(), c.queued);
    EXPECT_EQ(frontend.messages.size(), c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, YupooPasswordTest,
    ::testing::Values(PasswordCase{"No", kAccessEncrypted, false, true, 1, 1, 0, 0},
                      PasswordCase{"Yes", kAccessEncrypted, true, true, 1, 3, 3, 0},
                      // Still locked after the login window: said, nothing queued.
                      PasswordCase{"YesButStillLocked", kAccessEncrypted, true, false, 1, 2, 0, 1},
                      // Without the mark the form is not looked for: the page has no pictures.
                      PasswordCase{"NotMarked", 0, true, true, 0, 1, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(YupooTest, NewGalleryEndsWhereItStartsAgain) {
    Serve(kNewUser + "?tab=gallery&page=1", Page(Yp("new_gallery_page1.html")));
    Serve(kNewUser + "?tab=gallery&page=2", Page(Yp("new_gallery_page2.html")));

    FetchYupooNewAlbums(state, kNewUser);

    ExpectRequests({"GET http://someone.x.yupoo.com/albums?tab=gallery&page=1",
                    "  Referer: http://someone.x.yupoo.com/albums?tab=gallery&page=1",
                    "GET http://someone.x.yupoo.com/albums?tab=gallery&page=2",
                    "  Referer: http://someone.x.yupoo.com/albums?tab=gallery&page=2"});
    EXPECT_EQ(Waits(), std::vector<long long>{1000});
    EXPECT_EQ(state.m_account, QStringLiteral("someone的店"));
    ASSERT_EQ(Titles(), (QStringList{"春装", "加密", "夏装"}));
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, QStringLiteral("http://someone.x.yupoo.com/albums/101?uid=1"));
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://photo.yupoo.com/someone/c101/small.jpg"));
    EXPECT_EQ(first.pictureCount, 12);
    EXPECT_EQ(first.accessFlags, 0);
    const ST_PERLISTRECORD& locked = *state.m_records.At(1);
    EXPECT_EQ(locked.albumRef,
              QStringLiteral("https://x.yupoo.com/photos/someone/albums/102?uid=1"));
    EXPECT_EQ(locked.accessFlags, kAccessEncrypted);
    EXPECT_EQ(state.m_records.At(2)->albumRef,
              QStringLiteral("http://someone.x.yupoo.com/albums/103?uid=1"));
}

TEST_F(YupooTest, NewGalleryPageWithTheDisabledNextIsTheLast) {
    Serve("http://other.x.yupoo.com/albums?tab=gallery&page=1", Page(Yp("new_gallery_last.html")));
    FetchYupooNewAlbums(state, "http://other.x.yupoo.com/albums");
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(Titles(), QStringList{"唯一"});
    EXPECT_TRUE(Waits().empty());
}

TEST_F(YupooTest, NewOneAlbumPage) {
    Serve(kNewAlbum, Page(Yp("new_album.html")));
    FetchYupooNewAlbums(state, kNewAlbum + "&isSubCate=false");
    ExpectRequests({"GET http://someone.x.yupoo.com/albums/101?uid=1",
                    "  Referer: http://someone.x.yupoo.com/albums/101?uid=1&isSubCate=false"});
    EXPECT_EQ(Titles(), QStringList{"春装"});
    EXPECT_EQ(state.m_account, QStringLiteral("someone"));
    EXPECT_EQ(state.m_records.At(0)->albumRef, kNewAlbum);
    EXPECT_EQ(state.m_records.At(0)->pictureCount, -1);
}

TEST_F(YupooTest, NewPicturesAreOriginalsUnlessBigOnesAreWanted) {
    for (const bool big : {false, true}) {
        SCOPED_TRACE(big);
        g_pictureQueue().Clear();
        g_pictureQueue().folder = saveDir();
        server.ClearRequests();
        BigPictures(big);
        Serve(kNewAlbum + "&page=1&tab=min", Page(Yp("new_photos_page1.html")));
        Serve(kNewAlbum + "&page=2&tab=min", Page(Yp("new_photos_page2.html")));
        const int index =
            AddAlbum(big ? QStringLiteral("大图") : QStringLiteral("原图"), kNewAlbum);

        FetchYupooNewPhotos(state, index);

        ExpectRequests({"GET http://someone.x.yupoo.com/albums/101?uid=1&page=1&tab=min",
                        "  Referer: http://someone.x.yupoo.com/albums/101?uid=1&page=1&tab=min",
                        "GET http://someone.x.yupoo.com/albums/101?uid=1&page=2&tab=min",
                        "  Referer: http://someone.x.yupoo.com/albums/101?uid=1&page=2&tab=min"});
        const QString referer = QStringLiteral(" | Referer: ") + kNewAlbum;
        const QString first = big ? QStringLiteral("http://photo.yupoo.com/someone/a1/big.jpg")
                                  : QStringLiteral("http://photo.yupoo.com/someone/a1/origin.jpg");
        EXPECT_EQ(Queued(),
                  (QStringList{first + " <- 外套.jpg" + referer,
                               "http://photo.yupoo.com/someone/a2/big.jpg <- 裙子.jpg" + referer,
                               "http://photo.yupoo.com/someone/a3/big.jpg <- 鞋.jpg" + referer}));
        EXPECT_EQ(Description(state.m_records.At(index)->title),
                  Utf16File(QStringLiteral("春装\r\n新款")));
    }
}

// "?B" names the picture by the site's extra text: the new site gives an empty one, the old
// site none, so the code stays.
TEST_F(YupooTest, ExtraTextEscapeIsEmptiedOnlyForNewSiteAlbums) {
    BigPictures(true);
    NamingOf(state.m_settings, SiteTypeValue(SiteType::Yupoo)).picPrefix = QStringLiteral("X?BY-");
    Serve(kNewAlbum + "&page=1&tab=min", Page(Yp("new_photos_page2.html")));
    FetchYupooNewPhotos(state, AddAlbum(QStringLiteral("新"), kNewAlbum));
    ASSERT_EQ(g_pictureQueue().Count(), 1);
    EXPECT_EQ(g_pictureQueue().Row(0).fileName, QStringLiteral("XY-鞋.jpg"));

    g_pictureQueue().Clear();
    g_pictureQueue().folder = saveDir();
    ServeOldPhotos();
    FetchYupooOldPhotos(state, AddAlbum(QStringLiteral("旧"), kOldAlbum));
    ASSERT_EQ(g_pictureQueue().Count(), 3);
    EXPECT_EQ(g_pictureQueue().Row(0).fileName, QStringLiteral("XBY-花.jpg"));
}

TEST_F(YupooTest, OldAlbumOnTheSecondHostHasItsOwnPictureBlocks) {
    BigPictures(true);
    const QString album = QStringLiteral("http://v.yupoo.com/photos/someone/albums/333/");
    Serve(album + "page1/?style=detail",
          Text(Fixture(Yp("old_photos_page1.html"))
                   .replace("<td class=\"photo", "<td class=\"Photo")));
    Serve(album + "page2/?style=detail", Page(Yp("old_photos_end.html")));
    FetchYupooOldPhotos(state, AddAlbum(QStringLiteral("秋天"), album));
    EXPECT_EQ(g_pictureQueue().Count(), 3);
    EXPECT_EQ(state.m_jobText1, QStringLiteral("http://v.yupoo.com/photos/someone/"));
}

struct YupooRowCase {
    const char* name;
    const char* typed;
    const char* firstRequest;
    int subType;
};

class YupooRowTest : public YupooTest, public ::testing::WithParamInterface<YupooRowCase> {};

// The typed address reaches the right generation's first page; a site that answers nothing
// gets the row's hint.
TEST_P(YupooRowTest, TypedAddressReachesItsListAndEmptyListsGetTheHint) {
    const YupooRowCase& c = GetParam();
    state.m_subType = kNoSubType;
    bool single = true;
    DispatchAlbumList(state, QString::fromUtf8(c.typed), single);
    ASSERT_FALSE(server.requests().empty());
    const RecordedRequest& first = server.requests().front();
    EXPECT_EQ((first.tls ? "https://" : "http://") + first.host + first.target,
              QString::fromUtf8(c.firstRequest));
    EXPECT_EQ(state.m_subType.load(), c.subType);
    EXPECT_FALSE(single);
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(
        frontend.messages[0].startsWith(QStringLiteral("没有获取到相册，如果你输入的网址正确")));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, YupooRowTest,
    ::testing::Values(YupooRowCase{"PersonalDomain", "http://someone.yupoo.com",
                                   "https://www.yupoo.com/photos/someone/albums/page1/", -1},
                      YupooRowCase{"BareName", "someone",
                                   "https://www.yupoo.com/photos/someone/albums/page1/", -1},
                      YupooRowCase{"Collections",
                                   "https://www.yupoo.com/photos/someone/collections/page2/",
                                   "https://www.yupoo.com/photos/someone/albums/page1/", -1},
                      YupooRowCase{"OldAlbum", "http://someone.yupoo.com/albums/111",
                                   "https://www.yupoo.com/photos/someone/albums/111/", -1},
                      YupooRowCase{"NewGallery", "http://someone.x.yupoo.com/albums?tab=gallery",
                                   "http://someone.x.yupoo.com/albums?tab=gallery&page=1", 1},
                      YupooRowCase{"NewAlbum", "http://someone.x.yupoo.com/albums/101?uid=1",
                                   "http://someone.x.yupoo.com/albums/101?uid=1", 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mosaiq::test
