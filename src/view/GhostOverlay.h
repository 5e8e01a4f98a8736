#pragma once
// The ghost picture drawn over the chart: the picture stretched over the whole design at the
// current cell size and blended over the chart with the chosen opacity. Only the pixels of the
// region being repainted are computed, so no picture of the whole design in view pixels is
// ever made, however large the design or the zoom.

#include "ChartOverlay.h"

#include "core/ColorTypes.h"
#include "convert/PictureConversion.h"
#include "core/Product.h"
#include "files/GhostPicture.h"

#include <QImage>
#include <QSize>
#include <vector>

class GhostOverlay : public ChartOverlay
{
public:
    // How the picture is stretched: with the picture resampler (a whole copy of the wizard's
    // adjusted picture) or nearest neighbour (a reduced picture, or one read from a file).
    enum class Scaling { Resample, Nearest };

    static constexpr int kStartOpacity = Product::kGhostOpacity;
    // The longest side a ghost made by the conversion keeps.
    static constexpr int kMaxGhostSide = ::kMaxGhostSide;

    GhostOverlay() = default;

    // The ghost a conversion leaves from its adjusted picture: a whole copy (stretched with the
    // resampler) when neither side is longer than 1000 pixels, else the picture resampled so
    // that the longer side is 1000 (stretched nearest neighbour).
    static GhostPicture ghostFromAdjusted(const QImage& adjusted);

    void setPicture(const QImage& picture, Scaling scaling);
    void setPicture(const GhostPicture& ghost)
    {
        setPicture(ghost.ghostPicture, ghost.resample ? Scaling::Resample : Scaling::Nearest);
    }
    void clear() { setPicture(QImage(), Scaling::Nearest); }
    const QImage& picture() const { return m_picture; }
    Scaling scaling() const { return m_scaling; }

    // ghostOpacity, 0..255.
    void setOpacity(int opacity);
    int opacity() const { return m_opacity; }
    // The opacity of a percentage entry of the shadow button's menu: p x 255 div 100.
    static int opacityForPercent(int percent) { return percent * 255 / 100; }

    // BackGroundColor of the design: ghost pixels of that colour leave the chart visible.
    void setBackground(TColor32 background) { m_background = background; }
    TColor32 background() const { return m_background; }

    // One pixel F laid over B: unchanged when F has the background's colour, else every colour
    // channel B + (F - B) w with w = alpha(F)/255 x opacity/255, in 8-bit fixed point.
    static TColor32 blend(TColor32 below, TColor32 ghost, int opacity, TColor32 background);

    // Draws the ghost over the design part of `clip` (nothing beyond the design).
    void paint(QImage& target, const QRect& clip, const ChartGeometry& geometry) override;

private:
    struct Taps
    {
        int first = 0;
        std::vector<int> weights;
    };
    // The source pixels (clamped) and weights of every stretched pixel of one side.
    void prepare(const ChartGeometry& g);
    quint32 rowPixel(const quint32* row, const Taps& t) const;

    QImage m_picture;
    Scaling m_scaling = Scaling::Nearest;
    int m_opacity = kStartOpacity;
    TColor32 m_background = 0x00FFFFFFu;

    // Cached for one stretched size.
    QSize m_stretched;
    std::vector<Taps> m_hTaps, m_vTaps;
};
