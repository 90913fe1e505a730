#pragma once

#include <QRect>
#include <QString>

namespace kivworkspace::qtwidgets {

// Where DockHost puts a panel: along a side of the main window's docking area, beside a
// panel that is open, in the same frame as one (as another tab), or in a floating window of
// its own. The first panel of an empty docking area fills it, whatever the side asked.
class DockPlace {
 public:
  enum class Kind { WindowSide, BesidePanel, TabbedWithPanel, Floating };
  enum class Side { Left, Right, Top, Bottom };

  // Along the right side of the docking area.
  DockPlace() = default;

  // Along a whole side of the main window's docking area.
  static DockPlace left() { return {Kind::WindowSide, Side::Left, {}}; }
  static DockPlace right() { return {Kind::WindowSide, Side::Right, {}}; }
  static DockPlace top() { return {Kind::WindowSide, Side::Top, {}}; }
  static DockPlace bottom() { return {Kind::WindowSide, Side::Bottom, {}}; }
  // Beside the frame of the open panel `id`, sharing its room.
  static DockPlace leftOf(const QString& id) { return {Kind::BesidePanel, Side::Left, id}; }
  static DockPlace rightOf(const QString& id) { return {Kind::BesidePanel, Side::Right, id}; }
  static DockPlace above(const QString& id) { return {Kind::BesidePanel, Side::Top, id}; }
  static DockPlace below(const QString& id) { return {Kind::BesidePanel, Side::Bottom, id}; }
  // A tab in the frame of the open panel `id`.
  static DockPlace tabbedWith(const QString& id) {
    return {Kind::TabbedWithPanel, Side::Right, id};
  }
  // A floating window whose panel area covers `geometry` on the screen; an empty rectangle
  // leaves the window its default place and size.
  static DockPlace floating(const QRect& geometry = {});

  Kind kind() const { return kind_; }
  Side side() const { return side_; }
  // The panel a place beside or tabbed with refers to.
  const QString& panel() const { return panel_; }
  const QRect& geometry() const { return geometry_; }

 private:
  DockPlace(Kind kind, Side side, QString panel, QRect geometry = {})
      : kind_(kind), side_(side), panel_(std::move(panel)), geometry_(geometry) {}

  Kind kind_ = Kind::WindowSide;
  Side side_ = Side::Right;
  QString panel_;
  QRect geometry_;
};

inline DockPlace DockPlace::floating(const QRect& geometry) {
  return {Kind::Floating, Side::Right, {}, geometry};
}

}  // namespace kivworkspace::qtwidgets
