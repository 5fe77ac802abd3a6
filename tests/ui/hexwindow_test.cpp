// The hex viewer widget: keys and clicks reach the model, and the drawing colours bytes by
// status.
#include "ui/hexwindow.h"

#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace isp {
namespace {

// Counts the pixels of a colour inside a rectangle of the rendered view.
int PixelsOf(const QImage& image, const QRect& rect, QColor colour) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom() && y < image.height(); ++y) {
        for (int x = rect.left(); x <= rect.right() && x < image.width(); ++x) {
            count += image.pixelColor(x, y) == colour;
        }
    }
    return count;
}

TEST(HexWindow, ClickTypeAndColours) {
    THexList buffer;
    buffer.SetSize(4096);
    THexWindow view;
    view.resize(800, 400);
    view.SetData(&buffer);
    view.show();

    const int cw = view.CharWidth();
    const int lh = view.LineHeight();
    const QPoint cell(4 + 9 * cw + 3 * cw * 2 + cw, 4 + lh + lh / 2); // address 0x12
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell);
    view.viewport()->repaint();
    QTest::keyClicks(&view, "3a");
    EXPECT_EQ(buffer.GetValue(0x12), 0x3A);
    EXPECT_EQ(view.Model().Cursor(), 0x13);

    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.Model().Cursor(), 4095);
    EXPECT_EQ(view.verticalScrollBar()->value(), 4095 / 16);
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);

    buffer.SetStatus(0x21, ps_failed);
    buffer.SetStatus(0x22, ps_verified);
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    view.viewport()->render(&image);
    const auto cellRect = [&](int line, int i) {
        return QRect(4 + 9 * cw + 3 * cw * i, 4 + lh * line, 2 * cw, lh);
    };
    EXPECT_GT(PixelsOf(image, cellRect(2, 1), view.ErrorColor), 0);
    EXPECT_GT(PixelsOf(image, cellRect(2, 2), view.PassColor), 0);
    EXPECT_EQ(PixelsOf(image, cellRect(2, 3), view.ErrorColor), 0);
}

} // namespace
} // namespace isp
