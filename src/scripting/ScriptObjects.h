#pragma once
// The library's script classes, "IndicatorOverlay" and "UIAutomationHelper", registered with
// the scripting bridge when the library loads.

#include <functional>
#include <memory>

namespace kivui {
class DrawSupplier;
}

namespace kivworkspace::scripting {

using DrawSupplierProvider = std::function<std::shared_ptr<const kivui::DrawSupplier>()>;

// Registers the classes (again, harmlessly). Loading the library does it; a host that
// links the library statically calls it before making a script engine.
void RegisterScriptObjects();

// Closes and releases the window of every indicator overlay on the calling thread; the
// overlays stay and can be shown again.
void ReleaseIndicatorOverlays();

// What overlay windows draw their bubble with (replacing an earlier provider; null
// restores the default look).
void SetDrawSupplierProvider(DrawSupplierProvider provider);
std::shared_ptr<const kivui::DrawSupplier> GetDrawSupplier();

}  // namespace kivworkspace::scripting
