#pragma once
// Actions that add or remove stitches: one back stitch, French knot or Rhodes stitch, and an
// eraser gesture (cells, quarters and the stitches it removed).

#include "CellRecord.h"
#include "TUndoAction.h"

#include "core/StitchTypes.h"

#include <QList>
#include <memory>
#include <vector>

class TDrawBackStitchAction : public TUndoAction
{
public:
    explicit TDrawBackStitchAction(const TBackStitch& b) : fBackStitch(b) {}
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Back stitch"); }
    TBackStitch fBackStitch; // Index: its position in the design's list
};

class TDrawFrenchKnotAction : public TUndoAction
{
public:
    explicit TDrawFrenchKnotAction(const TFrenchKnot& k) : fFrenchKnot(k) {}
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("French knot"); }
    TFrenchKnot fFrenchKnot;
};

// Keeps its own copy of the placed Rhodes stitch; the design gets clones.
class TDrawRhodeAction : public TUndoAction
{
public:
    explicit TDrawRhodeAction(const TRhode& r) : fRhode(r.Clone()) { fRhode->index = r.index; }
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Rhodes stitch"); }
    std::unique_ptr<TRhode> fRhode;
};

// One press-drag-release of the eraser. The removed stitches are listed in the order they were
// removed, each with the position it had at that moment.
class TEraseAction : public TUndoAction
{
public:
    TEraseAction(const CellRecord& crossArray, const CellRecord& quarterArray,
                 const QList<TBackStitch>& backArray,
                 const std::vector<std::unique_ptr<TRhode>>& rhodeArray,
                 const QList<TFrenchKnot>& frenchKnotArray, quint32 color);
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Erase"); }

    CellRecord fCrossArray;
    CellRecord fQuarterArray;
    QList<TBackStitch> fBackArray;
    std::vector<std::unique_ptr<TRhode>> fRhodeArray;
    QList<TFrenchKnot> fFrenchKnotArray;
    quint32 fColor;
};
