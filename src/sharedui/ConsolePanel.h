#pragma once

#include "services/core/UTF16OutputStream.h"
#include "workspace/core/TabCreator.h"
#include "workspace/core/TabPanel.h"

#include <memory>

namespace kivui {
class ConsoleView;
}

namespace kivworkspace::sharedui {

// The console as a panel: the command line and its output, and the console's other views
// (debug database, trace volume, code profiler), chosen from the panel's menu. The view
// shown is kept with the panel's state.
class ConsolePanel : public workspace::TabPanel {
 public:
  static constexpr const char* kTabType = "ConsolePanel";
  // The views the panel offers, by mask bit: console 1, debug database 2, trace volume 4,
  // output 8, code profiler 16.
  static constexpr unsigned kDefaultViewMask = 23;

  class TabCreator : public workspace::TabCreator {
   public:
    TabCreator() : workspace::TabCreator(kTabType) {}
    workspace::TabPanelPtr CreateTabPanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame) const override;
    bool HidesWhenClosed() const override { return true; }
  };

  ConsolePanel(workspace::Workspace* workspace, workspace::WorkspaceFrameBase* frame, const kivcore::UTF16String& title,
               unsigned viewMask);
  ~ConsolePanel() override;

  // The console panel made last that still exists, or null.
  static ConsolePanel* GetInstance();

  kivui::ConsoleView& GetConsoleView() { return *view_; }
  unsigned GetViewMask() const { return viewMask_; }

  void Echo(const kivcore::UTF16String& text);
  bool ProcessCommand(const kivcore::UTF16String& commandLine);
  bool ExecuteBatchFile(const kivcore::UTF16String& path);
  bool OpenLog(const kivcore::UTF16String& path);
  void CloseLog();
  void ClearOutput();
  kivcore::UTF16String GetOutput() const;
  void GotoNextCommand();
  void GotoPreviousCommand();
  kivcore::UTF16OutputStream& Out();
  void PostBuffer(const std::string& utf8);

  void PopulateFlyoutMenu(kivui::OSMenu& menu) override;
  bool DoFlyoutMenuCommand(unsigned id) override;
  void DoSaveStateData(kivcore::PropList* state) const override;
  void DoLoadStateData(kivcore::PropList* state) override;
  void DoGetSnapSizes(std::vector<kivcore::Point>& sizes) const override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;
  void UI_FocusChanged(kivui::FocusChangeReason reason) override;

 private:
  std::shared_ptr<kivui::ConsoleView> view_;
  unsigned viewMask_;
};

}  // namespace kivworkspace::sharedui
