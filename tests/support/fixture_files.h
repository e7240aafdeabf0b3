#pragma once

#include <QByteArray>
#include <QString>

namespace mosaiq::test {

// The bytes of tests/fixtures/<name>; a missing file fails the test. A few markup names of the
// sites stand in the files as "{name}" words and are put in here: "{jd-gallery}" is the class
// of the picture strip on JD's product pages.
QByteArray FixtureBytes(const QString& name);

}  // namespace mosaiq::test
