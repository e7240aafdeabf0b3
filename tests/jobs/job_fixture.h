#pragma once

#include "core/job_state.h"
#include "core/picture_queue.h"
#include "core/settings_record.h"
#include "core/site_type.h"
#include "support/fixture_server.h"
#include "support/fixture_site.h"
#include "support/recording_frontend.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>

namespace mosaiq::test {

inline const QString kPictureHost = QStringLiteral("img.fixture.test");

// A job state wired to a recording window, the fixture site and the fixture server.
class JobTest : public Sandbox {
  protected:
    void SetUp() override {
        Sandbox::SetUp();
        g_fixtureSite() = FixtureSite{};
        state.frontend = &frontend;
        state.m_dataDir = dataDir();
        state.m_ready = 1;
        LoadSettings(state.m_settings, dataDir());
        SetThreads(5);
        frontend.savePath = saveDir();
        frontend.input = QStringLiteral("12345");
        g_pictureQueue().Clear();
        g_pictureQueue().progressWindow = nullptr;
    }

    void SetThreads(int threads) {
        SlotOf(state.m_settings, SiteTypeValue(SiteType::QqFamily)).threadCount = uint16_t(threads);
        SlotOf(state.m_settings, SiteTypeValue(SiteType::QqFamily)).timeoutSec = 10;
    }
    uint16_t& Options() {
        return NamingOf(state.m_settings, SiteTypeValue(SiteType::QqFamily)).options;
    }

    // An album of `count` pictures served at /<title>/<i>.jpg with `body`.
    void AddAlbum(const QString& title, int count, const QByteArray& body = "JPEGDATA") {
        FixtureSite::Album album{FixtureRecord(title, count), {}};
        for (int i = 1; i <= count; ++i) {
            const QString path = QStringLiteral("/%1/%2.jpg").arg(title).arg(i);
            Reply reply;
            reply.body = body;
            server.Route(kPictureHost, path, reply);
            album.pictures.append(QStringLiteral("http://") + kPictureHost + path);
        }
        g_fixtureSite().albums.push_back(album);
    }

    // Lists the fixture albums as the get-list command does, on this thread.
    void ListAlbums() {
        for (const FixtureSite::Album& album : g_fixtureSite().albums) {
            state.m_records.Append(album.record);
        }
        frontend.selected.clear();
        for (int i = 0; i < state.m_records.Size(); ++i) {
            frontend.selected.push_back(i);
        }
    }

    QString AlbumFolder(const QString& title) const {
        return saveDir() + title + QDir::separator();
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    FixtureServer server;
    RecordingFrontend frontend;
    JobState state;
};

}  // namespace mosaiq::test
