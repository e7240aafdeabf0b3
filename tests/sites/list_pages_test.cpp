#include "sites/list_pages.h"

#include "core/job_state.h"
#include "web/text_helpers.h"

#include "support/recording_frontend.h"

#include <gtest/gtest.h>

namespace mosaiq::test {
namespace {

// Pieces "ref|title"; a piece without a ref (an advert, a layout block) holds no album.
TEST(ListAlbumPieces, ListsThePiecesThatHoldAnAlbumUntilTheJobStops) {
    RecordingFrontend frontend;
    JobState state;
    state.frontend = &frontend;
    state.m_ready = 1;
    const QStringList pieces{"/a|A", "|advert", "/b|B", "/c|C"};
    const auto read = [&](TextSource& piece, ST_PERLISTRECORD& album) {
        album.albumRef = piece.view().toString().section(u'|', 0, 0);
        album.title = piece.view().toString().section(u'|', 1);
        if (album.title == u"B") {
            state.m_listState = ListState::StopRequested;  // clicked while B was read
        }
    };
    EXPECT_FALSE(ListAlbumPieces(state, pieces, read));
    ASSERT_EQ(state.m_records.Size(), 2);
    EXPECT_EQ(state.m_records.At(0)->albumRef, QString("/a"));
    EXPECT_EQ(state.m_records.At(1)->title, QString("B"));

    state.m_records.Clear();
    state.m_listState = ListState::Running;
    EXPECT_TRUE(ListAlbumPieces(state, {"/a|A", "|advert"}, read));
    EXPECT_EQ(state.m_records.Size(), 1);
}

TEST(PageLink, JoinsPathsWithOneSlashAndKeepsWholeAddresses) {
    const struct {
        const char* link;
        const char* address;
    } cases[] = {
        {"/tester/photo/album/77", "http://home.51.com/tester/photo/album/77"},
        {"tester/photo/album/77", "http://home.51.com/tester/photo/album/77"},
        {"//tester/photo", "http://tester/photo"},  // protocol-relative: another host
        {"https://img.51.com/a.jpg", "https://img.51.com/a.jpg"},
        {"@evil.example/x", "http://home.51.com/@evil.example/x"},  // never the user part
        {"", "http://home.51.com/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageLink(u"http://home.51.com", QString::fromUtf8(c.link)),
                  QString::fromUtf8(c.address))
            << c.link;
    }
}

TEST(Section, MissingOrEmptyMarkersKeepThatEnd) {
    EXPECT_EQ(Section(u"a<x>b</y>c", u"<x>", u"</y>"), u"b");
    EXPECT_EQ(Section(u"a<x>b</y>c", u"<none>", u"</y>"), u"a<x>b");
    EXPECT_EQ(Section(u"a<x>b</y>c", u"<x>", u""), u"b</y>c");
    EXPECT_EQ(Section(u"a<x>b</y>c", u"", u"<none>"), u"a<x>b</y>c");
}

}  // namespace
}  // namespace mosaiq::test
