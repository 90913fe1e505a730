// The main of UI test programs: the UI application on the offscreen platform (unless
// QT_QPA_PLATFORM names another), then every test. After each test, nothing the test made
// may be left: no native window of a node (a workspace window, an overlay, a drag cursor)
// and no mouse capture. CTest runs each test in a process of its own, so a test that leaves
// something behind fails through the exit status, with what was left printed.
#include "services/ui/app/Application.h"
#include "services/ui/testing/Input.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class NothingLeftBehind : public ::testing::EmptyTestEventListener {
 public:
  void OnTestEnd(const ::testing::TestInfo& test) override {
    for (const std::string& line : kivui::testing::LeftBehind()) {
      std::fprintf(stderr, "%s.%s left behind %s\n", test.test_suite_name(), test.name(), line.c_str());
      failed_ = true;
    }
  }
  bool Failed() const { return failed_; }

 private:
  bool failed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  kivui::Application app(argc, argv, "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  auto* guard = new NothingLeftBehind;  // the listener list owns it
  ::testing::UnitTest::GetInstance()->listeners().Append(guard);
  const int result = RUN_ALL_TESTS();
  return result != 0 || guard->Failed() ? 1 : result;
}
