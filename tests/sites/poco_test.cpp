#include "site_test.h"

#include "sites/album_list_dispatch.h"
#include "sites/poco.h"
#include "sites/site_types.h"

#include <QDir>

namespace mosaiq::test {
namespace {

const QString kWorksList = QStringLiteral("https://web-api.poco.cn/v1_1/space/get_user_works_list");
const QString kUserCenter =
    QStringLiteral("https://www.poco.cn/user/user_center?user_id=173256123");

// The bodies for user 173256123 at starts 0, 18 and 36: the parameter object, its sign code
// (MD5 of "lumi_" + parameters + "_zed", digits 5 to 23) and the site address, encoded.
#define POCO_BODY(start, sign)                                                                  \
    "  body: req=%7B%22version%22%3A%221.1.0%22%2C%22app_name%22%3A%22poco_photography_web%22"  \
    "%2C%22os_type%22%3A%22weixin%22%2C%22is_enc%22%3A0%2C%22env%22%3A%22prod%22%2C%22ctime%22" \
    "%3A1518794347184%2C%22param%22%3A%7B%22user_id%22%3Anull%2C%22visited_user_id%22%3A"       \
    "173256123%2C%22year%22%3A0%2C%22length%22%3A18%2C%22start%22%3A" start                     \
    "%7D%2C%22sign_"                                                                            \
    "code%22%3A%22" sign "%22%7D&host_port=https%3A%2F%2Fwww.poco.cn"

class PocoTest : public SiteTest {
  protected:
    void SetUp() override {
        SiteTest::SetUp();
        loggedHeaders << QStringLiteral("Content-Type");
    }
    int AddWork(const QString& title, const QString& ref) {
        ST_PERLISTRECORD work;
        work.title = title;
        work.albumRef = ref;
        return AddRecord(work);
    }
    QString DescriptionFile(const QString& album) const {
        return saveDir() + album + QDir::separator() + QStringLiteral("相册描述.txt");
    }
};

TEST_F(PocoTest, WorksListPostsSignedPagesOf18AndWaitsBetweenThem) {
    ServeInTurn(kWorksList, {Page("poco/works_page1.json"), Page("poco/works_page2.json", true),
                             Page("poco/works_end.json")});

    FetchPocoWorks(state, QStringLiteral("173256123"));

    ExpectRequests({"POST https://web-api.poco.cn/v1_1/space/get_user_works_list",
                    "  Referer: https://www.poco.cn/user/user_center?user_id=173256123",
                    "  Content-Type: application/x-www-form-urlencoded; charset=UTF-8",
                    POCO_BODY("0", "9c7d6e8152d035a3604"),
                    "POST https://web-api.poco.cn/v1_1/space/get_user_works_list",
                    "  Referer: https://www.poco.cn/user/user_center?user_id=173256123",
                    "  Content-Type: application/x-www-form-urlencoded; charset=UTF-8",
                    POCO_BODY("18", "116fe69288a4c7c73e0"),
                    "POST https://web-api.poco.cn/v1_1/space/get_user_works_list",
                    "  Referer: https://www.poco.cn/user/user_center?user_id=173256123",
                    "  Content-Type: application/x-www-form-urlencoded; charset=UTF-8",
                    POCO_BODY("36", "fec45921efb1c23162e")});
    // "has_more" in both spacings goes on; the pause grows with the start, none after the last.
    EXPECT_EQ(Pauses(), (std::vector<long long>{2000, 3000}));
    EXPECT_EQ(state.m_jobText1, QStringLiteral("173256123"));
    ASSERT_EQ(Titles(), (QStringList{"海边", "夜景 北京", "雪", "末"}));  // not the pinned one
    const ST_PERLISTRECORD& first = *state.m_records.At(0);
    EXPECT_EQ(first.albumRef, QStringLiteral("https://www.poco.cn/works/detail?works_id=5001"));
    EXPECT_EQ(first.pictureCount, 24);
    EXPECT_EQ(first.coverUrl, QStringLiteral("http://avatar.poco.cn/173256123.jpg"));
    EXPECT_EQ(state.m_records.At(1)->coverUrl,
              QStringLiteral("https://avatar.poco.cn/173256123.jpg"));
}

TEST_F(PocoTest, FailedPageEndsTheListWithWhatWasFound) {
    ServeInTurn(kWorksList, {Page("poco/works_page1.json"), Broken()});
    FetchPocoWorks(state, QStringLiteral("173256123"));
    EXPECT_EQ(Titles(), (QStringList{"海边", "夜景 北京"}));
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(PocoTest, WorkPageQueuesItsImagesAndWritesTheDescription) {
    state.m_jobText1 = QStringLiteral("173256123");
    const QString ref = QStringLiteral("https://www.poco.cn/works/detail?works_id=5001");
    Serve(ref, Page("poco/work.html"));

    FetchPocoPhotos(state, AddWork(QStringLiteral("海边"), ref));

    ExpectRequests({"GET https://www.poco.cn/works/detail?works_id=5001",
                    "  Referer: https://www.poco.cn/user/user_center?user_id=173256123"});
    // The empty address ends the images: the one after it is not queued.
    EXPECT_EQ(Queued(), (QStringList{"https://img.poco.cn/works/5001/1.jpg <- 海边.jpg",
                                     "https://img.poco.cn/works/5001/2.jpg <- 海边(1).jpg"}));
    QFile file(DescriptionFile(QStringLiteral("海边")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString expected = QStringLiteral("在海边 & 日落");
    EXPECT_EQ(file.readAll(),
              QByteArray("\xFF\xFE", 2) +
                  QByteArray(reinterpret_cast<const char*>(expected.utf16()), expected.size() * 2));
}

TEST_F(PocoTest, NoDescriptionFileWithoutDescriptionOrPictures) {
    state.m_jobText1 = QStringLiteral("173256123");
    const QString plain = QStringLiteral("https://www.poco.cn/works/detail?works_id=5002");
    const QString empty = QStringLiteral("https://www.poco.cn/works/detail?works_id=5003");
    Serve(plain, Page("poco/work_without_description.html"));
    Serve(empty, Page("poco/work_empty_first_image.html"));

    FetchPocoPhotos(state, AddWork(QStringLiteral("夜景"), plain));
    EXPECT_EQ(Queued(), QStringList{"https://img.poco.cn/works/5002/1.jpg <- 夜景.jpg"});
    EXPECT_FALSE(QFile::exists(DescriptionFile(QStringLiteral("夜景"))));

    g_pictureQueue().Clear();
    g_pictureQueue().folder = saveDir();
    FetchPocoPhotos(state, AddWork(QStringLiteral("雪"), empty));
    EXPECT_TRUE(Queued().isEmpty());
    EXPECT_FALSE(QFile::exists(saveDir() + QStringLiteral("相册描述.txt")));
    EXPECT_FALSE(QFile::exists(DescriptionFile(QStringLiteral("雪"))));
}

TEST_F(PocoTest, TypedAddressGivesTheNumericId) {
    ServeInTurn(kWorksList, {Page("poco/works_end.json")});
    state.m_listType = SiteTypeValue(SiteType::Poco);
    bool single = false;
    DispatchAlbumList(state, "https://www.poco.cn/user/user_center?user_id=173256123#works",
                      single);
    EXPECT_EQ(Titles(), QStringList{"末"});
    EXPECT_EQ(state.m_jobText1, QStringLiteral("173256123"));

    // A name is no id: the user is told, nothing is asked of the site.
    DispatchAlbumList(state, "https://www.poco.cn/someone", single);
    EXPECT_EQ(server.requests().size(), 1u);
    ASSERT_EQ(frontend.messages.size(), 1);
    EXPECT_TRUE(frontend.messages[0].startsWith(QStringLiteral("请输入POCO用户主页的网址")));
}

}  // namespace
}  // namespace mosaiq::test
