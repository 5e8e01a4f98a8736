// How the window shows its ghost picture, without widgets: making a ghost shows the overlay,
// dropping it hides it and disables the button, the percentage entries set the opacity, a
// click toggles the overlay or the ghost window by the button's mode, a re-initialisation
// resets opacity and mode, and a new background colour is followed at once.

#include "view/GhostState.h"

#include "core/PatternDocument.h"
#include "view/ChartView.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

constexpr TColor32 kCell = 0xFFC80A0Au;
// Black laid over kCell (red 200, green and blue 10) at the start opacity 50 of 255: each
// channel becomes B - B x 50 / 255, rounded (200 -> 161, 10 -> 8).
constexpr TColor32 kCellUnderBlack50 = 0xFFA10808u;

// A 2 x 1 design of two red cells in a view with no grid, and a ghost white on the left and
// black on the right.
struct GhostFixture : testing::Test
{
    GhostFixture()
    {
        doc.CreateNewTemplate(2, 1, QString(), QString());
        doc.CrossCells.fill(kCell);
        view.setViewportSize({30, 20});
        view.setGridVisible(false);
        view.repaintAll();
        ghostImage.setPixel(0, 0, 0xFFFFFFFFu);
        ghostImage.setPixel(1, 0, 0xFF000000u);
    }

    void loadGhost()
    {
        picture.ghostPicture = ghostImage;
        state.ghostPictureReplaced();
    }
    // The chart pixel in the middle of cell (x, 0).
    TColor32 cellPixel(int x) const
    {
        const QRect r = view.geometry().cellRect(x, 0);
        return TColor32(view.image().pixel(r.center()));
    }

    TStitch stitch;
    PatternDocument doc{stitch};
    ChartView view{doc};
    GhostPicture picture;
    GhostState state{view, doc, picture};
    QImage ghostImage{2, 1, QImage::Format_ARGB32};
};

} // namespace

TEST_F(GhostFixture, MakingShowsTheOverlayAndDroppingHidesIt)
{
    QSignalSpy loaded(&state, &GhostState::loadedChanged);
    QSignalSpy pressed(&state, &GhostState::buttonPressed);
    EXPECT_FALSE(state.GhostLoaded());
    EXPECT_EQ(cellPixel(1), kCell);

    loadGhost();
    EXPECT_TRUE(state.GhostLoaded());
    EXPECT_TRUE(state.showGhostLayer());
    ASSERT_EQ(loaded.size(), 1);
    EXPECT_TRUE(loaded.at(0).at(0).toBool());
    ASSERT_FALSE(pressed.isEmpty());
    EXPECT_TRUE(pressed.last().at(0).toBool());
    // Opacity 50 of 255: black darkens the right cell, white leaves the left one as it is.
    EXPECT_EQ(cellPixel(0), kCell);
    EXPECT_EQ(cellPixel(1), kCellUnderBlack50);

    state.dropGhost();
    EXPECT_FALSE(state.GhostLoaded());
    EXPECT_FALSE(state.showGhostLayer());
    EXPECT_FALSE(picture.isLoaded());
    EXPECT_FALSE(loaded.last().at(0).toBool());
    EXPECT_EQ(cellPixel(1), kCell);

    // Replacing with no picture drops; a click with nothing loaded shows nothing.
    state.ghostPictureReplaced();
    EXPECT_FALSE(state.GhostLoaded());
    EXPECT_FALSE(state.clickButton(false));
    EXPECT_EQ(cellPixel(1), kCell);
}

TEST_F(GhostFixture, PercentEntriesSetTheOpacityAndShowTheOverlay)
{
    loadGhost();
    state.setShowGhostLayer(false);
    // The pixel expected under black at each opacity w: 200 and 10 scaled by (255 - w) / 255.
    const struct { int percent, opacity; TColor32 pixel; } cases[] = {
        {10, 25, 0xFFB40909u}, {20, 51, 0xFFA00808u}, {50, 127, 0xFF640505u},
        {90, 229, 0xFF140101u}, {100, 255, 0xFF000000u}};
    for (const auto& c : cases) {
        state.choosePercent(c.percent);
        EXPECT_EQ(state.ghostOpacity(), c.opacity) << c.percent;
        EXPECT_TRUE(state.showGhostLayer()) << c.percent;
        EXPECT_EQ(state.ghostButtonMode(), GhostState::ButtonMode::Overlay);
        EXPECT_EQ(cellPixel(1), c.pixel) << c.percent;
        EXPECT_EQ(cellPixel(0), kCell) << c.percent; // white over the white background
    }
    // At 100 % the ghost covers the cell completely.
    EXPECT_EQ(cellPixel(1), 0xFF000000u);
}

TEST_F(GhostFixture, AClickTogglesTheOverlayOrTheWindowByTheMode)
{
    loadGhost();
    EXPECT_FALSE(state.clickButton(false)); // overlay mode: hidden
    EXPECT_FALSE(state.showGhostLayer());
    EXPECT_TRUE(state.clickButton(false)); // shown again
    EXPECT_TRUE(state.showGhostLayer());

    QSignalSpy shown(&state, &GhostState::showWindow);
    QSignalSpy hidden(&state, &GhostState::hideWindow);
    QSignalSpy pressed(&state, &GhostState::buttonPressed);
    QSignalSpy mode(&state, &GhostState::buttonModeChanged);
    state.chooseShadowImage();
    EXPECT_EQ(state.ghostButtonMode(), GhostState::ButtonMode::Window);
    EXPECT_EQ(mode.size(), 1);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.at(0).at(0).value<QImage>(), ghostImage);
    // The window is given the ghost picture itself (shared), not a deep copy of it.
    EXPECT_EQ(shown.at(0).at(0).value<QImage>().constBits(), picture.ghostPicture.constBits());
    EXPECT_TRUE(state.showGhostLayer()); // the overlay stays as it was

    // Window mode: a click hides a visible window and shows a hidden one (the same picture).
    EXPECT_FALSE(state.clickButton(true));
    EXPECT_EQ(hidden.size(), 1);
    EXPECT_TRUE(state.clickButton(false));
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.at(1).at(0).value<QImage>().constBits(), picture.ghostPicture.constBits());
    EXPECT_TRUE(state.showGhostLayer());

    // Closing the active window releases the button, in window mode only.
    pressed.clear();
    state.windowClosedWhileActive();
    ASSERT_EQ(pressed.size(), 1);
    EXPECT_FALSE(pressed.at(0).at(0).toBool());
    state.choosePercent(30);
    pressed.clear();
    state.windowClosedWhileActive();
    EXPECT_TRUE(pressed.isEmpty());
}

TEST_F(GhostFixture, ReinitialisingResetsOpacityAndModeAndKeepsThePictureForTheNewDesign)
{
    loadGhost();
    state.choosePercent(100);
    state.chooseShadowImage();
    QSignalSpy hidden(&state, &GhostState::hideWindow);
    state.reinitialise();
    EXPECT_EQ(state.ghostOpacity(), 50);
    EXPECT_EQ(state.ghostButtonMode(), GhostState::ButtonMode::Overlay);
    EXPECT_FALSE(state.showGhostLayer());
    EXPECT_EQ(hidden.size(), 1);
    // The design that follows brought a ghost: it is shown at the start opacity.
    state.ghostPictureReplaced();
    EXPECT_TRUE(state.showGhostLayer());
    EXPECT_EQ(cellPixel(1), kCellUnderBlack50);
}

TEST_F(GhostFixture, ANewBackgroundDecidesWhichGhostPixelsLeaveTheChart)
{
    loadGhost();
    state.choosePercent(100);
    EXPECT_EQ(cellPixel(0), kCell); // white ghost over a white background: no cover
    doc.changeBackgroundColor(makeColorKey(0, 0, 0));
    EXPECT_EQ(cellPixel(0), 0xFFFFFFFFu); // white now covers
    EXPECT_EQ(cellPixel(1), kCell);       // black is the background now: the chart shows
}
