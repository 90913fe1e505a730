#include "scripting/IndicatorOverlayObj.h"

#include "scripting/IndicatorOverlayWindow.h"
#include "scripting/ScriptObjects.h"
#include "services/scripting/UIThreadCall.h"
#include "services/ui/node/ParentToChildIdContainer.h"
#include "services/ui/window/OS_Window.h"
#include "services/core/MainThread.h"
#include "workspace/windows/TopLevelWindow.h"
#include "workspace/core/WorkspaceUtils.h"

#include <algorithm>
#include <optional>

namespace kivworkspace::scripting {
namespace {

using kivscripting::ScriptValue;
using kivscripting::ScriptValueType;

std::vector<IndicatorOverlayObj*>& LiveInstances() {
  static std::vector<IndicatorOverlayObj*> instances;
  return instances;
}

// The global rectangle of the node an automation path names: in the windows of its first
// ID, else below the main top-level window. Nothing when the path names no node.
std::optional<kivcore::RectF> FindControlRect(const std::string& path) {
  kivui::ParentToChildIdContainer ids;
  if (!ids.Deserialize(path)) return std::nullopt;
  kivui::UI_Node* node = nullptr;
  if (!kivui::OS_Window::UI_FindAllWindowsMatchingID(ids.GetIDs().front()).empty())
    node = ids.GetNode(kivui::ParentToChildIdContainer::kDescendants);
  if (!node) {
    if (workspace::TopLevelWindow* main = workspace::WorkspaceUtils::FindMainTopLevelWindow())
      node = ids.GetNode(kivui::ParentToChildIdContainer::kDescendants, main);
  }
  if (!node) return std::nullopt;
  return node->LocalRectToGlobalF(node->GetLocalBounds());
}

}  // namespace

IndicatorOverlayObj::IndicatorOverlayObj(const kivcore::UTF16String& text, unsigned direction,
                                         const kivcore::UTF16String& ctrlPath)
    : text_(text), direction_(direction) {
  LiveInstances().push_back(this);
  if (ctrlPath.empty()) return;
  ctrlPath_ = ctrlPath;
  auto found = std::make_shared<std::optional<kivcore::RectF>>();
  const std::string path = kivcore::UTF16to8(ctrlPath);
  if (kivscripting::CallOnUIThread([found, path] { *found = FindControlRect(path); }, kUIThreadTimeoutMs) && *found)
    anchor_ = **found;
}

// Not held by a script any more, so no call of its own is pending: the window goes on the
// UI thread, directly or handed over.
IndicatorOverlayObj::~IndicatorOverlayObj() {
  if (kivcore::threads::IsMainThread()) {
    ReleaseWindow();
  } else if (shown_) {
    std::shared_ptr<IndicatorOverlayWindow> window(std::move(window_));
    kivcore::threads::AsyncCallFromMainThread([window] { window->UI_Show(false); });
  }
  auto& live = LiveInstances();
  live.erase(std::find(live.begin(), live.end(), this));
}

bool IndicatorOverlayObj::Show() {
  if (!IsAnchored()) return false;
  // The posted call holds the object: the wait may give up before it is dropped.
  const boost::intrusive_ptr<IndicatorOverlayObj> self(this);
  return kivscripting::CallOnUIThread([self] { self->OpenWindow(); }, kUIThreadTimeoutMs);
}

void IndicatorOverlayObj::OpenWindow() {
  ReleaseWindow();
  window_ = std::make_unique<IndicatorOverlayWindow>(anchor_, direction_, kivcore::UTF16to8(text_), GetDrawSupplier());
  window_->UI_Show(true);
  shown_ = true;
}

bool IndicatorOverlayObj::Hide() {
  if (!shown_) return true;
  const boost::intrusive_ptr<IndicatorOverlayObj> self(this);
  kivscripting::CallOnUIThread([self] { self->ReleaseWindow(); }, kUIThreadTimeoutMs);
  return true;
}

void IndicatorOverlayObj::ReleaseWindow() {
  if (!window_) return;
  shown_ = false;
  window_->UI_Show(false);
  window_.reset();
}

const std::vector<IndicatorOverlayObj*>& IndicatorOverlayObj::GetLiveInstances() { return LiveInstances(); }

kivscripting::ScriptClassDefinition IndicatorOverlayObj::Definition() {
  kivscripting::ScriptClassDefinition c;
  c.name = "IndicatorOverlay";
  c.description = "A small overlay window pointing to a certain point in the applications user interface";
  c.constructorDescription = "Construct new IndicatorOverlay object";
  c.constructorParameters = {
      {"text", ScriptValueType::kString, kivcore::UTF16String(), std::nullopt},
      {"direction", ScriptValueType::kInteger, 0.0, std::pair{0.0, 3.0}},
      {"ctrlPath", ScriptValueType::kString, kivcore::UTF16String(), std::nullopt},
  };
  c.factory = [](const std::vector<ScriptValue>& args) -> kivscripting::ScriptObjectPtr {
    return new IndicatorOverlayObj(kivscripting::ToText(args[0]), unsigned(kivscripting::ToNumber(args[1])),
                                   kivscripting::ToText(args[2]));
  };
  const auto self = [](kivscripting::ScriptObject& o) -> IndicatorOverlayObj& { return static_cast<IndicatorOverlayObj&>(o); };
  c.methods = {
      {"show", "Show the overlay", 0x400000, {}, ScriptValueType::kBool,
       [self](kivscripting::ScriptObject& o, const std::vector<ScriptValue>&) -> ScriptValue { return self(o).Show(); }},
      {"hide", "Hide the overlay", 0x20000, {}, ScriptValueType::kBool,
       [self](kivscripting::ScriptObject& o, const std::vector<ScriptValue>&) -> ScriptValue { return self(o).Hide(); }},
  };
  c.constants = {{"ANCHOR_RIGHT_EDGE", 0, "Anchor point right edge"},
                 {"ANCHOR_LEFT_EDGE", 1, "Anchor point left edge"},
                 {"ANCHOR_TOP_EDGE", 2, "Anchor point top edge"},
                 {"ANCHOR_BOTTOM_EDGE", 3, "Anchor point bottom edge"}};
  return c;
}

}  // namespace kivworkspace::scripting
