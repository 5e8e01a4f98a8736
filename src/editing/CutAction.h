#pragma once
// Cut: the selection copied to the clipboard and removed from the design as one undo action.
// The action keeps the cut cells and quarters as rasters of the selection and the removed
// stitches in design coordinates with the positions they had, in order of removal.

#include "Clipboard.h"
#include "TUndoAction.h"

class TActions;

class TCutAction : public TUndoAction
{
public:
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Cut"); }

    QPoint fTopLeft;
    TColor32 fBackGroundColor = 0; // empty pixels of the two rasters
    QImage fBitmap, fQBitmap;
    QList<TBackStitch> fBackStitches;
    std::vector<std::unique_ptr<TRhode>> fRhodes;
    QList<TFrenchKnot> fFrenchKnots;
    QList<qint32> fBackPositions, fRhodePositions, fKnotPositions;
};

// Copies `selection` as Clipboard::copy does, removes what was copied from the design and
// records that as one action; returns the clipboard.
TClipboard cutSelection(PatternDocument& doc, TActions& history, const QRect& selection,
                        bool withBackStitches);
