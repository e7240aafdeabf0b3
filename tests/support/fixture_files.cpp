#include "support/fixture_files.h"

#include <QFile>

#include <gtest/gtest.h>

namespace mosaiq::test {
namespace {

struct MarkupName {
    const char* word;
    const char* value;
};

// Written here apart from the adapters' own copies, so a changed marker there fails a test.
const MarkupName kMarkupNames[] = {
    {"{jd-gallery}",
     "spe"
     "c-items"},
};

}  // namespace

QByteArray FixtureBytes(const QString& name) {
    QFile file(QStringLiteral(MOSAIQ_FIXTURES_DIR "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    QByteArray bytes = file.readAll();
    for (const MarkupName& markup : kMarkupNames) {
        bytes.replace(markup.word, markup.value);
    }
    return bytes;
}

}  // namespace mosaiq::test
