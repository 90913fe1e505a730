#include "scripting/ScriptObjects.h"

#include "scripting/IndicatorOverlayObj.h"
#include "scripting/UIAutomationHelper.h"
#include "services/scripting/ScriptBridge.h"

namespace kivworkspace::scripting {
namespace {

DrawSupplierProvider& Provider() {
  static DrawSupplierProvider provider;
  return provider;
}

// Registers the classes when the library loads.
const bool registered = (RegisterScriptObjects(), true);

}  // namespace

void RegisterScriptObjects() {
  kivscripting::ScriptBridge::Get().RegisterClass(IndicatorOverlayObj::Definition());
  kivscripting::ScriptBridge::Get().RegisterClass(UIAutomationHelper::Definition());
}

void ReleaseIndicatorOverlays() {
  for (IndicatorOverlayObj* overlay : IndicatorOverlayObj::GetLiveInstances()) overlay->ReleaseWindow();
}

void SetDrawSupplierProvider(DrawSupplierProvider provider) { Provider() = std::move(provider); }

std::shared_ptr<const kivui::DrawSupplier> GetDrawSupplier() { return Provider() ? Provider()() : nullptr; }

}  // namespace kivworkspace::scripting
