#include "window_fixture.h"

#include "core/album_sink.h"

namespace mosaiq::test {

void WindowTest::SetUp() {
    Sandbox::SetUp();
    window = std::make_unique<CMosaiqDlg>();
    auto scripted = std::make_unique<ScriptedPrompter>();
    prompter = scripted.get();
    window->SetPrompter(std::move(scripted));
    window->LoadStartUpState(dataDir(), dataDir());
    window->FinishStartUp();
}

void WindowTest::TearDown() {
    window.reset();
    Sandbox::TearDown();
}

void WindowTest::AddAlbums(const QStringList& titles) {
    for (const QString& title : titles) {
        ST_PERLISTRECORD record;
        record.title = title;
        record.albumRef = QStringLiteral("https://album.example/%1").arg(title.size());
        record.pictureCount = int32_t(title.size());
        AppendAndShow(window->state(), record);
    }
    Settle();
}

}  // namespace mosaiq::test
