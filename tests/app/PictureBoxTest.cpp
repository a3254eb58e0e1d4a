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

TEST(PictureBox, ShowsTheImageCentredAsLargeAsItFitsAndReportsReleasesInImagePixels) {
    QImage image(660, 440, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    struct Case {
        QSize widget;
        double scale;
        QPointF topLeft; // of the image in the widget
    };
    for (const Case& c : {Case{{660, 440}, 1.0, {0, 0}}, Case{{1320, 1000}, 2.0, {0, 60}},
                          Case{{990, 700}, 1.5, {0, 20}}}) {
        SCOPED_TRACE(c.widget.width());
        PictureBox picture;
        picture.resize(c.widget);
        picture.SetImage(image);
        EXPECT_EQ(picture.size(), c.widget); // the image does not size the widget
        EXPECT_DOUBLE_EQ(picture.DisplayScale(), c.scale);
        EXPECT_EQ(picture.ImageRect(), QRectF(c.topLeft, QSizeF(660, 440) * c.scale));

        std::vector<QPoint> clicks;
        Release(picture, {10, 20}, Qt::RightButton); // nobody listening yet: nothing happens
        picture.onRightButtonReleased = [&](QPoint p) { clicks.push_back(p); };
        Release(picture, picture.WidgetPointOf({123, 45}), Qt::RightButton);
        Release(picture, picture.WidgetPointOf({50, 50}), Qt::LeftButton);
        Release(picture, {c.widget.width() - 1, c.widget.height() - 1}, Qt::RightButton);
        // The last release is beside the image unless the image fills the widget.
        std::vector<QPoint> expected{QPoint(123, 45)};
        if (c.topLeft.y() < 1) {
            expected.emplace_back(659, 439);
        }
        EXPECT_EQ(clicks, expected);
    }
    // At its own size what the widget paints is the image; Clear leaves it empty.
    PictureBox picture;
    picture.resize(660, 440);
    picture.SetImage(image);
    EXPECT_EQ(picture.grab().toImage().convertToFormat(QImage::Format_RGB32), image);
    picture.Clear();
    EXPECT_TRUE(picture.Image().isNull());
}

} // namespace
} // namespace orbivex
