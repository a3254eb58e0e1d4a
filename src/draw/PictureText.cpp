#include "draw/PictureText.h"

#include "core/Bodies.h"

#include <QPainter>
#include <QPainterPath>

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

PictureText::PictureText(QPainter& painter, const QFont& font)
    : painter_(painter), font_(font), metrics_(font, painter.device()) {}

void PictureText::Write(QPointF topLeft, const QString& text, int colour) {
    painter_.setFont(font_);
    painter_.setPen(QColorOf(colour));
    painter_.drawText(QPointF(topLeft.x(), topLeft.y() + metrics_.ascent()), text);
}

void PictureText::WriteOpaque(QPointF topLeft, const QString& text, int colour, int backColour) {
    painter_.fillRect(Box(topLeft, text), QColorOf(backColour));
    Write(topLeft, text, colour);
}

void PictureText::WriteWithHalo(QPointF topLeft, const QString& text, int colour, int haloColour) {
    QPainterPath path;
    path.addText(QPointF(topLeft.x(), topLeft.y() + metrics_.ascent()), font_, text);
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.strokePath(
        path, QPen(QColorOf(haloColour), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.restore();
    Write(topLeft, text, colour);
}

QRectF PictureText::Box(QPointF topLeft, const QString& text) const {
    return {topLeft, QSizeF(metrics_.horizontalAdvance(text), metrics_.height())};
}

} // namespace orbivex
