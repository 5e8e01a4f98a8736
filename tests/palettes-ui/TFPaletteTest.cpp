// The palette pop-up on a design with the shipped DMC palette: the swatches in their colours
// and palette order, the hatch past the end, the text of each view in the ink of its swatch,
// the view setting, the choice of a colour and the fades.
#include "core/PatternDocument.h"
#include "core/TStitch.h"
#include "palettes/ui/TFPalette.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kColumns = 8;
const int kWidth = PalettePopup::kGridReserve + kColumns * (PalettePopup::kColumnWidth + 1);

class TFPaletteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString settings = testsupport::tempRoot() + QStringLiteral("/tfpalette.ini");
        QFile::remove(settings);
        m_session = std::make_unique<Session>(
            Session::Options{settings, testsupport::shippedDataDir()});
        m_session->initialiseWithNewDesign();
        ASSERT_EQ(stitch().colorsname(), QStringLiteral("DMC"));
        ASSERT_GT(stitch().Colors.size(), 400);
    }

    TStitch& stitch() { return m_session->stitch(); }
    PatternDocument& doc() { return m_session->document(); }

    // A pop-up shown at the test size, faded in.
    std::unique_ptr<TFPalette> shownPopup()
    {
        auto w = std::make_unique<TFPalette>(stitch(), doc());
        w->resize(kWidth, 300);
        w->show();
        finishFade(*w);
        return w;
    }

    static void finishFade(TFPalette& w)
    {
        for (int i = 0; i < 100 && w.fade().running(); ++i)
            w.Timer1Timer();
    }

    // The grid as drawn, in viewport coordinates.
    static QImage gridImage(TFPalette& w)
    {
        return w.grid()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    static QSet<QRgb> colorsIn(const QImage& img, const QRect& r)
    {
        QSet<QRgb> set;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                set.insert(img.pixel(x, y) | 0xFF000000u);
        return set;
    }

    // The first visible cell whose swatch has white ink (dark) or black ink (light).
    static QPoint cellWithInk(TFPalette& w, bool white, const char* mustHaveText = nullptr)
    {
        for (int c = 0; c < w.popup().columns(); ++c) {
            for (int r = 0; r < 8; ++r) {
                const PaletteCell cell = w.popup().cell(c, r);
                if (cell.kind == PaletteCell::Swatch && symbolInkIsWhite(cell.color) == white
                    && (!mustHaveText || !cell.text.isEmpty()))
                    return {c, r};
            }
        }
        return {-1, -1};
    }

    void chooseView(TFPalette& w, int index)
    {
        QComboBox* box = w.viewBox();
        box->setFocus();
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }

    std::unique_ptr<Session> m_session;
};

TEST_F(TFPaletteTest, IsABorderlessStayOnTopWindowWithTheViewList)
{
    TFPalette w(stitch(), doc());
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(w.grid()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QStringList items;
    for (int i = 0; i < w.viewBox()->count(); ++i)
        items << w.viewBox()->itemText(i);
    EXPECT_EQ(items, QStringList({"None", "Color number", "Usage", "ColorName", "Symbol"}));
}

TEST_F(TFPaletteTest, ShowsEveryDesignColourInPaletteOrderColumnByColumn)
{
    auto w = shownPopup();
    const QList<TSimpleColorInfo>& list = stitch().colorsList;
    ASSERT_EQ(list.size(), stitch().Colors.size());
    for (int i = 1; i < list.size(); ++i)
        ASSERT_LE(list[i - 1].orderID, list[i].orderID);
    const int rows = (list.size() + kColumns - 1) / kColumns;
    EXPECT_EQ(w->popup().columns(), kColumns);
    EXPECT_EQ(w->popup().rows(), rows);

    const QImage img = gridImage(*w);
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < 4; ++r) {
            const QRect cell = w->grid()->cellRect(c, r);
            const ColorKey expected = list[c * rows + r].color;
            EXPECT_EQ(colorsIn(img, cell), QSet<QRgb>({keyToQColor(expected).rgb()}))
                << "cell " << c << "," << r;
        }
    }
    // The grid lines between the cells.
    const QRect first = w->grid()->cellRect(0, 0);
    EXPECT_EQ(first.size(), QSize(64, 24));
    EXPECT_EQ(w->grid()->cellRect(1, 1).topLeft(), first.topLeft() + QPoint(65, 25));
}

TEST_F(TFPaletteTest, CellsPastTheEndAreHatchedInSilver)
{
    auto w = shownPopup();
    const int n = stitch().colorsList.size();
    const int rows = w->popup().rows();
    ASSERT_NE(n % rows, 0) << "the last column must have empty cells for this test";
    QScrollBar* bar = w->grid()->verticalScrollBar();
    bar->setValue(bar->maximum());
    const QImage img = gridImage(*w);
    const QRect empty = w->grid()->cellRect(kColumns - 1, rows - 1);
    ASSERT_EQ(w->popup().entryIndex(kColumns - 1, rows - 1), -1);
    EXPECT_EQ(colorsIn(img, empty), QSet<QRgb>({qRgb(255, 255, 255), qRgb(192, 192, 192)}));
}

// Each view draws its text in the ink of the swatch, without antialiasing: the cell holds the
// swatch colour and the ink only. "None" and cells without a text show the bare swatch.
TEST_F(TFPaletteTest, EachViewDrawsItsTextInTheInkOfTheSwatch)
{
    auto w = shownPopup();
    // Give a dark and a light colour in view some use.
    const QPoint darkAt = cellWithInk(*w, true), lightAt = cellWithInk(*w, false);
    const ColorKey dark = w->popup().cell(darkAt.x(), darkAt.y()).color;
    const ColorKey light = w->popup().cell(lightAt.x(), lightAt.y()).color;
    doc().updatePixel(0, 0, dark, true);
    doc().updatePixel(1, 0, dark, true);
    doc().updatePixel(2, 0, light, true);

    for (int view = pvNone; view <= pvSymbol; ++view) {
        SCOPED_TRACE(testing::Message() << "view " << view);
        chooseView(*w, view);
        ASSERT_EQ(w->viewBox()->currentIndex(), view);
        EXPECT_EQ(w->popup().view(), view);
        EXPECT_EQ(stitch().PaletteView, view);
        const QImage img = gridImage(*w);
        for (bool white : {true, false}) {
            const QPoint at = cellWithInk(*w, white, view == pvNone ? nullptr : "text");
            ASSERT_GE(at.x(), 0);
            const PaletteCell cell = w->popup().cell(at.x(), at.y());
            const QRgb swatch = keyToQColor(cell.color).rgb();
            const QRgb ink = white ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            const QSet<QRgb> seen = colorsIn(img, w->grid()->cellRect(at.x(), at.y()));
            if (view == pvNone)
                EXPECT_EQ(seen, QSet<QRgb>({swatch}));
            else
                EXPECT_EQ(seen, QSet<QRgb>({swatch, ink}))
                    << "cell " << at.x() << "," << at.y() << " text " << cell.text.toStdString();
        }
        if (view == pvUsage) {
            // Used colours show their count, unused ones nothing.
            int shown = 0;
            for (int i = 0; i < kColumns * w->popup().rows(); ++i) {
                const PaletteCell cell = w->popup().cell(i / w->popup().rows(), i % w->popup().rows());
                if (cell.color == dark)
                    EXPECT_EQ(cell.text, QStringLiteral("2"));
                else if (cell.color == light)
                    EXPECT_EQ(cell.text, QStringLiteral("1"));
                else
                    EXPECT_TRUE(cell.text.isEmpty());
                shown += cell.text.isEmpty() ? 0 : 1;
            }
            EXPECT_EQ(shown, 2);
        }
        if (view == pvColorNumber || view == pvColorName || view == pvSymbol) {
            const PaletteCell cell = w->popup().cell(0, 0);
            const TColorInfo info = stitch().Colors.value(cell.color);
            const QString expected = view == pvColorNumber ? info.colorID
                : view == pvColorName ? info.colorName
                                      : QString(stitch().chars.symbolAt(info.charID));
            EXPECT_EQ(cell.text, expected);
        }
    }
}

TEST_F(TFPaletteTest, TheViewComesFromTheSettings)
{
    stitch().PaletteView = pvColorName;
    TFPalette w(stitch(), doc());
    EXPECT_EQ(w.viewBox()->currentIndex(), pvColorName);
    stitch().PaletteView = 9;
    TFPalette bad(stitch(), doc());
    EXPECT_EQ(bad.viewBox()->currentIndex(), pvNone);
    EXPECT_EQ(stitch().PaletteView, pvNone);
}

TEST_F(TFPaletteTest, FadesInWhenShown)
{
    TFPalette w(stitch(), doc());
    w.resize(kWidth, 300);
    w.show();
    EXPECT_EQ(w.fade().state(), PaletteFade::FadingIn);
    EXPECT_EQ(w.fade().alpha(), 10);
    EXPECT_TRUE(w.timer()->isActive());
    EXPECT_EQ(w.timer()->interval(), 8);
    finishFade(w);
    EXPECT_EQ(w.fade().alpha(), 255);
    EXPECT_FALSE(w.timer()->isActive());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(TFPaletteTest, ClickingASwatchChoosesItsColourAndFadesOut)
{
    auto w = shownPopup();
    QSignalSpy chosen(w.get(), &TFPalette::colorChosen);
    const int rows = w->popup().rows();
    const ColorKey expected = stitch().colorsList[2 * rows + 1].color;
    ASSERT_NE(stitch().drawcolor(), expected);
    QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, {}, w->grid()->cellRect(2, 1).center());
    EXPECT_EQ(stitch().drawcolor(), expected);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.first().first().value<ColorKey>(), expected);
    EXPECT_EQ(w->fade().state(), PaletteFade::FadingOut);
    finishFade(*w);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->fade().alpha(), 255);
}

TEST_F(TFPaletteTest, ClickingPastTheEndOrOnAGridLineDoesNothing)
{
    auto w = shownPopup();
    QScrollBar* bar = w->grid()->verticalScrollBar();
    bar->setValue(bar->maximum());
    const ColorKey before = stitch().drawcolor();
    const QRect empty = w->grid()->cellRect(kColumns - 1, w->popup().rows() - 1);
    QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, {}, empty.center());
    const QRect first = w->grid()->cellRect(0, w->popup().rows() - 1);
    QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, {},
                      QPoint(first.right() + 1, first.center().y()));
    EXPECT_EQ(stitch().drawcolor(), before);
    EXPECT_EQ(w->fade().state(), PaletteFade::Idle);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(TFPaletteTest, LosingTheFocusFadesOutAndTellsThePaletteButton)
{
    auto w = shownPopup();
    QSignalSpy deactivated(w.get(), &TFPalette::deactivated);
    QSignalSpy panels(w.get(), &TFPalette::colorPanelsUpdate);
    w->FormDeactivate();
    EXPECT_EQ(deactivated.size(), 1);
    EXPECT_EQ(panels.size(), 1);
    EXPECT_EQ(w->fade().state(), PaletteFade::FadingOut);
    finishFade(*w);
    EXPECT_FALSE(w->isVisible());
    // Shown again: the snapshot is taken afresh and the window fades in once more.
    stitch().colorsList.clear();
    w->show();
    EXPECT_EQ(stitch().colorsList.size(), stitch().Colors.size());
    EXPECT_EQ(w->fade().state(), PaletteFade::FadingIn);
}

TEST_F(TFPaletteTest, ShowPalettePopupKeepsOneWindowPerParent)
{
    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    TFPalette* a = showPalettePopup(&parent, stitch(), doc());
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isVisible());
    EXPECT_GE(a->popup().columns(), 1);
    a->close();
    TFPalette* b = showPalettePopup(&parent, stitch(), doc());
    EXPECT_EQ(a, b);
    EXPECT_TRUE(b->isVisible());
}

} // namespace
