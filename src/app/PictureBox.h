#pragma once
// The main window's picture area (picGraphic): shows an image at its own size and reports
// where the right mouse button was released over it. What is drawn and what a click means is
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

    // Shows the image; the widget takes the image's size in device-independent pixels.
    void SetImage(const QImage& image);
    const QImage& Image() const { return image_; }
    // Shows nothing (the widget keeps its size).
    void Clear();

    // Called with the position (pixels of the image) where the right button was released.
    std::function<void(QPoint)> onRightButtonReleased;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage image_;
};

} // namespace orbivex
