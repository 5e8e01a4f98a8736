// Printing in real mode and the title page's picture: the design drawn with thread textures.
#include "RealMode.h"

#include "core/PatternDocument.h"
#include "palettes/CmykTable.h"

#include <QPainter>
#include <atomic>

namespace {

std::atomic<int> g_textureSets{0};

} // namespace

RealModeTextures::RealModeTextures(const PatternDocument& doc, const TStitch& stitch, QSize cell,
                                   bool cmyk, const StitchTextures& textures)
    : m_doc(doc), m_stitch(stitch), m_textures(textures), m_cell(cell), m_cmyk(cmyk), m_strips(textures, cell)
{
    ++g_textureSets;
    if (cell.isEmpty())
        return;
    // The fabric in the background colour, full size for the colour textures and at the cell.
    const QImage fabricFull
        = tintedWith(textures.picture(txbackQMK), printedColor(pixelToKey(stitch.BackGroundColor)));
    m_fabric = scaledTexture(fabricFull, cell).convertToFormat(QImage::Format_RGB32);
    m_knot = scaledTexture(textures.picture(txFrenchKnot), cell);

    const int w = cell.width(), h = cell.height();
    const QList<qint32>& used = stitch.chars.CharsUsed;
    for (const auto& [color, info] : stitch.Colors) {
        if (info.charID < 0 || info.charID >= used.size() || used[info.charID] < 1)
            continue;
        const ColorKey tint = printedColor(color);
        ColorTextures t;
        QImage cross = fabricFull;
        drawTransparent(cross, tintedWith(textures.picture(txPixel), tint), QPoint(0, 0));
        t.cross = scaledTexture(cross, cell);
        // Quarters: the quarter picture two by two over the fabric, cut into the four corners.
        QImage tiled = fabricFull;
        const QImage q = tintedWith(textures.picture(txQuarter), tint);
        const int half = fabricFull.width() / 2;
        for (QPoint at : {QPoint(0, 0), QPoint(half, 0), QPoint(0, half), QPoint(half, half)})
            drawTransparent(tiled, q, at);
        const QImage scaled = scaledTexture(tiled, cell);
        t.quarters = {scaled.copy(0, 0, w / 2, h / 2), scaled.copy(w / 2, 0, w - w / 2, h / 2),
                      scaled.copy(0, h / 2, w / 2, h - h / 2),
                      scaled.copy(w / 2, h / 2, w - w / 2, h - h / 2)};
        m_colors.insert(color, t);
    }
}

int RealModeTextures::textureSetsBuilt()
{
    return g_textureSets.load();
}

ColorKey RealModeTextures::printedColor(ColorKey c) const
{
    return printColor(m_stitch, c, m_cmyk);
}

const QImage* RealModeTextures::cross(ColorKey c) const
{
    const auto it = m_colors.constFind(c);
    return it == m_colors.constEnd() ? nullptr : &it->cross;
}

const std::array<QImage, 4>* RealModeTextures::quarters(ColorKey c) const
{
    const auto it = m_colors.constFind(c);
    return it == m_colors.constEnd() ? nullptr : &it->quarters;
}

QImage RealModeTextures::pageBitmap(const TMyPage& page, double gridWidthPx, double gridHeightPx) const
{
    QImage bitmap(Rnd(page.cellsX * gridWidthPx), Rnd(page.cellsY * gridHeightPx),
                  QImage::Format_RGB32);
    if (bitmap.isNull())
        return bitmap;
    bitmap.fill(Qt::white);
    fillCells(bitmap, QPoint(0, 0),
              QRect(page.cellXFirst, page.cellYFirst, page.cellsX, page.cellsY), gridWidthPx,
              gridHeightPx, page.PrintStitches == psBackStitchOnly);
    return bitmap;
}

void RealModeTextures::fillCells(QImage& bitmap, QPoint origin, const QRect& designCells,
                                 double gridWidthPx, double gridHeightPx, bool fabricOnly) const
{
    if (m_fabric.isNull())
        return;
    const QImage& cells = m_doc.CrossCells;
    const QImage& quarterCells = m_doc.QuarterCells;
    const TColor32 empty = m_stitch.BackGroundColor;
    const QRect inside = designCells.intersected(cells.rect());
    const int w = m_cell.width(), h = m_cell.height();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const int j = y - designCells.top();
        const int top = origin.y() + Rnd(j * gridHeightPx);
        const auto* row = reinterpret_cast<const TColor32*>(cells.constScanLine(y));
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const int i = x - designCells.left();
            const QPoint at(origin.x() + Rnd(i * gridWidthPx), top);
            drawTransparent(bitmap, m_fabric, at);
            if (fabricOnly)
                continue;
            if (row[x] != empty) {
                if (const QImage* c = cross(pixelToKey(row[x])))
                    drawTransparent(bitmap, *c, at);
                continue;
            }
            for (int q = 0; q < 4; ++q) {
                const int qx = 2 * x + (q & 1), qy = 2 * y + (q >> 1);
                if (qx >= quarterCells.width() || qy >= quarterCells.height())
                    continue;
                const TColor32 v = reinterpret_cast<const TColor32*>(quarterCells.constScanLine(qy))[qx];
                if (v == empty)
                    continue;
                if (const auto* t = quarters(pixelToKey(v)))
                    drawTransparent(bitmap, (*t)[q], at + QPoint((q & 1) * (w / 2), (q >> 1) * (h / 2)));
            }
        }
    }
}

void RealModeTextures::drawBackStitch(QImage& bitmap, QPoint from, QPoint to, ColorKey color)
{
    const ThreadLine line = threadLineFromPixels(from, to, m_cell.width());
    m_strips.draw(bitmap, line, printedColor(color), line.from);
}

void RealModeTextures::drawBackStitches(QImage& bitmap, const QList<Segment>& segments,
                                        const std::function<void(int, int)>& progress)
{
    const int total = int(segments.size());
    for (int i = 0; i < total; ++i) {
        drawBackStitch(bitmap, segments[i].from, segments[i].to, segments[i].color);
        if (progress)
            progress(i + 1, total);
    }
}

void RealModeTextures::drawFrenchKnot(QPainter& page, QPoint centre, ColorKey color) const
{
    if (m_knot.isNull())
        return;
    const ColorKey tint = printedColor(color);
    auto it = m_knotsTinted.find(tint);
    if (it == m_knotsTinted.end())
        it = m_knotsTinted.insert(tint, magentaToAlpha(tintedWith(m_knot, tint)));
    page.drawImage(centre - QPoint(m_cell.width() / 2, m_cell.height() / 2), *it);
}

QImage titlePagePicture(const PatternDocument& doc, const TStitch& stitch, int k, bool cmyk)
{
    const int W = doc.width(), H = doc.height();
    if (k < 1 || W < 1 || H < 1)
        return QImage();
    const double fw = 1.0, fh = doc.KnittingMode ? 0.7 : 1.0;
    const double cw = fw * k, ch = fh * k;
    const QSize cell(Rnd(cw), Rnd(ch));
    if (cell.isEmpty())
        return QImage();
    QImage picture(Rnd(cw * W), Rnd(ch * H), QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    picture.fill(Qt::white);
    RealModeTextures textures(doc, stitch, cell, cmyk);
    textures.fillCells(picture, QPoint(0, 0), QRect(0, 0, W, H), cw, ch, false);
    for (const TBackStitch& b : doc.DesignBackStitches) {
        const QPoint from(Rnd(b.FromPoint.x() * cw) / 2, Rnd(b.FromPoint.y() * ch) / 2);
        const QPoint to(Rnd(b.ToPoint.x() * cw) / 2, Rnd(b.ToPoint.y() * ch) / 2);
        textures.drawBackStitch(picture, from, to, b.Color);
    }
    return picture;
}
