#pragma once

#include "services/ui/node/UI_Node.h"

#include <functional>
#include <memory>
#include <string>

namespace kivui {

// A node whose content is a control of the window system (a text field, a tree, a scroll
// bar) filling it: the control follows the node's size and keyboard focus, and its focus
// and the keys it leaves unused come back to the node.
class UI_NativeControl : public UI_Node {
 public:
  ~UI_NativeControl() override;

  // Keys offered before the control sees them (which ones depends on the control): return
  // true when handled.
  std::function<bool(const KeyboardEvent&)> onKey;

  bool UI_WantsKeyboardFocus() const override { return takesFocus_; }
  void UI_FocusChanged(FocusChangeReason reason) override;
  void UI_SizeChanged(const kivcore::RectF& newBounds) override;

  struct Hosted;

 protected:
  UI_NativeControl(std::string nodeId, bool takesFocus);
  Hosted& GetHosted() const { return *hosted_; }

 private:
  bool takesFocus_;
  std::unique_ptr<Hosted> hosted_;
};

}  // namespace kivui
