// The real preview renderer.
#include "RealPreview.h"

#include "core/PatternDocument.h"

#include <QHash>
#include <QPainter>

RealPreview::RealPreview(const PatternDocument& doc, const StitchTextures& textures)
    : m_doc(doc), m_textures(textures), m_strips(textures, QSize())
{
}

bool RealPreview::draw(int zoom)
{
    m_restarts = 0;
    for (;;) {
        const TStep step = drawOnce(zoom);
        if (step == stContinue) {
            m_zoom = zoom;
            return true;
        }
        // Everything built so far is dropped.
        m_picture = QImage();
        m_strips.clear();
        if (step == stCancel)
            return false;
        ++m_restarts;
        if (currentZoom)
            zoom = currentZoom();
    }
}

RealPreview::TStep RealPreview::drawOnce(int zoom)
{
    const PatternDocument& doc = m_doc;
    const TStitch& st = doc.stitch();
    const bool knitting = doc.KnittingMode;
    m_cell = PatternDocument::cellSizeFor(zoom, knitting);
    const int cw = m_cell.width(), ch = m_cell.height();
    const int W = doc.width(), H = doc.height();
    if (cw <= 0 || ch <= 0)
        return stCancel;

    // Fabric, tinted in the background colour, repeated over the whole picture.
    const ColorKey background = pixelToKey(st.BackGroundColor);
    const QImage fabricFull = tintedWith(m_textures.picture(txBackGround), background);
    const QImage fabric = scaledTexture(fabricFull, m_cell);
    const qint64 pw = qint64(cw) * W, ph = qint64(ch) * H;
    m_tooLarge = pw > kMaxSide || ph > kMaxSide || pw * ph > kMaxPixels;
    if (m_tooLarge)
        return stCancel;
    QImage picture(int(pw), int(ph), QImage::Format_RGB32);
    if (picture.isNull() && W > 0 && H > 0) {
        m_tooLarge = true; // the memory is not there
        return stCancel;
    }
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            drawTransparent(picture, fabric, QPoint(cw * x, ch * y));

    // Cross and quarter textures, once per colour whose symbol is in use.
    struct Textures
    {
        QImage cross;
        QImage quarter;
    };
    QHash<ColorKey, Textures> textures;
    const QList<qint32>& used = st.chars.CharsUsed;
    for (const auto& [color, info] : st.Colors) {
        if (info.charID < 0 || info.charID >= used.size() || used[info.charID] < 1)
            continue;
        Textures t;
        QImage cross = fabricFull;
        drawTransparent(cross, tintedWith(m_textures.picture(txCross), color), QPoint(0, 0));
        t.cross = scaledTexture(cross, m_cell);
        if (!knitting) {
            QImage quarters = fabricFull;
            const QImage q = tintedWith(m_textures.picture(txQuarter), color);
            const int half = fabricFull.width() / 2;
            for (QPoint at : {QPoint(0, 0), QPoint(half, 0), QPoint(0, half), QPoint(half, half)})
                drawTransparent(quarters, q, at);
            t.quarter = scaledTexture(quarters, m_cell).copy(0, 0, cw / 2, ch / 2);
        }
        textures.insert(color, t);
        if (const TStep s = ask(); s != stContinue)
            return s;
    }

    // Cells row by row: the cross, then the quarters in their corners.
    const TColor32 empty = st.BackGroundColor;
    for (int y = 0; y < H; ++y) {
        const auto* cells = reinterpret_cast<const TColor32*>(doc.CrossCells.constScanLine(y));
        for (int x = 0; x < W; ++x) {
            if (cells[x] != empty) {
                const auto it = textures.constFind(pixelToKey(cells[x]));
                if (it != textures.constEnd())
                    drawTransparent(picture, it->cross, QPoint(cw * x, ch * y));
            }
            if (knitting)
                continue;
            for (int q = 0; q < 4; ++q) {
                const int qx = 2 * x + (q & 1), qy = 2 * y + (q >> 1);
                const TColor32 v = reinterpret_cast<const TColor32*>(
                    doc.QuarterCells.constScanLine(qy))[qx];
                if (v == empty)
                    continue;
                const auto it = textures.constFind(pixelToKey(v));
                if (it == textures.constEnd())
                    continue;
                drawTransparent(picture, it->quarter,
                                QPoint(cw * x + (q & 1) * (cw / 2), ch * y + (q >> 1) * (ch / 2)));
            }
        }
        if (const TStep s = ask(); s != stContinue)
            return s;
    }

    // French knots, centred on their grid points.
    const QImage knot = scaledTexture(m_textures.picture(txFrenchKnot), m_cell);
    for (const TFrenchKnot& k : doc.DesignFrenchKnots) {
        drawTransparent(picture, tintedWith(knot, k.Color),
                        QPoint((k.Center.x() * cw) / 2 - cw / 2, (k.Center.y() * ch) / 2 - ch / 2));
        if (const TStep s = ask(); s != stContinue)
            return s;
    }

    if (!knitting) {
        // Back stitches: every distinct strip built once, then each drawn from its left end.
        m_strips.clear();
        m_strips.setCellSize(m_cell);
        auto leftEnd = [cw, ch](const ThreadLine& l) {
            return QPoint((l.from.x() * cw) / 2, (l.from.y() * ch) / 2);
        };
        for (const TBackStitch& b : doc.DesignBackStitches) {
            const ThreadLine line = threadLengthAndAngle(b.FromPoint, b.ToPoint);
            if (!m_strips.contains(line, b.Color)) {
                m_strips.strip(line, b.Color);
                if (const TStep s = ask(); s != stContinue)
                    return s;
            }
        }
        for (const TBackStitch& b : doc.DesignBackStitches) {
            const ThreadLine line = threadLengthAndAngle(b.FromPoint, b.ToPoint);
            m_strips.draw(picture, line, b.Color, leftEnd(line));
            if (const TStep s = ask(); s != stContinue)
                return s;
        }
        // Rhodes stitches, each with a cache of its own.
        for (const auto& r : doc.DesignRhodes) {
            m_strips.clear();
            for (const TBackStitch& b : r->stitches) {
                const ThreadLine line = threadLengthAndAngle(b.FromPoint, b.ToPoint);
                m_strips.draw(picture, line, r->color, leftEnd(line));
                if (const TStep s = ask(); s != stContinue)
                    return s;
            }
        }
    }
    m_picture = picture;
    return stContinue;
}
