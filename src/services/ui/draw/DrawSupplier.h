#pragma once

#include "services/core/RectT.h"

#include <functional>

namespace kivui {

class Drawbot;

// Something that draws one element (a splitter bar, a drop-zone marker) so that a skin can
// replace its look without changing the node that shows it.
class DrawSupplier {
 public:
  virtual ~DrawSupplier() = default;
  virtual void Draw(Drawbot& drawbot, const kivcore::RectF& bounds) const = 0;
};

// A draw supplier made from a function.
class FunctionDrawSupplier : public DrawSupplier {
 public:
  using DrawFunction = std::function<void(Drawbot&, const kivcore::RectF&)>;
  explicit FunctionDrawSupplier(DrawFunction f) : draw_(std::move(f)) {}
  void Draw(Drawbot& drawbot, const kivcore::RectF& bounds) const override {
    draw_(drawbot, bounds);
  }

 private:
  DrawFunction draw_;
};

}  // namespace kivui
