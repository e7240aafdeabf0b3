// The suite's QApplication exists before the first test runs, whichever runs first.
#include "app/gui_application.h"

#include <gtest/gtest.h>

namespace {

class GuiApplication : public ::testing::Environment {
  public:
    void SetUp() override { mosaiq::test::EnsureGuiApplication(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiApplication);

}  // namespace
