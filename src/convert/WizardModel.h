#pragma once
// The conversion wizard without its widgets: the source picture, the crop chosen with the
// rubber band (step 1), crop and brightness/contrast (step 2), the design size (step 3) and the
// colour work of step 4, and "Finish", which builds the new design from the pictures and
// tables the steps made (the same design convertPicture makes with the same settings).
// The dialog TFWizzard is a thin view over it; every rule here can be tested without a window.

#include "PictureConversion.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

class TStitch;
class PatternDocument;

class WizardModel
{
public:
    // The kinds of rubber-band drag: the whole frame, one edge, or one corner.
    enum class Drag { Move, Left, Top, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

    static constexpr int kZoomMin = 10, kZoomMax = 100;
    static constexpr int kBrightnessMin = -255, kBrightnessMax = 255;
    static constexpr int kContrastMin = 0, kContrastMax = 255;
    static constexpr int kColorsMin = 2, kColorsMax = 600;
    static constexpr int kLevelMax = 100;
    static constexpr int kSizeLimit = 32767;

    explicit WizardModel(TStitch& stitch);

    // --- the source picture ---
    // Reads the picture with loadPicture (throws QuillError naming the file).
    void loadSource(const QString& path);
    void setSource(const QImage& source, const QString& path = QString());
    const QImage& source() const { return m_source; }
    const QString& sourcePath() const { return m_path; }
    bool hasSource() const { return !m_source.isNull(); }

    // ResetAll: step 1, brightness 0, contrast 100, the zoom that fits the picture in a view of
    // `viewSize`, the whole picture selected, no palette processed yet.
    void ResetAll(QSize viewSize);

    int step() const { return FStep; }
    // Records the step; entering step 2 recomputes crop and adjustment, entering step 3 the size.
    // Step 4 is processed by the caller (processPalette), which may show progress.
    void SetStep(int n);
    // Records the step only: for a caller that computes the pictures of steps 2 and 3 itself
    // (with the functions below) and installs them when they are ready.
    void setCurrentStep(int n);

    // --- the recomputations of steps 1 to 3 as pure functions of their inputs ---
    // They touch no model and no shared state, so they may run on any thread; each result
    // carries the inputs it was made from and is taken over by its install function. The
    // synchronous methods run the same functions, so both ways give the same pictures.
    struct Adjusted
    {
        int brightness = 0, contrast = 100;
        QImage picture;
    };
    struct PreAdjustments
    {
        QRectF selection; // the crop as taken (a flat one widened to one pixel)
        QImage picture;   // the crop at full resolution
        Adjusted adjusted; // the crop after brightness and contrast
    };
    struct Resized
    {
        int size = 100; // the box side, within 2 .. sizeMaximumOf(the adjusted picture)
        QImage picture;
    };
    static QSize selectionViewSizeOf(QSize source, double zoom);
    static QImage makeSelectionView(const QImage& source, double zoom);
    static PreAdjustments makePreAdjustments(const QImage& source, const QRectF& selection, int brightness,
                                             int contrast);
    static Adjusted makeAdjusted(const QImage& preAdjustments, int brightness, int contrast);
    static int sizeMaximumOf(QSize picture);
    static Resized makeResized(const QImage& adjusted, int n);
    void installPreAdjustments(const PreAdjustments& p);
    void installAdjusted(const Adjusted& a);
    void installResized(const Resized& r);

    // --- step 1 ---
    double zoomFactor() const { return FZoomFactor; }
    void SetZoomFactor(double z);
    // The zoom bar's position for the current zoom: R(zoom x 100) within 10..100.
    int zoomBarPosition() const;
    // The selection view's raster size: R(width x zoom) by R(height x zoom).
    QSize selectionViewSize() const;
    // The source drawn at the zoom factor with the picture resampler.
    QImage selectionView() const;

    const QRectF& selectionRect() const { return SelectionRect; }
    void setSelectionRect(const QRectF& r) { SelectionRect = r; }
    // The rubber band's frame in view pixels: SelectionRect x zoom + offset.
    QRectF rubberFrame(QPointF offset = {}) const;
    bool rubberVisible() const { return m_rubberVisible; }
    void setRubberVisible(bool on) { m_rubberVisible = on; }
    // A drag of the rubber band to `proposed` (view pixels): the frame is kept inside the shown
    // picture by the rules of its kind, then SelectionRect follows it. Returns the frame as it
    // is placed; a drag while the band is hidden is refused (the old frame comes back).
    QRectF RubberResize(const QRectF& proposed, Drag kind, QPointF offset = {});

    // --- step 2 ---
    void ResamplePreAdjustments();
    int brightness() const { return m_brightness; }
    int contrast() const { return m_contrast; }
    void setBrightnessContrast(int brightness, int contrast);
    void resetAdjustments() { setBrightnessContrast(0, 100); }
    const QImage& preAdjustments() const { return preAdjustmentsBitmap; }
    const QImage& adjusted() const { return m_adjusted; }

    // --- step 3 ---
    // The size field's range: 2 .. the larger side of the adjusted picture (at most 32767).
    int sizeMaximum() const;
    int size() const { return m_size; }
    // "Set size": the design size for box N x N, and the resized picture.
    void setSize(int n);
    QSize designSize() const { return m_resized.size(); }
    const QImage& resized() const { return m_resized; }

    // --- step 4 ---
    QStringList paletteNames() const;
    QStringList characterSetNames() const;
    const QString& palette() const { return m_palette; }
    const QString& characters() const { return m_characters; }
    void setPalette(const QString& name) { m_palette = name; }
    void setCharacters(const QString& name) { m_characters = name; }
    int colors() const { return m_colors; }
    void setColors(int n) { m_colors = qBound(kColorsMin, n, kColorsMax); }
    DitherMethod dither() const { return m_dither; }
    void setDither(DitherMethod m) { m_dither = m; }
    int level() const { return m_level; }
    void setLevel(int position) { m_level = qBound(0, position, kLevelMax); }

    // ComboPalettesChange and its kin: the colour work on the resized picture with the chosen
    // palette, character set, count, dithering and level. Returns false when `progress`
    // cancelled; the previous result (final picture, tables, PaletteChosen) is then kept.
    // Throws QuillError for a palette or character set missing from the catalogue.
    bool processPalette(const DitherProgress& progress = {});
    // True once a colour result exists (it may be older than the current settings).
    bool paletteChosen() const { return PaletteChosen; }
    // True when the colour result was made from the current resized picture with the current
    // palette, character set and dithering (and level, when dithering), and a colour count
    // that keeps as many colours as the current one: processPalette would give it again.
    bool resultCurrent() const;
    const KeyRaster& finalPicture() const { return m_final; }
    const ColorTable& reducedColors() const { return m_reduced; }
    int maxAvailableColors() const { return m_maxAvailable; }
    int colorsCount() const { return m_colorsCount; }
    double maxLevelDithering() const { return m_maxLevel; }

    // --- the result ---
    // The settings that rebuild the current result with convertPicture.
    ConversionSettings settings(bool emptyDesign = false) const;
    // Throws QuillError when "Finish" (or "Create empty template" when `emptyDesign`) cannot
    // build the design: no picture, no current colour result (not needed for the empty
    // template), the chosen palette or character set not in the catalogue.
    void checkFinish(bool emptyDesign) const;
    // "Finish" (or "Create empty template" when `emptyDesign`): replaces the design in `doc`
    // with the final picture and the kept colours of step 4 (the empty template: the design
    // size of step 3 and the chosen palette). Nothing is computed again and nothing can be
    // cancelled. Runs checkFinish first, so an error is thrown before `doc` is touched. The
    // ghost picture of the new design is adjusted().
    void finish(PatternDocument& doc, bool emptyDesign) const;

private:
    double R(double v) const;
    // The chosen character set, or the default one when none is chosen.
    QString charactersName() const;

    TStitch& m_stitch;
    QImage m_source;
    QString m_path;

    double FZoomFactor = 1.0;
    int FStep = 1;
    QRectF SelectionRect;
    bool m_rubberVisible = true;

    QImage preAdjustmentsBitmap;
    QImage m_adjusted;
    int m_brightness = 0;
    int m_contrast = 100;

    int m_size = 100;
    QImage m_resized;

    QString m_palette;
    QString m_characters;
    int m_colors = 500;
    DitherMethod m_dither = DitherMethod::None;
    int m_level = 0;

    bool PaletteChosen = false;
    // What the colour result was made from, for resultCurrent and finish.
    QImage m_resultResized;
    QString m_resultPalette;
    ColorTable m_resultPaletteTable;
    QString m_resultCharacters;
    DitherMethod m_resultDither = DitherMethod::None;
    int m_resultLevel = 0;
    KeyRaster m_final;
    ColorTable m_reduced;
    int m_maxAvailable = 0;
    int m_colorsCount = 0;
    double m_maxLevel = 0;
};
