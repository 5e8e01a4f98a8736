#pragma once
// The one design the application holds: the cell and quarter rasters, the three stitch lists
// and the colour list, with the operations through which every change passes so that the use
// counts, the glyph cache and the colour list stay exact. The document knows no widget: it
// reports what changed through signals that the chart view and the colour panel observe.

#include "StitchTypes.h"
#include "TStitch.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <memory>
#include <vector>

// Raster points changed by a background change, for the undo history.
struct TBackgroundChange
{
    QList<QPoint> crossPoints;
    QList<QPoint> quarterPoints;
    TColor32 oldColor = 0;
    TColor32 newColor = 0;
    bool changed = false;
};

class PatternDocument : public QObject
{
    Q_OBJECT
public:
    explicit PatternDocument(TStitch& stitch, QObject* parent = nullptr);
    ~PatternDocument() override;

    TStitch& stitch() { return m_stitch; }
    const TStitch& stitch() const { return m_stitch; }

    int width() const { return CrossCells.width(); }
    int height() const { return CrossCells.height(); }
    bool isEmptyPixel(TColor32 raw) const { return raw == m_stitch.BackGroundColor; }

    // --- cell and stitch operations (each keeps the use counts exact) ---
    // `newColor` is a colour key of the table, or the background value to empty the cell.
    void updatePixel(int x, int y, quint32 newColor, bool refresh);
    void updateQPixel(int x, int y, quint32 newColor, bool refresh);

    void backStitchesAdd(const TBackStitch& b, bool refresh);
    void backStitchesInsert(int index, const TBackStitch& b, bool refresh);
    void backStitchesDelete(int index, bool refresh);
    void frenchKnotAdd(const TFrenchKnot& k, bool refresh);
    void frenchKnotInsert(int index, const TFrenchKnot& k, bool refresh);
    void frenchKnotDelete(int index, bool refresh);
    void RhodeAdd(std::unique_ptr<TRhode> r, bool refresh);
    void RhodeInsert(int index, std::unique_ptr<TRhode> r, bool refresh);
    void RhodeDelete(int index, bool refresh);
    // Gives back stitch `index` another colour, moving its length to the new colour's counts
    // at once, so the colour panel and the printed amounts never read stale counts.
    void backStitchesRecolor(int index, ColorKey color, bool refresh);

    // Tells the observers that the whole design may have changed (after a replay or a bulk
    // change that wrote without refreshing): one designReset, which covers the stitches, the
    // counts and the colour list.
    void refreshAll();

    // While a batch is open, stitchesChanged, colorListChanged and colorUsageChanged are held
    // back; when the outermost batch closes, each one that became due is emitted once, in that
    // order. A designReset inside the batch covers what was due before it. Batches nest.
    void beginNotifyBatch();
    void endNotifyBatch();
    class NotifyBatch
    {
    public:
        explicit NotifyBatch(PatternDocument& doc) : m_doc(doc) { m_doc.beginNotifyBatch(); }
        ~NotifyBatch() { m_doc.endNotifyBatch(); }
        NotifyBatch(const NotifyBatch&) = delete;
        NotifyBatch& operator=(const NotifyBatch&) = delete;

    private:
        PatternDocument& m_doc;
    };

    // Hooks run when a colour becomes used or unused.
    void colorAdded(ColorKey c);
    void colorRemoved(ColorKey c, bool resort);
    void rebuildColorSymbols();
    // Recomputes every count from the design; run after every bulk change.
    void CalcColorUsage();

    // Builds a new empty design; unknown catalogue names fall back to the smallest name.
    void CreateNewTemplate(int width, int height, const QString& characters,
                           const QString& palette);
    // Cell size of the view for a zoom value (0.7 times as high in knitting mode).
    QSize SetCellWidthAndHeight(int value);
    static QSize cellSizeFor(int zoom, bool knitting);

    // Replaces the background colour (a colour key chosen by the user); returns what changed.
    TBackgroundChange changeBackgroundColor(ColorKey c);
    // Switches the design to the character set `name` of the catalogue; false when unknown.
    bool changeCharacters(const QString& name);
    // Sets the symbol font of the glyph cache, rebuilding every glyph and the colour list.
    void setSymbolFont(const QString& fontName);

    // "All colors" (true) or "Only used colors" (false) in the colour list.
    bool allColorsView() const { return m_allColorsView; }
    void setAllColorsView(bool all);

    // Which ColorSymbolsList entry holds colour c, or -1.
    int colorSymbolsIndexOf(ColorKey c) const;
    // Sort orders of the colour list: by palette, name, number, usage.
    enum ColorSort : quint8 { csPalette = 0, csName = 1, csNumber = 2, csUsage = 3 };
    ColorSort colorSortMode() const { return m_sortMode; }
    void setColorSortMode(ColorSort mode);
    // Sorts ColorSymbolsList in the current sort order (arrColorsSort).
    void sortColorSymbols();
    // Orders two colours of the table as the colour list does (<0, 0, >0).
    static int compareColors(const TColorInfo& l, const TColorInfo& r, ColorSort mode);

    // Checks the use-count invariant against a full recount; returns a description of the
    // first mismatch, or an empty string. For tests and debugging.
    QString checkInvariant() const;

    // --- the design ---
    QImage CrossCells;   // W x H, one pixel per cell
    QImage QuarterCells; // 2W x 2H, one pixel per quarter
    QList<TBackStitch> DesignBackStitches;
    QList<TFrenchKnot> DesignFrenchKnots;
    std::vector<std::unique_ptr<TRhode>> DesignRhodes;
    QList<TColorSymbols> ColorSymbolsList;
    bool KnittingMode = false;
    QSize cellSize{8, 8};

signals:
    // Cells (in cell units) or quarters (in quarter units) that need repainting.
    void cellsChanged(const QRect& cells);
    void quartersChanged(const QRect& quarters);
    // Back stitches, knots or Rhodes stitches changed.
    void stitchesChanged();
    // Counts changed: the colour grid and panels refresh.
    void colorUsageChanged();
    // The colour list was rebuilt or re-sorted.
    void colorListChanged();
    // The whole design was replaced or redrawn (new design, background, character set, a
    // replayed or bulk change): observers refresh everything, stitches, counts and the colour
    // list included.
    void designReset();
    // A message for the user (a colour missing from the table during a recount).
    void message(const QString& text);

private:
    // Adds `delta` to a colour's use count; a count that rises from 0 makes the colour used,
    // one that falls to 0 makes it unused.
    void changeUse(ColorKey c, TColorInfo& e, qint32 delta, bool refresh, bool resort);
    void changeStitchUse(const TBackStitch& b, int sign, bool refresh);
    void changeRhodeUse(const TRhode& r, int sign, bool refresh);
    TColorSymbols symbolsEntry(ColorKey c, bool withGlyph) const;
    // True when `newColor` may be written: the background (target null) or a colour of the
    // table (target its entry).
    bool drawableColor(quint32 newColor, TColorInfo*& target);
    // Stitch lists changed: with `refresh`, the chart and the colour panel are told.
    void notifyStitches(bool refresh);
    // Emit colorListChanged / colorUsageChanged now, or mark them due while a batch is open
    // (notifyStitches does the same for stitchesChanged).
    void notifyColorList();
    void notifyColorUsage();
    // designReset, dropping the stitch, list and usage notices it covers.
    void notifyDesignReset();
    // The body of CalcColorUsage; returns the number of thread pixels missing from the table.
    qint64 recount();

    TStitch& m_stitch;
    bool m_allColorsView = true; // "All colors" is chosen at start
    ColorSort m_sortMode = csPalette;
    int m_batchDepth = 0;
    bool m_stitchesDue = false;
    bool m_colorListDue = false;
    bool m_colorUsageDue = false;
};
