// The main of UI test programs: the UI application on the offscreen platform (unless
// QT_QPA_PLATFORM names another), then every test.
#include "services/ui/app/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  kivui::Application app(argc, argv, "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
