#pragma once
// Back stitches drawn as thread: the length and angle of a straight stitch, the thread strip
// built from the end and middle pictures at a cell size and turned to the stitch's angle, and
// the cache that builds each distinct strip (length, angle, colour) once.

#include "StitchTextures.h"

#include <QPoint>
#include <functional>
#include <map>

// A straight stitch's ends, ordered so that `from` has the smaller x (on equal x the order
// stays), its length in cells and its angle in degrees (-90 .. 90, positive when it runs down
// to the right).
struct ThreadLine
{
    QPoint from;
    QPoint to;
    double length = 0;
    double angle = 0;
};
// From grid points (half-cell units): length = half the Euclidean length.
ThreadLine threadLengthAndAngle(QPoint a, QPoint b);
// From pixel end points at cell width `cellWidth`: length = pixel distance / cellWidth.
ThreadLine threadLineFromPixels(QPoint a, QPoint b, int cellWidth);

// The key of a cached strip.
struct TBackRec
{
    double length = 0;
    double angle = 0;
    ColorKey color = 0;
    auto operator<=>(const TBackRec&) const = default;
};

// A turned strip: where the strip's start (p1) and end (p2) lie in the picture, and the
// picture (magenta transparent).
struct TRotateRec
{
    QPoint p1;
    QPoint p2;
    QImage imagerotated;
};

// The untinted strip for a stitch of `length` cells at cell size `cell`, before turning:
// Floor(w x length) x h pixels.
QImage buildThreadStrip(const StitchTextures& textures, double length, QSize cell);
// Turns `strip` by `angle` degrees on a square magenta canvas and finds the anchors.
TRotateRec turnThreadStrip(const QImage& strip, double angle);
// Both steps; the result is not tinted.
TRotateRec buildTurnedStrip(const StitchTextures& textures, double length, double angle, QSize cell);

// Strips by (length, angle, colour), built at one cell size and tinted with the colour.
class ThreadStripCache
{
public:
    ThreadStripCache(const StitchTextures& textures, QSize cell);

    QSize cellSize() const { return m_cell; }
    // Sets the cell size; a different one empties the cache.
    void setCellSize(QSize cell);
    // The strip for `line` in colour `color` (the tint the caller chose), built on first use.
    const TRotateRec& strip(const ThreadLine& line, ColorKey color);
    bool contains(const ThreadLine& line, ColorKey color) const;
    // Draws the strip of `line` so that its start (p1) lies on pixel `start` of `dst`.
    void draw(QImage& dst, const ThreadLine& line, ColorKey color, QPoint start);

    void clear() { m_strips.clear(); }
    int size() const { return int(m_strips.size()); }
    // How many strips were built since the cache was made (kept across clear()).
    int builds() const { return m_builds; }

private:
    const StitchTextures& m_textures;
    QSize m_cell;
    std::map<TBackRec, TRotateRec> m_strips;
    int m_builds = 0;
};
