#include "app/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace orbivex {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picGraphic"));
}

void PictureBox::SetImage(const QImage& image) {
    image_ = image;
    if (!image_.isNull()) {
        setFixedSize(image_.deviceIndependentSize().toSize());
    }
    update();
}

void PictureBox::Clear() {
    image_ = QImage();
    update();
}

QSize PictureBox::sizeHint() const {
    return image_.isNull() ? QWidget::sizeHint() : image_.deviceIndependentSize().toSize();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image_);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && onRightButtonReleased) {
        onRightButtonReleased(event->position().toPoint());
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

} // namespace orbivex
