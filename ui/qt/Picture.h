#pragma once
// A picture drawn by Qt.

#include "ui/Picture.h"

#include <QPainter>
#include <QPointF>

namespace ui {

// Draws the picture with its top-left corner at a logical point, sharp at the device's scale.
void DrawPicture(QPainter& painter, const Picture& picture, const QPointF& at);

} // namespace ui
