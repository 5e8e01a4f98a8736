#pragma once
// The undo history: one linear list of recorded actions and the position of the newest one
// in effect. Recording discards the redo tail first; every recording, undo and redo marks the
// design unsaved.

#include "CellActions.h"
#include "ShapeActions.h"
#include "StitchActions.h"
#include "TMode.h"

#include <QObject>
#include <memory>
#include <vector>

class PatternDocument;

class TActions : public QObject
{
    Q_OBJECT
public:
    explicit TActions(PatternDocument& doc, QObject* parent = nullptr);
    ~TActions() override;

    int position() const { return fPosition; }
    int count() const { return int(fActions.size()); }
    bool canUndo() const { return fPosition >= 0; }
    bool canRedo() const { return fPosition < count() - 1; }
    const TUndoAction* action(int i) const { return fActions.at(size_t(i)).get(); }

    void Reset();
    void Undo();
    void Redo();
    void ClearUndoAfterPosition();

    // Appends an action whose change is already in the design.
    void record(std::unique_ptr<TUndoAction> action);
    // Appends an action and applies it (actions whose recording carries out the change).
    void recordAndExecute(std::unique_ptr<TUndoAction> action);

    // Recording operations of the tools.
    void actionDraw(TMode mode, const CellRecord& arrCross, quint32 newColor,
                    const CellRecord& arrQuarter, quint32 backcolor,
                    const CellRecord& arrCrossFromQuarter);
    void actionDrawBackStitch(const TBackStitch& b);
    void actionDrawRhode(const TRhode& r);
    void actionDrawFrenchKnot(const TFrenchKnot& k);
    void actionErase(const CellRecord& crossArray, const CellRecord& quarterArray,
                     const QList<TBackStitch>& backArray,
                     const std::vector<std::unique_ptr<TRhode>>& rhodeArray,
                     const QList<TFrenchKnot>& frenchKnotArray, quint32 color);
    void actionFill(const QList<QPoint>& arr, quint32 oldColor, quint32 newColor,
                    const CellRecord& quarterArray, quint32 backcolor);
    void actionReplaceColor(const QList<QPoint>& arr, const QList<TBackStitch>& arrBack,
                            quint32 oldColor, quint32 newColor);
    void actionChangebackgroundColor(const QList<QPoint>& arr, const QList<QPoint>& arrQuarter,
                                     quint32 oldColor, quint32 newColor);
    // A figure of the shape tools: records the listed cells' contents and paints them.
    void actionLine(const QList<QPoint>& points, quint32 newColor);
    // The back stitches an outline click appended, each with its position.
    void actionOutline(const QList<TBackStitch>& arr, quint32 newColor);

signals:
    // Undo and Redo became available or not.
    void buttonsChanged(bool canUndo, bool canRedo);
    // An undo or redo could not be carried out (the design is unchanged); the message is ready
    // to show.
    void replayFailed(const QString& message);

private:
    void UpdateButtons();
    void replayed();

    PatternDocument& m_doc;
    int fPosition = -1;
    std::vector<std::unique_ptr<TUndoAction>> fActions;
};
