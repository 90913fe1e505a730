#pragma once

#include "services/core/UTF16OutputStream.h"
#include "services/ui/node/UI_Container.h"

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace kivui {

class UI_MultiColumnTree;
class UI_TextEdit;

// The console. Its views, by number:
//  1 console         the output above a command line; Return runs the line through the core
//                    console's command registry and appends the echo and the output; Up and
//                    Down walk the history of lines entered
//  2 debug database  the debug database's values and defaults
//  3 trace volume    the trace channels and their levels
//  4 output          the output alone
//  5 code profiler   how long the console's commands took, per command
// The tree views refresh once a second while shown.
class ConsoleView : public UI_Container {
 public:
  enum View { kConsoleView = 1, kDebugDatabaseView = 2, kTraceVolumeView = 3, kOutputView = 4, kCodeProfilerView = 5 };

  ConsoleView();
  ~ConsoleView() override;

  // Shows a view by number; other numbers are ignored.
  void ShowView(int view);
  int GetVisibleView() const { return view_; }

  // Runs a line as if typed; returns whether a command of that name exists.
  bool RunCommandLine(const std::string& line);
  // Runs each line of a text file that is neither blank nor a '#' comment; false, with the
  // reason in the output, when the file cannot be read.
  bool ExecuteBatchFile(const std::string& path);
  // Appends text to the output (and the log), and a line end for Echo.
  void AppendOutput(const std::string& utf8);
  void Echo(const std::string& utf8) { AppendOutput(utf8 + "\n"); }
  // Appends text from any thread; it reaches the output on the main thread.
  void PostBuffer(const std::string& utf8);
  void ClearOutput();
  std::string GetOutput() const;
  // A stream into the output.
  kivcore::UTF16OutputStream& Out() { return *out_; }

  // From now on the output is also appended to a file; false when it cannot be opened.
  bool OpenLog(const std::string& path);
  void CloseLog();

  const std::vector<std::string>& GetHistory() const { return history_; }
  // Put the previous or next line of the history into the command line.
  void GotoPreviousCommand();
  void GotoNextCommand();

  UI_TextEdit& GetCommandLine() { return *input_; }
  UI_MultiColumnTree& GetTree() { return *tree_; }
  // Fills the tree of the visible view again.
  void RefreshTree();

  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_DoTimerNotify(int id) override;

 private:
  bool OnKey(const KeyboardEvent& event);
  void Arrange();

  std::shared_ptr<UI_TextEdit> output_;
  std::shared_ptr<UI_TextEdit> input_;
  std::shared_ptr<UI_MultiColumnTree> tree_;
  std::unique_ptr<kivcore::UTF16OutputStream> out_;
  std::shared_ptr<ConsoleView*> alive_;  // posted output checks that the view still exists
  std::ofstream log_;
  std::vector<std::string> history_;
  std::size_t historyPos_ = 0;
  std::vector<std::vector<std::string>> shownCells_;  // what the tree shows
  int view_ = kConsoleView;
};

}  // namespace kivui
