#include "services/ui/qt/KeyMap.h"

#include "services/ui/node/UI_NodeManager.h"

#include <array>
#include <utility>

namespace kivui::qt {
namespace {

constexpr std::array<std::pair<int, int>, 17> kKeys{{
    {kKeyBackspace, Qt::Key_Backspace}, {kKeyTab, Qt::Key_Tab},
    {kKeyReturn, Qt::Key_Return},       {kKeyEscape, Qt::Key_Escape},
    {kKeySpace, Qt::Key_Space},         {kKeyDelete, Qt::Key_Delete},
    {kKeyLeft, Qt::Key_Left},           {kKeyUp, Qt::Key_Up},
    {kKeyRight, Qt::Key_Right},         {kKeyDown, Qt::Key_Down},
    {kKeyHome, Qt::Key_Home},           {kKeyEnd, Qt::Key_End},
    {kKeyPageUp, Qt::Key_PageUp},       {kKeyPageDown, Qt::Key_PageDown},
    {kKeyShift, Qt::Key_Shift},         {kKeyControl, Qt::Key_Control},
    {kKeyAlt, Qt::Key_Alt},
}};

}  // namespace

int KeyFromQtKey(int qtKey) {
  if (qtKey == Qt::Key_Enter) return kKeyReturn;
  if (qtKey == Qt::Key_Meta) return kKeyMeta;
  for (auto [ours, theirs] : kKeys) {
    if (theirs == qtKey) return ours;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F35) return kKeyF1 + (qtKey - Qt::Key_F1);
  // Printable keys share their codes (upper-case letters, digits, punctuation).
  if (qtKey > 0x20 && qtKey < 0x7F) return qtKey;
  return kKeyNone;
}

int QtKeyFromKey(int key) {
  if (key == kKeyMeta) return Qt::Key_Meta;
  for (auto [ours, theirs] : kKeys) {
    if (ours == key) return theirs;
  }
  if (key >= kKeyF1 && key < kKeyF1 + 35) return Qt::Key_F1 + (key - kKeyF1);
  if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
  return key;
}

ModKeys ModKeysFromQt(Qt::KeyboardModifiers modifiers) {
  ModKeys mods = kModNone;
  if (modifiers & Qt::ShiftModifier) mods |= kModShift;
  if (modifiers & Qt::AltModifier) mods |= kModAlt;
  if (modifiers & Qt::ControlModifier) mods |= kModControl;
  if (modifiers & Qt::MetaModifier) mods |= kModMeta;
  return mods;
}

Qt::KeyboardModifiers QtFromModKeys(ModKeys mods) {
  Qt::KeyboardModifiers modifiers;
  if (mods & kModShift) modifiers |= Qt::ShiftModifier;
  if (mods & kModAlt) modifiers |= Qt::AltModifier;
  if (mods & kModControl) modifiers |= Qt::ControlModifier;
  if (mods & kModMeta) modifiers |= Qt::MetaModifier;
  return modifiers;
}

Qt::CursorShape CursorShapeFor(int resourceCursor) {
  switch (resourceCursor) {
    case kCursorVerticalBar: return Qt::SplitHCursor;
    case kCursorHorizontalBar: return Qt::SplitVCursor;
    case kCursorCrossing: return Qt::SizeAllCursor;
    case kCursorResizeHandle: return Qt::SizeHorCursor;
    case kCursorDragTab: return Qt::ClosedHandCursor;
    case kCursorDragFrame: return Qt::DragMoveCursor;
    case kCursorPointingHand: return Qt::PointingHandCursor;
    case kCursorForbidden: return Qt::ForbiddenCursor;
    default: return Qt::ArrowCursor;
  }
}

}  // namespace kivui::qt
