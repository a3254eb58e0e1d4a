#include "app/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace orbivex {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picGraphic"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PictureBox::SetImage(const QImage& image) {
    image_ = image;
    updateGeometry();
    update();
}

void PictureBox::Clear() {
    image_ = QImage();
    update();
}

void PictureBox::SetDimmed(bool dimmed) {
    if (dimmed != dimmed_) {
        dimmed_ = dimmed;
        update();
    }
}

QSize PictureBox::sizeHint() const {
    return image_.isNull() ? QWidget::sizeHint() : image_.deviceIndependentSize().toSize();
}

double PictureBox::DisplayScale() const {
    const QSizeF size = image_.deviceIndependentSize();
    if (image_.isNull() || size.isEmpty()) {
        return 1.0;
    }
    return std::min(width() / size.width(), height() / size.height());
}

QRectF PictureBox::ImageRect() const {
    const QSizeF size = image_.deviceIndependentSize() * DisplayScale();
    return {(width() - size.width()) / 2.0, (height() - size.height()) / 2.0, size.width(),
            size.height()};
}

QPoint PictureBox::WidgetPointOf(QPoint imagePixel) const {
    const QPointF at =
        ImageRect().topLeft() + (QPointF(imagePixel) + QPointF(0.5, 0.5)) * DisplayScale();
    return {static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y()))};
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (dimmed_) {
        painter.setOpacity(0.35);
    }
    painter.drawImage(ImageRect(), image_);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && onRightButtonReleased) {
        const QRectF shown = ImageRect();
        if (!shown.contains(event->position())) {
            event->accept(); // beside the picture: nothing to name
            return;
        }
        const QPointF inImage = (event->position() - shown.topLeft()) / DisplayScale();
        onRightButtonReleased(QPoint(static_cast<int>(std::floor(inImage.x())),
                                     static_cast<int>(std::floor(inImage.y()))));
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

} // namespace orbivex
