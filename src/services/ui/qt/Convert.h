#pragma once
// Conversions between the library's value types and Qt's.

#include "services/core/PointT.h"
#include "services/core/RectT.h"
#include "services/ui/draw/Color.h"
#include "services/ui/draw/Font.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>

#include <string>
#include <string_view>

namespace kivui::qt {

inline QRect ToQRect(const kivcore::Rect& r) { return QRect(r.left, r.top, r.width, r.height); }
inline QRectF ToQRectF(const kivcore::RectF& r) { return QRectF(r.left, r.top, r.width, r.height); }
inline kivcore::Rect ToRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
inline kivcore::RectF ToRectF(const QRectF& r) {
  return {float(r.x()), float(r.y()), float(r.width()), float(r.height())};
}
inline QPoint ToQPoint(kivcore::Point p) { return QPoint(p.x, p.y); }
inline QPointF ToQPointF(kivcore::PointF p) { return QPointF(p.x, p.y); }
inline kivcore::Point ToPoint(QPoint p) { return {p.x(), p.y()}; }
inline kivcore::PointF ToPointF(QPointF p) { return {float(p.x()), float(p.y())}; }

inline QColor ToQColor(Color c) { return QColor(c.r, c.g, c.b, c.a); }
inline Color ToColor(const QColor& c) {
  return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()),
          std::uint8_t(c.alpha())};
}

inline QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
inline std::string ToUTF8(const QString& s) { return s.toUtf8().toStdString(); }

QFont ToQFont(const Font& font);

}  // namespace kivui::qt
