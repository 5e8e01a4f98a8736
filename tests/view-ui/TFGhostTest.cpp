// The ghost window: its scale from the zoom bar, the zoom label, "Fit" and "1:1", and the
// scroll bars that appear exactly when the picture at that scale is larger than the view.

#include "view/ui/GhostWindow.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage picture(QSize size)
{
    QImage p(size, QImage::Format_ARGB32);
    p.fill(0xFF336699u);
    return p;
}

} // namespace

TEST(TFGhost, ZoomTextAndFitPosition)
{
    QLocale::setDefault(QLocale::c());
    const struct { int position; const char* text; } texts[] = {
        {1, "3.0%"}, {98, "100.0%"}, {500, "502.0%"}, {48, "50.0%"}};
    for (const auto& c : texts)
        EXPECT_EQ(TFGhost::zoomText(c.position), QString::fromLatin1(c.text)) << c.position;

    const struct { QSize picture, view; int position; } fits[] = {
        {{400, 300}, {400, 300}, 98},   // exactly as large as the view: scale 1
        {{800, 300}, {400, 300}, 48},   // twice as wide: half
        {{400, 600}, {400, 300}, 48},   // the narrower fit wins
        {{10, 10}, {400, 300}, 500},    // held at the bar's end
        {{100000, 10}, {400, 300}, 1},  // and at its start
        {{}, {400, 300}, 98},           // no picture
    };
    for (const auto& c : fits)
        EXPECT_EQ(TFGhost::fitPosition(c.picture, c.view), c.position)
            << c.picture.width() << "x" << c.picture.height();
}

TEST(TFGhost, FitAndOneToOneSetTheScaleAndTheScrollBars)
{
    QLocale::setDefault(QLocale::c());
    TFGhost window;
    window.resize(500, 400);
    window.setPicture(picture({2000, 1500}));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Shown fitted: the whole picture in view, no scroll bars.
    const int fitted = window.zoomBar()->value();
    EXPECT_LT(fitted, 98);
    EXPECT_FALSE(window.hScroll()->isEnabled());
    EXPECT_FALSE(window.vScroll()->isEnabled());

    // 1:1: scale 1, both bars on, spanning the picture beyond the view.
    QTest::mouseClick(window.oneToOneButton(), Qt::LeftButton);
    EXPECT_EQ(window.zoomBar()->value(), 98);
    EXPECT_DOUBLE_EQ(window.scale(), 1.0);
    EXPECT_EQ(window.zoomLabel()->text(), QStringLiteral("100.0%"));
    ASSERT_TRUE(window.hScroll()->isEnabled());
    ASSERT_TRUE(window.vScroll()->isEnabled());
    const int viewWidth = window.hScroll()->pageStep();
    EXPECT_EQ(window.hScroll()->maximum(), 2000 - viewWidth);

    // Scrolled to the far end, then zoomed out a little: the position keeps the picture's end
    // in view.
    window.hScroll()->setValue(window.hScroll()->maximum());
    window.zoomBar()->setValue(78); // scale 0.8
    EXPECT_EQ(window.hScroll()->value(), 1600 - viewWidth);
    EXPECT_EQ(window.hScroll()->maximum(), 1600 - viewWidth);

    // Fit again: back to the fitted scale, bars off and at 0.
    QTest::mouseClick(window.fitButton(), Qt::LeftButton);
    EXPECT_EQ(window.zoomBar()->value(), fitted);
    EXPECT_FALSE(window.hScroll()->isEnabled());
    EXPECT_EQ(window.hScroll()->value(), 0);
}

TEST(TFGhost, ShowingAgainShowsThePictureFitted)
{
    TFGhost window;
    window.resize(500, 400);
    QImage original = picture({300, 200});
    window.setPicture(original);
    // The picture is shared, not copied; a later change of the caller's picture detaches that
    // one, so the window keeps what it was given.
    EXPECT_EQ(window.picture().constBits(), std::as_const(original).constBits());
    original.fill(0xFF000000u);
    EXPECT_EQ(window.picture().pixel(0, 0), 0xFF336699u);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.zoomBar()->setValue(300);
    window.hide();

    window.setPicture(picture({600, 400}));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.picture().size(), QSize(600, 400));
    EXPECT_NE(window.zoomBar()->value(), 300); // fitted again on showing
    EXPECT_FALSE(window.hScroll()->isEnabled());
}
