#include "TActions.h"

#include "core/PatternDocument.h"
#include "core/QuillError.h"

TActions::TActions(PatternDocument& doc, QObject* parent) : QObject(parent), m_doc(doc) {}

TActions::~TActions() = default;

void TActions::UpdateButtons()
{
    emit buttonsChanged(canUndo(), canRedo());
}

void TActions::Reset()
{
    while (!fActions.empty())
        fActions.pop_back();
    fPosition = -1;
    UpdateButtons();
}

void TActions::replayed()
{
    m_doc.stitch().Change();
    m_doc.sortColorSymbols();
    m_doc.refreshAll();
    UpdateButtons();
}

void TActions::Undo()
{
    if (fPosition < 0)
        return;
    // A replay writes without refreshing; the refresh at its end tells the observers once.
    PatternDocument::NotifyBatch batch(m_doc);
    try {
        fActions[size_t(fPosition)]->Undo(m_doc);
    } catch (const QuillError& e) {
        // The action left the design as it was (a size change short of memory): it stays.
        emit replayFailed(e.message());
        return;
    }
    --fPosition;
    replayed();
}

void TActions::Redo()
{
    if (fPosition >= count() - 1)
        return;
    PatternDocument::NotifyBatch batch(m_doc);
    try {
        fActions[size_t(fPosition + 1)]->Execute(m_doc);
    } catch (const QuillError& e) {
        emit replayFailed(e.message());
        return;
    }
    ++fPosition;
    replayed();
}

void TActions::ClearUndoAfterPosition()
{
    while (count() - 1 > fPosition)
        fActions.pop_back();
    UpdateButtons();
}

void TActions::record(std::unique_ptr<TUndoAction> action)
{
    ClearUndoAfterPosition();
    m_doc.stitch().Change();
    fActions.push_back(std::move(action));
    ++fPosition;
    UpdateButtons();
}

void TActions::recordAndExecute(std::unique_ptr<TUndoAction> action)
{
    PatternDocument::NotifyBatch batch(m_doc);
    TUndoAction* a = action.get();
    record(std::move(action));
    a->Execute(m_doc);
    m_doc.sortColorSymbols();
    m_doc.refreshAll();
}

void TActions::actionDraw(TMode mode, const CellRecord& arrCross, quint32 newColor,
                          const CellRecord& arrQuarter, quint32 backcolor,
                          const CellRecord& arrCrossFromQuarter)
{
    record(std::make_unique<TDrawAction>(mode, arrCross, newColor, arrQuarter, backcolor,
                                         arrCrossFromQuarter));
}

void TActions::actionDrawBackStitch(const TBackStitch& b)
{
    record(std::make_unique<TDrawBackStitchAction>(b));
}

void TActions::actionDrawRhode(const TRhode& r)
{
    record(std::make_unique<TDrawRhodeAction>(r));
}

void TActions::actionDrawFrenchKnot(const TFrenchKnot& k)
{
    record(std::make_unique<TDrawFrenchKnotAction>(k));
}

void TActions::actionErase(const CellRecord& crossArray, const CellRecord& quarterArray,
                           const QList<TBackStitch>& backArray,
                           const std::vector<std::unique_ptr<TRhode>>& rhodeArray,
                           const QList<TFrenchKnot>& frenchKnotArray, quint32 color)
{
    record(std::make_unique<TEraseAction>(crossArray, quarterArray, backArray, rhodeArray,
                                          frenchKnotArray, color));
}

void TActions::actionFill(const QList<QPoint>& arr, quint32 oldColor, quint32 newColor,
                          const CellRecord& quarterArray, quint32 backcolor)
{
    record(std::make_unique<TFillAction>(arr, oldColor, newColor, quarterArray, backcolor));
}

void TActions::actionReplaceColor(const QList<QPoint>& arr, const QList<TBackStitch>& arrBack,
                                  quint32 oldColor, quint32 newColor)
{
    record(std::make_unique<TReplaceColorAction>(arr, arrBack, oldColor, newColor));
}

void TActions::actionChangebackgroundColor(const QList<QPoint>& arr,
                                           const QList<QPoint>& arrQuarter, quint32 oldColor,
                                           quint32 newColor)
{
    record(std::make_unique<TChangeBackgroundAction>(arr, arrQuarter, oldColor, newColor));
}

void TActions::actionLine(const QList<QPoint>& points, quint32 newColor)
{
    recordAndExecute(std::make_unique<TLineAction>(m_doc, points, newColor));
}

void TActions::actionOutline(const QList<TBackStitch>& arr, quint32 newColor)
{
    record(std::make_unique<TOutlineAction>(arr, newColor));
}
