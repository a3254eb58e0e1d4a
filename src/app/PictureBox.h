#pragma once
// The main window's picture area (picGraphic, and the wheel beside the grid): shows an image as
// large as the widget allows, centred and in its proportions, and reports where the right mouse
// button was released over it, in pixels of the image. What is drawn and what a click means is
// decided elsewhere; this widget only shows and reports.

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

namespace orbivex {

class PictureBox : public QWidget {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    const QImage& Image() const { return image_; }
    // Shows nothing.
    void Clear();
    // Drawn pale, as a picture that no longer answers to the dates.
    void SetDimmed(bool dimmed);

    // How many widget pixels an image pixel takes (1 at the image's own size).
    double DisplayScale() const;
    // Where the image stands in the widget, and where in the widget the centre of one of the
    // image's pixels is shown.
    QRectF ImageRect() const;
    QPoint WidgetPointOf(QPoint imagePixel) const;

    // Called with the position (pixels of the image) where the right button was released.
    std::function<void(QPoint)> onRightButtonReleased;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage image_;
    bool dimmed_ = false;
};

} // namespace orbivex
