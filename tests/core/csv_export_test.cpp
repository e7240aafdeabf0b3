#include "core/csv_export.h"

#include "web/codepage.h"

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

struct FieldCase {
    const char* text;
    const char* field;
};

class CsvFieldEscaping : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CsvFieldEscaping, KeepsOneFieldOnOneLine) {
    EXPECT_EQ(CsvField(QString::fromUtf8(GetParam().text)), QString::fromUtf8(GetParam().field));
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvFieldEscaping,
                         ::testing::Values(FieldCase{"a,b", "a','b"},
                                           FieldCase{"say \"hi\"", "say \"\"hi\"\""},
                                           FieldCase{"it's", "its"},
                                           // quotes are dropped before commas are wrapped
                                           FieldCase{"',", "','"},
                                           FieldCase{"two\r\nlines", "two  lines"},
                                           FieldCase{"", ""}));

std::vector<CsvRow> ThreeAlbums() {
    return {
        {{"0001", "春天,花", "  12", "加密相册", "", ""}, "https://a.example/1"},
        {{"0002", "say \"x\"", "未知", "", "", ""}, "https://a.example/2?a=1,b=2"},
        {{"0003", "O'Neil", "   3", "好友可见", "", ""}, "https://a.example/3"},
    };
}

TEST(AlbumTableCsv, WritesEveryCellAndOptionalAddressInGbk) {
    const char* withAddresses =
        "0001,春天','花,  12,加密相册,,,https://a.example/1,\r\n"
        "0002,say \"\"x\"\",未知,,,,https://a.example/2?a=1','b=2,\r\n"
        "0003,ONeil,   3,好友可见,,,https://a.example/3,\r\n";
    const char* withoutAddresses =
        "0001,春天','花,  12,加密相册,,,\r\n"
        "0002,say \"\"x\"\",未知,,,,\r\n"
        "0003,ONeil,   3,好友可见,,,\r\n";
    const QByteArray csv = AlbumTableCsv(ThreeAlbums(), true);
    EXPECT_EQ(csv, TextToGbk(QString::fromUtf8(withAddresses)));
    EXPECT_EQ(AlbumTableCsv(ThreeAlbums(), false), TextToGbk(QString::fromUtf8(withoutAddresses)));
    // "春天" in GBK, straight after the first field: no byte-order mark, no UTF-8.
    EXPECT_EQ(csv.left(9), QByteArray("0001,\xB4\xBA\xCC\xEC", 9));
}

}  // namespace
}  // namespace mosaiq
