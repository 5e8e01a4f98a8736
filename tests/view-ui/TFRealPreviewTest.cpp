// The "Real Preview" window: drawing on opening and on zoom changes, restarting when the zoom
// changes while it draws, wheel zoom about the mouse, and "Save as JPEG ...".

#include "view/ui/TFRealPreview.h"

#include "support/SmallDesign.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

struct PreviewFixture : ::testing::Test
{
    SmallDesign d{60, 40};
    void SetUp() override
    {
        for (int x = 0; x < 60; ++x)
            d.doc.updatePixel(x, x % 40, kRed, false);
    }
};

} // namespace

TEST_F(PreviewFixture, OpeningDrawsAtTheZoomBarsValue)
{
    TFRealPreview w(d.doc);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Real Preview"));
    EXPECT_EQ(w.saveButton()->text(), QStringLiteral("Save as JPEG ..."));
    EXPECT_EQ(w.zoomBar()->minimum(), 5);
    EXPECT_EQ(w.zoomBar()->maximum(), 50);
    EXPECT_EQ(w.zoomBar()->value(), 8);
    EXPECT_EQ(w.zoomBar()->orientation(), Qt::Vertical);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(QTest::qWaitFor([&w] { return !w.picture().isNull(); }));
    EXPECT_EQ(w.picture().size(), QSize(480, 320));
    EXPECT_EQ(w.image()->pixmap().size(), QSize(480, 320));

    w.zoomBar()->setValue(12);
    EXPECT_EQ(w.picture().size(), QSize(720, 480));
    EXPECT_EQ(w.image()->size(), QSize(720, 480));
    w.close();
    EXPECT_EQ(w.preview().strips().size(), 0);
}

TEST_F(PreviewFixture, AZoomChangeWhileDrawingStartsAgainAtTheNewZoom)
{
    TFRealPreview w(d.doc);
    // The bar moves while the first rows are drawn (the window processes events there).
    QTimer::singleShot(0, &w, [&w] {
        EXPECT_TRUE(w.drawing());
        w.zoomBar()->setValue(11);
    });
    w.redraw();
    EXPECT_FALSE(w.drawing());
    EXPECT_EQ(w.preview().restarts(), 1);
    EXPECT_EQ(w.preview().zoom(), 11);
    EXPECT_EQ(w.picture().size(), QSize(660, 440));
}

TEST_F(PreviewFixture, WheelZoomKeepsThePointUnderTheMouse)
{
    const struct { int position, mouse, zoom, newZoom, expected; } cases[] = {
        {0, 40, 8, 9, 5},       // cell 5 under the mouse stays there
        {100, 30, 10, 9, 87},
        {0, 0, 8, 7, 0},
        {13, 3, 8, 9, 15},      // (13 + 3) div 8 x 9 - 3
    };
    for (const auto& c : cases)
        EXPECT_EQ(TFRealPreview::keptScroll(c.position, c.mouse, c.zoom, c.newZoom), c.expected);

    TFRealPreview w(d.doc);
    w.resize(400, 300);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(QTest::qWaitFor([&w] { return !w.picture().isNull(); }));
    QScrollBar* h = w.scrollBox()->horizontalScrollBar();
    QScrollBar* v = w.scrollBox()->verticalScrollBar();
    h->setValue(100);
    v->setValue(40);
    const QPoint mouse(50, 60);
    QWheelEvent up(mouse, w.scrollBox()->viewport()->mapToGlobal(mouse), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.scrollBox()->viewport(), &up);
    EXPECT_EQ(w.zoomBar()->value(), 9);
    EXPECT_EQ(w.picture().size(), QSize(540, 360));
    EXPECT_EQ(h->value(), TFRealPreview::keptScroll(100, 50, 8, 9));
    EXPECT_EQ(v->value(), TFRealPreview::keptScroll(40, 60, 8, 9));

    QWheelEvent down(mouse, w.scrollBox()->viewport()->mapToGlobal(mouse), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.scrollBox()->viewport(), &down);
    EXPECT_EQ(w.zoomBar()->value(), 8);
    // At the bar's end the wheel does nothing.
    w.zoomBar()->setValue(5);
    QApplication::sendEvent(w.scrollBox()->viewport(), &down);
    EXPECT_EQ(w.zoomBar()->value(), 5);
}

TEST_F(PreviewFixture, SaveAsJpegWritesIntoTheChosenFolder)
{
    const struct { const char* chosen; const char* written; } names[] = {
        {"/a/b/design.png", "/a/b/design.jpg"}, {"/a/b/design", "/a/b/design.jpg"},
        {"/a/b/my.design.jpeg", "/a/b/my.design.jpg"}, {"/a/b/x.jpg", "/a/b/x.jpg"},
    };
    for (const auto& n : names)
        EXPECT_EQ(TFRealPreview::jpegFileName(QString::fromLatin1(n.chosen)), QString::fromLatin1(n.written));

    TFRealPreview w(d.doc);
    QStringList messages;
    w.showMessage = [&](const QString& text) { messages << text; };
    w.redraw();
    const QString root = currentTestPath();
    QDir(root).removeRecursively();
    QDir().mkpath(root);

    // A missing folder is made (one level), the extension becomes ".jpg".
    const QString written = w.saveAsJpeg(root + QStringLiteral("/new/preview.png"));
    EXPECT_EQ(written, root + QStringLiteral("/new/preview.jpg"));
    QImageReader reader(written);
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    EXPECT_EQ(reader.size(), w.picture().size());
    EXPECT_TRUE(messages.isEmpty());

    // Two missing levels: nothing is written and the message names the file.
    const QString deep = root + QStringLiteral("/one/two/preview.jpg");
    EXPECT_EQ(w.saveAsJpeg(deep), QString());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(deep)));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/one")));

    // A file that cannot be written (its folder is a plain file) is reported the same way.
    messages.clear();
    QFile blocker(root + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString blocked = blocker.fileName() + QStringLiteral("/preview.jpg");
    EXPECT_EQ(w.saveAsJpeg(blocked), QString());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(blocked))) << messages[0].toStdString();

    // Saving again over an existing picture replaces it whole.
    w.zoomBar()->setValue(5);
    EXPECT_EQ(w.saveAsJpeg(written), written);
    EXPECT_EQ(QImageReader(written).size(), QSize(300, 200));
    EXPECT_EQ(QDir(root + QStringLiteral("/new")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"preview.jpg"});
}

TEST(TFRealPreview, APictureTooLargeToHoldIsReported)
{
    // 700 cells at zoom 50 would be 35000 pixels wide.
    SmallDesign d{700, 10};
    TFRealPreview w(d.doc);
    QStringList messages;
    w.showMessage = [&](const QString& text) { messages << text; };
    w.zoomBar()->setValue(50);
    EXPECT_FALSE(w.drawing());
    EXPECT_TRUE(w.picture().isNull());
    EXPECT_EQ(messages, QStringList{"The preview is too large to draw at this zoom."});
    EXPECT_TRUE(w.image()->pixmap().isNull());
}
