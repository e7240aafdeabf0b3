#pragma once

#include "app/mosaiq_dlg.h"
#include "scripted_prompter.h"
#include "support/sandbox.h"

#include <QCoreApplication>

#include <memory>

namespace mosaiq::test {

// A started main window over the sandbox's data folder, answering through a script.
class WindowTest : public Sandbox {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Appends albums titled by `titles` as an adapter would, on the calling thread.
    void AddAlbums(const QStringList& titles);
    // Lets queued work of the window run.
    static void Settle() { QCoreApplication::processEvents(); }

    std::unique_ptr<CMosaiqDlg> window;
    ScriptedPrompter* prompter = nullptr;
};

}  // namespace mosaiq::test
