#include "core/album_record.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

ST_PERLISTRECORD Album(const QString& title) {
    ST_PERLISTRECORD record;
    record.title = title;
    record.albumRef = QStringLiteral("ref-") + title;
    record.pictureCount = 3;
    record.index = 99;      // overwritten on insertion
    record.thumbIndex = 7;  // overwritten on insertion
    return record;
}

TEST(AlbumList, AppendSetsIndexAndResetsThumbnail) {
    AlbumList list;
    EXPECT_EQ(list.Append(Album(QStringLiteral("a"))), 1);
    EXPECT_EQ(list.Append(Album(QStringLiteral("b"))), 2);
    ASSERT_NE(list.At(1), nullptr);
    EXPECT_EQ(list.At(1)->index, 1);
    EXPECT_EQ(list.At(1)->thumbIndex, -1);
    EXPECT_EQ(list.At(1)->albumRef, QStringLiteral("ref-b"));
    EXPECT_EQ(list.At(2), nullptr);
    EXPECT_EQ(list.At(-1), nullptr);
}

TEST(AlbumList, TitlesAreMadeUniqueIgnoringCase) {
    AlbumList list;
    for (const char* title : {"Trip", "trip", "TRIP", "Trip (1)"}) {
        list.Append(Album(QString::fromLatin1(title)));
    }
    EXPECT_EQ(list.At(0)->title, QStringLiteral("Trip"));
    EXPECT_EQ(list.At(1)->title, QStringLiteral("trip (1)"));
    EXPECT_EQ(list.At(2)->title, QStringLiteral("TRIP (2)"));
    // "Trip (1)" is taken (as "trip (1)"), so the counter restarts on the new base.
    EXPECT_EQ(list.At(3)->title, QStringLiteral("Trip (1) (1)"));
}

TEST(AlbumList, TitlesThatOnlyDifferAfterTheCutStayDistinct) {
    AlbumList list;
    const QString common(120, QChar(u'相'));
    list.Append(Album(common + QStringLiteral("A")), 120);
    list.Append(Album(common + QStringLiteral("B")), 120);
    list.Append(Album(QStringLiteral("short")), 120);
    EXPECT_EQ(list.At(0)->title, common);
    EXPECT_EQ(list.At(1)->title, QString(116, QChar(u'相')) + QStringLiteral(" (1)"));
    EXPECT_EQ(list.At(2)->title, QStringLiteral("short"));
}

TEST(AlbumList, ClearForgetsRecordsAndTitles) {
    AlbumList list;
    list.Append(Album(QStringLiteral("x")));
    list.Clear();
    EXPECT_EQ(list.Size(), 0);
    list.Append(Album(QStringLiteral("x")));
    EXPECT_EQ(list.At(0)->title, QStringLiteral("x"));
    EXPECT_EQ(list.At(0)->index, 0);
}

}  // namespace
}  // namespace mosaiq
