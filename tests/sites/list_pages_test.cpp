#include "sites/list_pages.h"

#include <gtest/gtest.h>

namespace mosaiq::test {
namespace {

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
