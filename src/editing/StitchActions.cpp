#include "StitchActions.h"

#include "CellActions.h"
#include "core/PatternDocument.h"

void TDrawBackStitchAction::Execute(PatternDocument& doc)
{
    doc.backStitchesInsert(fBackStitch.Index, fBackStitch, true);
}

void TDrawBackStitchAction::Undo(PatternDocument& doc)
{
    doc.backStitchesDelete(fBackStitch.Index, true);
}

void TDrawFrenchKnotAction::Execute(PatternDocument& doc)
{
    doc.frenchKnotInsert(fFrenchKnot.Index, fFrenchKnot, true);
}

void TDrawFrenchKnotAction::Undo(PatternDocument& doc)
{
    doc.frenchKnotDelete(fFrenchKnot.Index, true);
}

void TDrawRhodeAction::Execute(PatternDocument& doc)
{
    auto copy = fRhode->Clone();
    doc.RhodeInsert(fRhode->index, std::move(copy), true);
}

void TDrawRhodeAction::Undo(PatternDocument& doc)
{
    doc.RhodeDelete(fRhode->index, true);
}

// ---------------------------------------------------------------------------------------------

TEraseAction::TEraseAction(const CellRecord& crossArray, const CellRecord& quarterArray,
                           const QList<TBackStitch>& backArray,
                           const std::vector<std::unique_ptr<TRhode>>& rhodeArray,
                           const QList<TFrenchKnot>& frenchKnotArray, quint32 color)
    : fCrossArray(crossArray), fQuarterArray(quarterArray), fBackArray(backArray),
      fFrenchKnotArray(frenchKnotArray), fColor(color)
{
    for (const auto& r : rhodeArray) {
        auto copy = r->Clone();
        copy->index = r->index;
        fRhodeArray.push_back(std::move(copy));
    }
}

void TEraseAction::Execute(PatternDocument& doc)
{
    for (const auto& [p, previous] : fCrossArray)
        writeCellContent(doc, p, fColor);
    for (const auto& [p, previous] : fQuarterArray)
        writeQuarterContent(doc, p, fColor);
    for (const TBackStitch& b : fBackArray)
        doc.backStitchesDelete(b.Index, false);
    for (const auto& r : fRhodeArray)
        doc.RhodeDelete(r->index, false);
    for (const TFrenchKnot& k : fFrenchKnotArray)
        doc.frenchKnotDelete(k.Index, false);
}

void TEraseAction::Undo(PatternDocument& doc)
{
    restoreCells(doc, fCrossArray);
    restoreQuarters(doc, fQuarterArray);
    for (auto it = fBackArray.crbegin(); it != fBackArray.crend(); ++it)
        doc.backStitchesInsert(it->Index, *it, false);
    for (auto it = fRhodeArray.crbegin(); it != fRhodeArray.crend(); ++it) {
        auto copy = (*it)->Clone();
        doc.RhodeInsert((*it)->index, std::move(copy), false);
    }
    for (auto it = fFrenchKnotArray.crbegin(); it != fFrenchKnotArray.crend(); ++it)
        doc.frenchKnotInsert(it->Index, *it, false);
}
