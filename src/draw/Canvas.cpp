#include "draw/Canvas.h"

#include <QPainterPath>

namespace orbivex {

void Canvas::BeginAspectLine(const WheelAspect&) {}

void Canvas::BeginBodySymbol(int, BodyIndex, bool) {}

void Canvas::EndGroup() {}

QPaintDevice* PainterCanvas::Device() const {
    return painter_.device();
}

void PainterCanvas::Save() {
    painter_.save();
}

void PainterCanvas::Restore() {
    painter_.restore();
}

void PainterCanvas::SetRenderHint(QPainter::RenderHint hint, bool on) {
    painter_.setRenderHint(hint, on);
}

void PainterCanvas::FillRect(const QRectF& rect, const QColor& colour) {
    painter_.fillRect(rect, colour);
}

void PainterCanvas::DrawCircle(QPointF centre, double radius, const QPen& pen, const QColor& fill) {
    painter_.setPen(pen);
    painter_.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    painter_.drawEllipse(centre, radius, radius);
}

void PainterCanvas::FillAnnulus(QPointF centre, double outer, double inner, const QColor& colour) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addEllipse(centre, outer, outer);
    path.addEllipse(centre, inner, inner);
    painter_.fillPath(path, colour);
}

void PainterCanvas::DrawLine(QPointF from, QPointF to, const QPen& pen) {
    painter_.setPen(pen);
    painter_.drawLine(from, to);
}

void PainterCanvas::DrawText(QPointF baseline, const QString& text, const QFont& font,
                             const QColor& colour) {
    painter_.setFont(font);
    painter_.setPen(colour);
    painter_.drawText(baseline, text);
}

void PainterCanvas::StrokeText(QPointF baseline, const QString& text, const QFont& font,
                               const QPen& pen) {
    QPainterPath path;
    path.addText(baseline, font, text);
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.strokePath(path, pen);
    painter_.restore();
}

} // namespace orbivex
