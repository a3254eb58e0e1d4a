#include "app/PictureBox.h"

#include "common/TestSupport.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <vector>

namespace orbivex {
namespace {

void Release(QWidget& widget, QPoint position, Qt::MouseButton button) {
    QMouseEvent event(QEvent::MouseButtonRelease, QPointF(position),
                      widget.mapToGlobal(QPointF(position)), button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

TEST(PictureBox, ShowsTheImageAtItsSizeAndReportsRightButtonReleases) {
    PictureBox picture;
    EXPECT_EQ(picture.objectName(), QStringLiteral("picGraphic"));
    QImage image(660, 440, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    picture.SetImage(image);
    EXPECT_EQ(picture.size(), QSize(660, 440));
    EXPECT_EQ(picture.Image(), image);
    // What the widget paints is the image.
    EXPECT_EQ(picture.grab().toImage().convertToFormat(QImage::Format_RGB32), image);

    std::vector<QPoint> clicks;
    Release(picture, {10, 20}, Qt::RightButton); // nobody listening yet: nothing happens
    picture.onRightButtonReleased = [&](QPoint p) { clicks.push_back(p); };
    Release(picture, {123, 45}, Qt::RightButton);
    Release(picture, {50, 50}, Qt::LeftButton);
    EXPECT_EQ(clicks, std::vector<QPoint>{QPoint(123, 45)});

    picture.Clear();
    EXPECT_TRUE(picture.Image().isNull());
    EXPECT_EQ(picture.size(), QSize(660, 440));
}

} // namespace
} // namespace orbivex
