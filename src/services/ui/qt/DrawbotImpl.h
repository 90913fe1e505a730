#pragma once

#include "services/ui/draw/Drawbot.h"

#include <QPainter>

namespace kivui {

struct Drawbot::Impl {
  QPainter& painter;
};

}  // namespace kivui
