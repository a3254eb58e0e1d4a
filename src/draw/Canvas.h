#pragma once
// What the wheels and their export images draw on: the few painting operations they use,
// carried out by a QPainter (a screen image, a PNG, a PDF page, a printer) or written as the
// elements of an SVG document. A drawing also says which element is an aspect line and which
// a body's symbol, so that the SVG can hold each in a group of its own.

#include "core/Bodies.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace orbivex {

struct WheelAspect;

class Canvas {
  public:
    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    virtual ~Canvas() = default;

    // The device whose resolution texts are measured at.
    virtual QPaintDevice* Device() const = 0;
    virtual void Save() = 0;
    virtual void Restore() = 0;
    virtual void SetRenderHint(QPainter::RenderHint hint, bool on) = 0;

    virtual void FillRect(const QRectF& rect, const QColor& colour) = 0;
    // A circle outlined with the pen (none with Qt::NoPen) and filled with the colour (none
    // when it is not valid).
    virtual void DrawCircle(QPointF centre, double radius, const QPen& pen, const QColor& fill) = 0;
    // The ring between two circles.
    virtual void FillAnnulus(QPointF centre, double outer, double inner, const QColor& colour) = 0;
    virtual void DrawLine(QPointF from, QPointF to, const QPen& pen) = 0;
    virtual void DrawText(QPointF baseline, const QString& text, const QFont& font,
                          const QColor& colour) = 0;
    // The outline of the letters stroked with the pen, antialiased: the rim of a text.
    virtual void StrokeText(QPointF baseline, const QString& text, const QFont& font,
                            const QPen& pen) = 0;

    // What is drawn up to EndGroup is one aspect line, or the symbol of a body of a set (0 or
    // 1; twoSets tells whether the drawing has a second set).
    virtual void BeginAspectLine(const WheelAspect& aspect);
    virtual void BeginBodySymbol(int set, BodyIndex body, bool twoSets);
    virtual void EndGroup();
};

// A canvas that paints with a QPainter, which keeps its own state.
class PainterCanvas final : public Canvas {
  public:
    explicit PainterCanvas(QPainter& painter) : painter_(painter) {}

    QPaintDevice* Device() const override;
    void Save() override;
    void Restore() override;
    void SetRenderHint(QPainter::RenderHint hint, bool on) override;
    void FillRect(const QRectF& rect, const QColor& colour) override;
    void DrawCircle(QPointF centre, double radius, const QPen& pen, const QColor& fill) override;
    void FillAnnulus(QPointF centre, double outer, double inner, const QColor& colour) override;
    void DrawLine(QPointF from, QPointF to, const QPen& pen) override;
    void DrawText(QPointF baseline, const QString& text, const QFont& font,
                  const QColor& colour) override;
    void StrokeText(QPointF baseline, const QString& text, const QFont& font,
                    const QPen& pen) override;

  private:
    QPainter& painter_;
};

} // namespace orbivex
