#pragma once
// Helpers shared by the pictures that are drawn into images (the chart wheel and its export):
// colours as the program stores them, images at the resolution the layout was made for, and
// text placed by its top-left corner as a picture's print position places it.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>

class QPainter;

namespace orbivex {

// A colour stored as R + 256 G + 65536 B, and back.
QColor QColorOf(int colour);
int ColourOf(QRgb pixel);

// An image of the size at 96 dots per inch, so that point sizes give the pixel sizes the
// layout was made for whatever the screen.
QImage NewPicture(QSize size, QImage::Format format);

class Canvas;

class PictureText {
  public:
    PictureText(Canvas& canvas, const QFont& font);
    PictureText(QPainter& painter, const QFont& font);
    ~PictureText();

    // Writes text with its top-left corner at the point (pixels), transparently.
    void Write(QPointF topLeft, const QString& text, int colour);
    // The same on an opaque background: the text's box is filled with backColour first.
    void WriteOpaque(QPointF topLeft, const QString& text, int colour, int backColour);
    // The same with a narrow rim of haloColour around the letters, so that the text stays
    // readable where it crosses a dark drawing and hides little of it.
    void WriteWithHalo(QPointF topLeft, const QString& text, int colour, int haloColour);
    // The box the text takes.
    QRectF Box(QPointF topLeft, const QString& text) const;

  private:
    std::unique_ptr<Canvas> owned_; // the painter's canvas, when made from a painter
    Canvas& canvas_;
    QFont font_;
    QFontMetricsF metrics_;
};

} // namespace orbivex
