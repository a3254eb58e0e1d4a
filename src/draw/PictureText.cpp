#include "draw/PictureText.h"

#include "core/Bodies.h"
#include "draw/Canvas.h"

#include <QPainter>

namespace orbivex {

namespace {
constexpr int DotsPerMeterAt96Dpi = 3780;
} // namespace

QColor QColorOf(int colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

int ColourOf(QRgb pixel) {
    return Rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

QImage NewPicture(QSize size, QImage::Format format) {
    QImage image(size, format);
    image.setDotsPerMeterX(DotsPerMeterAt96Dpi);
    image.setDotsPerMeterY(DotsPerMeterAt96Dpi);
    return image;
}

PictureText::PictureText(Canvas& canvas, const QFont& font)
    : canvas_(canvas), font_(font), metrics_(font, canvas.Device()) {}

PictureText::PictureText(QPainter& painter, const QFont& font)
    : owned_(std::make_unique<PainterCanvas>(painter)), canvas_(*owned_), font_(font),
      metrics_(font, painter.device()) {}

PictureText::~PictureText() = default;

void PictureText::Write(QPointF topLeft, const QString& text, int colour) {
    canvas_.DrawText(QPointF(topLeft.x(), topLeft.y() + metrics_.ascent()), text, font_,
                     QColorOf(colour));
}

void PictureText::WriteOpaque(QPointF topLeft, const QString& text, int colour, int backColour) {
    canvas_.FillRect(Box(topLeft, text), QColorOf(backColour));
    Write(topLeft, text, colour);
}

void PictureText::WriteWithHalo(QPointF topLeft, const QString& text, int colour, int haloColour) {
    canvas_.StrokeText(QPointF(topLeft.x(), topLeft.y() + metrics_.ascent()), text, font_,
                       QPen(QColorOf(haloColour), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    Write(topLeft, text, colour);
}

QRectF PictureText::Box(QPointF topLeft, const QString& text) const {
    return {topLeft, QSizeF(metrics_.horizontalAdvance(text), metrics_.height())};
}

} // namespace orbivex
