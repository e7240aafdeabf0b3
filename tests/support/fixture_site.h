#pragma once

#include "core/album_record.h"
#include "jobs/site_dispatch.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace mosaiq::test {

// A site of the tests' own: lists the albums it is given and queues their picture
// addresses through the real sinks (AppendAndShow, AddPicture), so the jobs run end to end
// against the fixture server before any real adapter exists.
struct FixtureSite {
    struct Album {
        ST_PERLISTRECORD record;
        QStringList pictures;  // addresses; picture i is named "p<i+1>"
    };
    std::vector<Album> albums;
    QString account;          // m_account the list adapter sets
    bool singleItem = false;  // what the list adapter reports
    QString headerText;       // request headers of every picture
    // Called after each listed album (album number) and each queued picture (album index,
    // picture number): where tests click "stop".
    std::function<void(JobState&, int)> afterAlbum;
    std::function<void(JobState&, int, int)> afterPicture;

    int listCalls = 0;
    std::vector<int> pictureCalls;  // album indexes, in call order
};

// The site the fixture dispatch serves; reset by each test.
FixtureSite& g_fixtureSite();
SiteDispatch FixtureDispatch();

// A record with the given title and picture count, access flags 0.
ST_PERLISTRECORD FixtureRecord(const QString& title, int pictureCount = -1);

}  // namespace mosaiq::test
