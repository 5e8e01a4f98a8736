#pragma once
// The real preview: the design drawn as it will look stitched, into a picture. Every cell
// gets a tinted cross (or quarter stitches) over the fabric tinted in the background colour;
// French knots, back stitches and Rhodes stitches are tinted pictures too. Between colours,
// rows, knots and stitches the renderer calls `checkpoint`, where the window processes its
// events; the checkpoint may ask to start again (the zoom changed) or to stop.

#include "ThreadStrip.h"

#include <QImage>
#include <functional>

class PatternDocument;

class RealPreview
{
public:
    enum TStep { stContinue, stRestart, stCancel };

    explicit RealPreview(const PatternDocument& doc,
                         const StitchTextures& textures = StitchTextures::shipped());

    // Called between colours, rows, knots and stitches.
    std::function<TStep()> checkpoint;
    // Asked for the zoom at every (re)start; without it draw() keeps its argument.
    std::function<int()> currentZoom;

    // Draws the preview at `zoom` (cell = zoom x zoom, or Rnd(zoom) x Rnd(0.7 zoom) in
    // knitting mode). A restart asked at a checkpoint drops what was built and draws again from
    // the start at currentZoom(); a cancel, or a picture too large to hold, stops and returns
    // false (picture() is then null).
    bool draw(int zoom);

    // The largest picture drawn: each side at most kMaxSide pixels (what a window can show
    // and a JPEG file hold) and at most kMaxPixels pixels (1 GiB) in all.
    static constexpr qint64 kMaxSide = 32767;
    static constexpr qint64 kMaxPixels = qint64(1) << 28;
    // Whether the last draw() stopped because the picture would exceed those limits.
    bool tooLarge() const { return m_tooLarge; }

    const QImage& picture() const { return m_picture; }
    QSize cellSize() const { return m_cell; }
    // The zoom of the last finished drawing, and how many drawings were started by restarts.
    int zoom() const { return m_zoom; }
    int restarts() const { return m_restarts; }
    // The strip cache (emptied at each drawing and for each Rhodes stitch).
    const ThreadStripCache& strips() const { return m_strips; }
    void freeStrips() { m_strips.clear(); }

private:
    // One attempt; stRestart / stCancel when a checkpoint stopped it.
    TStep drawOnce(int zoom);
    TStep ask() { return checkpoint ? checkpoint() : stContinue; }

    const PatternDocument& m_doc;
    const StitchTextures& m_textures;
    ThreadStripCache m_strips;
    QImage m_picture;
    QSize m_cell;
    int m_zoom = 0;
    int m_restarts = 0;
    bool m_tooLarge = false;
};
