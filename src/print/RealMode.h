#pragma once
// Printing in real mode: the design drawn with thread textures instead of fills and symbols.
// RealModeTextures holds the textures of one print job, built once at the page's cell size:
// the fabric, a cross texture and four quarter textures per colour whose symbol is in use. It
// fills a chart page's texture bitmap, draws back stitches into it as turned thread strips,
// and draws French knots onto the page. titlePagePicture() is the title page's picture of the
// whole design in the same rendering.

#include "PrintTypes.h"
#include "view/StitchTextures.h"
#include "view/ThreadStrip.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <array>
#include <functional>

class PatternDocument;
class QPainter;
class TStitch;

class RealModeTextures
{
public:
    // Builds the textures at cell size `cell` (Rnd(gridWidthPx) x Rnd(gridHeightPx)). Colours
    // given to this class are design colours; with `cmyk` each is replaced by its CMYK table
    // colour when it has one.
    RealModeTextures(const PatternDocument& doc, const TStitch& stitch, QSize cell, bool cmyk,
                     const StitchTextures& textures = StitchTextures::shipped());

    QSize cellSize() const { return m_cell; }
    // The colour a design colour is drawn in (CMYK substituted when the job uses it).
    ColorKey printedColor(ColorKey c) const;

    // The fabric (w x h), a colour's cross texture and quarter textures (top-left, top-right,
    // bottom-left, bottom-right); null / nullptr for a colour without textures.
    const QImage& fabric() const { return m_fabric; }
    const QImage* cross(ColorKey c) const;
    const std::array<QImage, 4>* quarters(ColorKey c) const;

    // A chart page's texture bitmap, Rnd(cellsX x gridWidthPx) x Rnd(cellsY x gridHeightPx):
    // every cell gets the fabric, then (not on back-stitch copies) its cross texture, or else
    // the quarter textures of its non-empty quarters. Opaque (Format_RGB32).
    QImage pageBitmap(const TMyPage& page, double gridWidthPx, double gridHeightPx) const;
    // The same for any block of design cells, drawn at `origin` of `bitmap`.
    void fillCells(QImage& bitmap, QPoint origin, const QRect& designCells, double gridWidthPx,
                   double gridHeightPx, bool fabricOnly) const;

    // One back stitch from pixel `from` to pixel `to` of `bitmap` (already clipped by the
    // caller), as a thread strip tinted with `color`. Strips are built once per job for each
    // (length, angle, colour).
    void drawBackStitch(QImage& bitmap, QPoint from, QPoint to, ColorKey color);
    struct Segment
    {
        QPoint from;
        QPoint to;
        ColorKey color = 0;
    };
    // Every segment in order; `progress(done, total)` after each one (the job steps its
    // progress bar and lets the window process its events there).
    void drawBackStitches(QImage& bitmap, const QList<Segment>& segments,
                          const std::function<void(int, int)>& progress = {});

    // A French knot centred on page pixel `centre`: the knot picture at the cell size, tinted,
    // with its top-left at (cx0 - w div 2, cy0 - h div 2).
    void drawFrenchKnot(QPainter& page, QPoint centre, ColorKey color) const;

    // Strips built so far in this job.
    int stripBuilds() const { return m_strips.builds(); }
    // Texture sets built in this process (each constructor builds one); tests check that a
    // job builds its textures once.
    static int textureSetsBuilt();

private:
    struct ColorTextures
    {
        QImage cross;
        std::array<QImage, 4> quarters;
    };
    const PatternDocument& m_doc;
    const TStitch& m_stitch;
    const StitchTextures& m_textures;
    QSize m_cell;
    bool m_cmyk;
    QImage m_fabric;
    QImage m_knot; // knot picture at the cell size, untinted
    QHash<ColorKey, ColorTextures> m_colors;
    mutable QHash<ColorKey, QImage> m_knotsTinted; // tinted knots with magenta as alpha, per colour
    ThreadStripCache m_strips;
};

// The title page's picture of the design at `k` pixels per cell (0.7 k high in knitting
// mode): every cell with the fabric and its cross or quarter textures, and the back stitches
// (not Rhodes stitches, not knots) as thread strips. Rnd(k x W) x Rnd(fh x k x H) pixels, where
// fh is 1, or 0.7 in knitting mode; a null picture for k < 1 or an empty design.
QImage titlePagePicture(const PatternDocument& doc, const TStitch& stitch, int k, bool cmyk);
