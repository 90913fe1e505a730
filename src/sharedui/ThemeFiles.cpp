#include "sharedui/ThemeFiles.h"

#include "services/core/Localizer.h"
#include "services/ui/app/Application.h"
#include "services/ui/dialogs/Dialogs.h"
#include "services/ui/draw/KeyframeTheme.h"
#include "services/ui/node/UI_Container.h"
#include "services/ui/window/OS_Window.h"

#include <filesystem>

namespace kivworkspace::sharedui {
namespace {

void InvalidateTree(kivui::UI_Node& node) {
  node.UI_Invalidate();
  if (auto* container = dynamic_cast<kivui::UI_Container*>(&node)) {
    for (std::size_t i = 0; i < container->GetChildCount(); ++i) InvalidateTree(*container->GetChild(i));
  }
}

}  // namespace

kivui::KeyframeTheme& GetEditableTheme() {
  static const bool connected = [] {
    kivui::KeyframeTheme::Get().ThemeChanged().connect([] {
      kivui::Application::ApplyTheme();
      for (kivui::OS_Window* window : kivui::OS_Window::UI_EnumerateAllWindows()) InvalidateTree(*window);
    });
    return true;
  }();
  (void)connected;
  return kivui::KeyframeTheme::Get();
}

void ReloadThemeFile(const kivcore::UTF16String& path) {
  if (path.empty()) return;
  kivui::ParseKeyframeThemeFile(kivcore::UTF16to8(path), GetEditableTheme());
}

kivcore::UTF16String LoadThemeFileFromDialog(kivui::UI_Node* parent) {
  const std::string title = kivcore::config::Localizer::Get().LocalizeUTF8(
      "$$$/kivworkspace/sharedui/ThemeColorEditor/LoadThemeColors=Load Theme Colors");
  kivui::OS_Window* window = parent ? parent->GetWindow() : nullptr;
  const auto chosen = kivui::ChooseFileToOpen(title, {}, "XML Files (*.xml)", window);
  if (!chosen || chosen->empty()) return {};
  const kivcore::UTF16String path = std::filesystem::absolute(*chosen).u16string();
  try {
    ReloadThemeFile(path);
  } catch (const std::exception& e) {
    kivui::ShowCaution(title, e.what(), window);
    return {};
  }
  return path;
}

}  // namespace kivworkspace::sharedui
