#pragma once
// Page targets and a hand-made page layout for the page painter tests: picture pages, a
// device that records what is drawn (texts, rectangles, ellipses), and a preview with the
// sizes of a small page.

#include "print/PagePainter.h"
#include "print/PrintTypes.h"
#include "print/TPreview.h"
#include "support/SmallDesign.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRect>
#include <QStringList>
#include <climits>
#include <memory>

namespace printtest {

// White picture pages of a fixed size.
class ImageTarget : public PageTarget
{
public:
    explicit ImageTarget(QSize size) : m_size(size) { start(); }
    ~ImageTarget() override { m_painter.end(); }
    QPainter& painter() override { return m_painter; }
    void beginPage() override
    {
        m_painter.end();
        m_done.append(m_image);
        start();
    }
    // Pages finished so far and the current one.
    QList<QImage> pages()
    {
        m_painter.end();
        QList<QImage> all = m_done;
        all.append(m_image);
        m_painter.begin(&m_image);
        return all;
    }
    QImage current()
    {
        m_painter.end();
        QImage copy = m_image;
        m_painter.begin(&m_image);
        return copy;
    }

private:
    void start()
    {
        m_image = QImage(m_size, QImage::Format_RGB32);
        m_image.fill(Qt::white);
        m_painter.begin(&m_image);
        markFresh();
    }
    QSize m_size;
    QImage m_image;
    QPainter m_painter;
    QList<QImage> m_done;
};

// One page on a device the test opens and closes itself (a PDF writer of one page).
struct PainterTarget : PageTarget
{
    QPainter p;
    QPainter& painter() override { return p; }
    void beginPage() override {}
};

// What a recording page received.
struct Recorded
{
    struct Text
    {
        QString text;
        QPointF baseline;
        int pixelSize = 0;
        QColor ink;
        bool bold = false;
        QString family;
        int page = 0;
    };
    struct Shape
    {
        QRectF rect;
        QColor pen;
        Qt::PenStyle penStyle = Qt::SolidLine;
        QColor brush;
        Qt::BrushStyle brushStyle = Qt::NoBrush;
    };
    QList<Text> texts;
    QList<Shape> rects;
    QList<Shape> ellipses;
    int page = 0;
    QStringList strings() const
    {
        QStringList out;
        for (const Text& t : texts)
            if (!t.text.isEmpty())
                out.append(t.text);
        return out;
    }
};

class RecordingEngine : public QPaintEngine
{
public:
    explicit RecordingEngine(Recorded& out) : QPaintEngine(AllFeatures), m_out(out) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& s) override
    {
        if (s.state() & DirtyPen)
            m_pen = s.pen();
        if (s.state() & DirtyBrush)
            m_brush = s.brush();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawLines(const QLineF*, int) override {}
    void drawRects(const QRectF* rects, int n) override
    {
        for (int i = 0; i < n; ++i)
            m_out.rects.append(shape(rects[i]));
    }
    void drawRects(const QRect* rects, int n) override
    {
        for (int i = 0; i < n; ++i)
            m_out.rects.append(shape(QRectF(rects[i])));
    }
    void drawEllipse(const QRectF& r) override { m_out.ellipses.append(shape(r)); }
    void drawEllipse(const QRect& r) override { m_out.ellipses.append(shape(QRectF(r))); }
    void drawTextItem(const QPointF& p, const QTextItem& ti) override
    {
        m_out.texts.append({ti.text(), p, ti.font().pixelSize(), m_pen.color(), ti.font().bold(),
                            ti.font().family(), m_out.page});
    }
    Type type() const override { return User; }

private:
    Recorded::Shape shape(const QRectF& r) const
    {
        return {r, m_pen.color(), m_pen.style(), m_brush.color(), m_brush.style()};
    }
    Recorded& m_out;
    QPen m_pen;
    QBrush m_brush;
};

class RecordingDevice : public QPaintDevice
{
public:
    RecordingDevice(QSize size, Recorded& out) : m_size(size), m_engine(out) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmWidthMM: return m_size.width() * 254 / 960;
        case PdmHeightMM: return m_size.height() * 254 / 960;
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSize m_size;
    mutable RecordingEngine m_engine;
};

// A target whose pages are recorded; beginPage counts pages.
class RecordingTarget : public PageTarget
{
public:
    explicit RecordingTarget(QSize size) : m_device(size, rec) { m_painter.begin(&m_device); }
    ~RecordingTarget() override { m_painter.end(); }
    QPainter& painter() override { return m_painter; }
    void beginPage() override
    {
        ++rec.page;
        markFresh();
    }
    Recorded rec;

private:
    RecordingDevice m_device;
    QPainter m_painter;
};

// The key entry of colour `c` of the small design, as the key list would build it.
inline TMyColor keyEntry(const testsupport::SmallDesign& design, ColorKey c, qint32 count,
                         TColorType type = ctCross)
{
    const TColorInfo* info = design.stitch.Colors.find(c);
    TMyColor e;
    e.Name = info->colorName;
    e.Color = c;
    e.Symbol = design.stitch.chars.symbolAt(info->charID);
    e.Count = count;
    e.ColorType = type;
    return e;
}

// The sizes of a small page (600 x 500 pixels at 96 pixels per inch, 4 pixels per millimetre,
// cells of 20 pixels, a 40-pixel ruler margin, thick, medium and thin lines of 4, 2 and 1).
inline TPreview smallPreview()
{
    TPreview v;
    v.pagewidthReal = 600;
    v.pageheightReal = 500;
    v.inlineBorderPX = QRect(20, 20, 12, 20);
    v.pagewidth = 600 - 32;
    v.pageheight = 500 - 40;
    v.pixelsPerInch = 96;
    v.mmPx = v.mmPy = 4;
    v.gridX = v.gridY = 5;
    v.gridWidthPx = v.gridHeightPx = 20;
    v.ThickLinesPx = 4;
    v.MediumLinesPx = 2;
    v.ThinLinesPx = 0.5;
    v.BackStitchLinesPx = 2;
    v.SymbolSizePX = 16;
    v.titleHeightPx = 40;
    v.CommentHeightPX = 60;
    v.borderPX = 40;
    v.keyWidthPx = 240;
    v.keyHeightPx = 24;
    v.LegendDistance = 20;
    v.position = pSeparate;
    v.useColors = true;
    v.pageNumber = 5;
    return v;
}

// A chart page of the small preview as the layout places it: the first page row leaves room
// for the title and comment, the inline border is added to the offsets.
inline TMyPage chartPage(const TPreview& v, int col0, int cols, int row0, int rows, bool isLeft,
                         bool isTop, TPrintStitches kind = psBoth)
{
    TMyPage p;
    p.PrintStitches = kind;
    p.pageNum = 1;
    p.isLeft = isLeft;
    p.isTop = isTop;
    p.xOffcetPx = v.borderLeftPx();
    p.yOffcetPx = v.borderTopPx() + (isTop ? v.titleHeightPx + v.CommentHeightPX : 0);
    p.cellsX = cols;
    p.cellsY = rows;
    p.cellXFirst = col0;
    p.cellXLast = col0 + cols - 1;
    p.cellYFirst = row0;
    p.cellYLast = row0 + rows - 1;
    p.keycols = 1;
    return p;
}

} // namespace printtest
