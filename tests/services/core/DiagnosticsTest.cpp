#include "services/core/Console.h"
#include "services/core/DebugDatabase.h"
#include "services/core/ThreadID.h"
#include "services/core/Trace.h"

#include <gtest/gtest.h>

using namespace kivcore;

TEST(Trace, LevelsFilterAndLinesHaveTheirFormat) {
  std::vector<std::string> lines;
  debug::SetTraceSink([&](const std::string& line) { lines.push_back(line); });
  debug::SetTraceLevel("DownloadManager", 3);
  debug::Trace("DownloadManager", 1, "error line");
  debug::Trace("DownloadManager", 5, "progress line");  // above the channel's level
  debug::Trace("Other", 1, "other channel is off");
  EXPECT_TRUE(debug::TraceEnabled("DownloadManager", 3));
  EXPECT_FALSE(debug::TraceEnabled("DownloadManager", 4));
  EXPECT_FALSE(debug::TraceEnabled("DownloadManager", 0));
  const std::string tid = std::to_string(threads::GetCurrentThreadID());
  EXPECT_EQ(lines, std::vector<std::string>{"<" + tid + "> <DownloadManager> <1> error line"});

  EXPECT_TRUE(debug::ConfigureTrace("*=2,DownloadManager=5"));
  EXPECT_EQ(debug::GetTraceLevel("Anything"), 2);
  EXPECT_EQ(debug::GetTraceLevel("DownloadManager"), 5);
  EXPECT_FALSE(debug::ConfigureTrace("DownloadManager=x"));
  EXPECT_FALSE(debug::ConfigureTrace("=3"));
  EXPECT_EQ(debug::GetTraceLevel("DownloadManager"), 5) << "a bad setting changed nothing";
  EXPECT_TRUE(debug::ConfigureTrace("*=0,DownloadManager=0"));
  debug::SetTraceSink(nullptr);
}

TEST(DebugDatabase, DefaultsValuesAndChangeCount) {
  auto& db = debug::DebugDatabase::Instance();
  EXPECT_EQ(db.GetEntry("StackedPanel_MoveMinMouseMoveThresh", 6.0), 6.0);
  const auto before = db.GetChangeCount();
  EXPECT_TRUE(db.SetEntryFromText("StackedPanel_MoveMinMouseMoveThresh", "9.5"));
  EXPECT_GT(db.GetChangeCount(), before);
  EXPECT_EQ(db.GetEntry("StackedPanel_MoveMinMouseMoveThresh", 6.0), 9.5);
  EXPECT_FALSE(db.SetEntryFromText("StackedPanel_MoveMinMouseMoveThresh", "fast"));
  EXPECT_FALSE(db.SetEntryFromText("NeverRegistered", "1"));

  EXPECT_EQ(db.GetEntry("DebugMonitorRefreshInterval", std::int64_t{500}), 500);
  db.SetEntry("DebugMonitorRefreshInterval", 250.0);  // a double read as an integer
  EXPECT_EQ(db.GetEntry("DebugMonitorRefreshInterval", std::int64_t{500}), 250);
  EXPECT_EQ(db.GetEntry("Label", "default"), "default");
  db.SetEntry("Label", true);  // a value that cannot be read as a string
  EXPECT_EQ(db.GetEntry("Label", "default"), "default");

  db.ResetToDefaults();
  EXPECT_EQ(db.GetEntry("StackedPanel_MoveMinMouseMoveThresh", 6.0), 6.0);
  EXPECT_EQ(debug::DebugDatabase::ToText(db.FindEntry("DebugMonitorRefreshInterval")->value), "500");
}

TEST(Console, RegisterExecuteAndUnregister) {
  console::RegisterCommand("test.echo", "Echoes its arguments",
                           [](const std::vector<std::string>& args, UTF16OutputStream& out) {
                             for (const auto& a : args) out.Write(a + "|");
                           });
  UTF16StringOutputStream out;
  EXPECT_TRUE(console::ExecuteCommand("  test.echo  a   b ", out));
  EXPECT_EQ(out.Text(), u"a|b|");

  UTF16StringOutputStream help;
  EXPECT_TRUE(console::ExecuteCommand("con.help", help));
  EXPECT_NE(help.Text().find(u"test.echo - Echoes its arguments"), std::u16string::npos);

  UTF16StringOutputStream none;
  EXPECT_FALSE(console::ExecuteCommand("test.unknown", none));
  EXPECT_FALSE(console::ExecuteCommand("   ", none));
  EXPECT_TRUE(none.Text().empty());

  // A handler may run other commands; a throwing handler reports its error.
  console::RegisterCommand("test.nested", "", [](const auto&, UTF16OutputStream& o) {
    console::ExecuteCommand("test.echo inner", o);
    throw std::runtime_error("nested failed");
  });
  UTF16StringOutputStream nested;
  EXPECT_TRUE(console::ExecuteCommand("test.nested", nested));
  EXPECT_EQ(nested.Text(), u"inner|Error: nested failed\n");

  EXPECT_TRUE(console::UnregisterCommand("test.echo"));
  EXPECT_FALSE(console::UnregisterCommand("test.echo"));
  EXPECT_FALSE(console::ExecuteCommand("test.echo a", out));
  console::UnregisterCommand("test.nested");
}
