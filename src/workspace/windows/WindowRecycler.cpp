#include "workspace/windows/internal/WindowRecycler.h"

#include "layout/Splitter.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/Workspace.h"

namespace kivworkspace::workspace {

WindowRecycler::WindowRecycler(Workspace& workspace) : workspace_(workspace) {
  for (TopLevelWindow* window : workspace.GetWindows()) {
    unused_.push_back(std::static_pointer_cast<TopLevelWindow>(window->shared_from_this()));
    if (!window->IsMain()) window->UI_Show(false);
    window->SetMaximizedFrame(nullptr);
  }
}

TopLevelWindow& WindowRecycler::Next() {
  if (unused_.empty())
    return *workspace_.AddTopLevelWindow(workspace_.GetMainTopLevelWindow() == nullptr, nullptr);
  std::shared_ptr<TopLevelWindow> window = std::move(unused_.front());
  unused_.pop_front();
  // Its elements come from the definition read into it.
  for (auto side : {LayoutManager::kTop, LayoutManager::kLeft, LayoutManager::kRight,
                    LayoutManager::kBottom})
    window->RemoveStaticElement(side, false);
  return *window;
}

void WindowRecycler::GiveBack(TopLevelWindow& window) {
  unused_.push_front(std::static_pointer_cast<TopLevelWindow>(window.shared_from_this()));
}

void WindowRecycler::RemoveUnused() {
  for (const auto& window : unused_) {
    if (window->IsMain()) {
      window->DestroyHiddenFrames();
      window->ResetRootFrame(std::make_unique<Splitter>(&window->GetLayoutManager(), false), {});
    } else {
      workspace_.RemoveWindow(window.get(), false);
    }
  }
  unused_.clear();
}

}  // namespace kivworkspace::workspace
