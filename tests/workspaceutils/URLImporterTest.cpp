// Import from URL against a loopback server: the download shows in the progress panel,
// whose own buttons pause, resume and cancel it; bad URLs are refused with the reason.
#include "workspace/WorkspaceTestSupport.h"

#include "http/HTTPDownloadManager.h"
#include "http/HTTPDownloadStream.h"
#include "services/ui/progress/ProgressCategoryContainerView.h"
#include "services/ui/testing/ScriptedAnswers.h"
#include "sharedui/ProgressPanel.h"
#include "support/TestHttpServer.h"
#include "support/Wait.h"
#include "workspaceutils/URLImporter.h"

#include <filesystem>
#include <unistd.h>

using namespace kivtest;
using kivui::utility::ProgressItem;
using kivworkspace::sharedui::ProgressPanel;
using kivworkspace::workspaceutils::URLImporter;

namespace {

constexpr std::size_t kSize = 4u << 20;
constexpr unsigned kChunk = 128u << 10;

struct ImportFromURL : WorkspaceFixture {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kiv-import-" + std::to_string(::getpid())) / "Media";
  std::atomic<int> delayMs{25};
  std::atomic<int> ranges{0};
  TestHttpServer server{[this](const HttpRequest& r) {
    HttpReply reply;
    const auto range = r.headers.find("range");
    const auto [a, b] = range == r.headers.end() ? std::pair<std::uint64_t, std::uint64_t>{0, kSize - 1}
                                                 : TestHttpServer::ParseRange(range->second);
    if (b > 0) {
      ++ranges;
      std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    }
    reply.status = 206;
    reply.headers = {{"Content-Range", "bytes " + std::to_string(a) + "-" + std::to_string(b) + "/" + std::to_string(kSize)}};
    reply.body = TestHttpServer::DeterministicBytes(a, std::size_t(b - a + 1));
    return reply;
  }};
  std::unique_ptr<URLImporter> importer = std::make_unique<URLImporter>(folder, 2, kChunk);
  ProgressPanel* panel = nullptr;

  void SetUp() override {
    WorkspaceFixture::SetUp();
    workspace->RegisterTabCreator(std::make_unique<ProgressPanel::TabCreator>());
    panel = dynamic_cast<ProgressPanel*>(FrameWith({ProgressPanel::kTabType})->GetTabPanel(0).get());
  }
  void TearDown() override {
    importer.reset();
    kivui::utility::ProgressCategoryContainer::Get().RemoveDoneJobs();
    std::filesystem::remove_all(folder.parent_path());
    WorkspaceFixture::TearDown();
  }

  boost::shared_ptr<kivworkspace::http::HTTPDownloadStream> AskFor(const std::string& url) {
    auto answers = kivui::testing::ScriptedAnswers::Install();
    answers->Text(url);
    return importer->AskAndImport();
  }
  // Clicks a button of the item's row in the panel.
  void Click(const boost::intrusive_ptr<ProgressItem>& item, bool cancel) {
    auto& view = panel->GetView();
    view.Refresh();
    for (int row = 0; row < view.GetShownItemCount(); ++row) {
      if (view.GetShownItem(row) != item) continue;
      const kivcore::RectF r = cancel ? view.GetCancelButtonRect(row) : view.GetPauseButtonRect(row);
      return kivui::testing::ClickNode(view, {r.left + r.width / 2, r.top + r.height / 2});
    }
    ADD_FAILURE() << "the item is not shown";
  }
  static bool WaitForState(const boost::intrusive_ptr<ProgressItem>& item, ProgressItem::ProgressState state) {
    return kivui::testing::WaitUntil([&] { return item->GetState() == state; }, 20000);
  }
};

TEST_F(ImportFromURL, TheProgressPanelPausesResumesAndCancelsTheDownload) {
  const auto stream = AskFor(server.Url("/clips/take.mov?token=1"));
  ASSERT_TRUE(stream);
  const auto item = stream->GetProgressItem();
  ASSERT_TRUE(item);
  EXPECT_EQ(item->GetName(), u"take.mov");

  ASSERT_TRUE(kivui::testing::WaitUntil([&] { return ranges >= 4; }, 20000));
  Click(item, false);
  ASSERT_TRUE(WaitForState(item, ProgressItem::kPaused));
  ASSERT_EQ(importer->GetManager().GetPausedDownloads().size(), 1u);
  kivui::testing::ProcessEvents(150);
  const int whilePaused = ranges;
  kivui::testing::ProcessEvents(200);
  EXPECT_EQ(ranges, whilePaused) << "nothing is fetched while paused";
  EXPECT_LT(whilePaused, int(kSize / kChunk));

  delayMs = 0;
  Click(item, false);
  ASSERT_TRUE(WaitForState(item, ProgressItem::kCompleted));
  EXPECT_TRUE(Slurp(folder / "take.mov") == TestHttpServer::DeterministicBytes(0, kSize));

  // The same name again is numbered; this one is cancelled from the panel.
  delayMs = 25;
  const auto second = AskFor(server.Url("/clips/take.mov"));
  ASSERT_TRUE(second);
  ASSERT_TRUE(kivui::testing::WaitUntil([&] { return ranges >= whilePaused + int(kSize / kChunk) + 2; }, 20000));
  Click(second->GetProgressItem(), true);
  ASSERT_TRUE(WaitForState(second->GetProgressItem(), ProgressItem::kEnded));
  EXPECT_EQ(second->GetProgressItem()->GetName(), u"take-1.mov");
  ASSERT_TRUE(kivui::testing::WaitUntil([&] { return importer->GetManager().GetActiveDownloads().empty(); }, 20000));
  EXPECT_FALSE(std::filesystem::exists(folder / "take-1.mov"));
  EXPECT_TRUE(Slurp(folder / "take.mov") == TestHttpServer::DeterministicBytes(0, kSize)) << "the first file is untouched";
}

// An importer that goes with a download paused leaves no partial file in the folder.
TEST_F(ImportFromURL, ClosingDropsPausedImportsWithTheirPartialFiles) {
  const auto stream = AskFor(server.Url("/take.mov"));
  ASSERT_TRUE(stream);
  const auto item = stream->GetProgressItem();  // a pause hands it to the paused download
  ASSERT_TRUE(kivui::testing::WaitUntil([&] { return ranges >= 3; }, 20000));
  Click(item, false);
  ASSERT_TRUE(WaitForState(item, ProgressItem::kPaused));
  ASSERT_TRUE(std::filesystem::exists(folder / "take.mov.download.bin"));
  importer.reset();
  EXPECT_TRUE(std::filesystem::is_empty(folder)) << "nothing is left half-imported";
}

TEST_F(ImportFromURL, RefusesWhatCannotBeImportedAndSaysWhy) {
  {
    auto answers = kivui::testing::ScriptedAnswers::Install();
    answers->Text("ftp://127.0.0.1/take.mov").Accept();
    EXPECT_FALSE(importer->AskAndImport());
    ASSERT_EQ(answers->GetAsked().size(), 2u);
    EXPECT_EQ(answers->GetAsked().back().message, "Cannot import ftp://127.0.0.1/take.mov: unsupported scheme 'ftp'.");
  }
  {
    auto answers = kivui::testing::ScriptedAnswers::Install();
    answers->Cancel();
    EXPECT_FALSE(importer->AskAndImport()) << "cancelled";
  }
  // A folder where a file stands.
  std::filesystem::create_directories(folder.parent_path());
  std::ofstream(folder) << "not a folder";
  EXPECT_THROW(importer->Import(server.Url("/take.mov")), std::invalid_argument);
  EXPECT_TRUE(importer->GetManager().GetActiveDownloads().empty());
}

}  // namespace
