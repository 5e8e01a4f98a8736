#include "CellActions.h"

#include "core/PatternDocument.h"

namespace {
quint32 resolve(const PatternDocument& doc, quint32 content)
{
    return (content >> 24) != 0 ? doc.stitch().BackGroundColor : content;
}
} // namespace

void writeCellContent(PatternDocument& doc, QPoint p, quint32 content)
{
    doc.updatePixel(p.x(), p.y(), resolve(doc, content), false);
}

void writeQuarterContent(PatternDocument& doc, QPoint p, quint32 content)
{
    doc.updateQPixel(p.x(), p.y(), resolve(doc, content), false);
}

void restoreCells(PatternDocument& doc, const CellRecord& record)
{
    for (const auto& [p, content] : record)
        writeCellContent(doc, p, content);
}

void restoreQuarters(PatternDocument& doc, const CellRecord& record)
{
    for (const auto& [p, content] : record)
        writeQuarterContent(doc, p, content);
}

// ---------------------------------------------------------------------------------------------

TDrawAction::TDrawAction(TMode mode, const CellRecord& arrCross, quint32 newColor,
                         const CellRecord& arrQuarter, quint32 backColor,
                         const CellRecord& arrCrossFromQuarter)
    : fArrCross(arrCross), fArrQuarter(arrQuarter), fArrCrossFromQuarter(arrCrossFromQuarter),
      fNewColor(newColor), fBackColor(backColor), fMode(mode)
{
}

void TDrawAction::Execute(PatternDocument& doc)
{
    if (fMode == modQDraw) {
        for (const auto& [p, previous] : fArrCross)
            writeCellContent(doc, p, fBackColor);
        for (const auto& [p, previous] : fArrQuarter)
            writeQuarterContent(doc, p, fNewColor);
        for (const auto& [p, previous] : fArrCrossFromQuarter)
            writeCellContent(doc, p, fNewColor);
        // Quarters that merged into a full cross were emptied when the cross was made.
        for (const auto& [p, previous] : fArrCrossFromQuarter) {
            for (int i = 0; i < 4; ++i)
                writeQuarterContent(doc, QPoint(2 * p.x() + i % 2, 2 * p.y() + i / 2), fBackColor);
        }
    } else {
        for (const auto& [p, previous] : fArrCross)
            writeCellContent(doc, p, fNewColor);
        for (const auto& [p, previous] : fArrQuarter)
            writeQuarterContent(doc, p, fBackColor);
    }
}

void TDrawAction::Undo(PatternDocument& doc)
{
    if (fMode == modQDraw) {
        restoreCells(doc, fArrCrossFromQuarter);
        restoreQuarters(doc, fArrQuarter);
        restoreCells(doc, fArrCross);
    } else {
        restoreCells(doc, fArrCross);
        restoreQuarters(doc, fArrQuarter);
    }
}

// ---------------------------------------------------------------------------------------------

TFillAction::TFillAction(const QList<QPoint>& arr, quint32 oldColor, quint32 newColor,
                         const CellRecord& quarterArray, quint32 backColor)
    : fArr(arr), fNewColor(newColor), fOldColor(oldColor), fBackColor(backColor),
      fQuarterArray(quarterArray)
{
}

void TFillAction::Execute(PatternDocument& doc)
{
    for (const QPoint& p : fArr)
        writeCellContent(doc, p, fNewColor);
    for (const auto& [p, previous] : fQuarterArray)
        writeQuarterContent(doc, p, fBackColor);
}

void TFillAction::Undo(PatternDocument& doc)
{
    for (const QPoint& p : fArr)
        writeCellContent(doc, p, fOldColor);
    restoreQuarters(doc, fQuarterArray);
}

// ---------------------------------------------------------------------------------------------

TReplaceColorAction::TReplaceColorAction(const QList<QPoint>& arr,
                                         const QList<TBackStitch>& arrBack, quint32 oldColor,
                                         quint32 newColor)
    : fArr(arr), fArrBack(arrBack), fNewColor(newColor), fOldColor(oldColor)
{
}

void TReplaceColorAction::apply(PatternDocument& doc, quint32 color)
{
    for (const QPoint& p : fArr)
        writeCellContent(doc, p, color);
    for (const TBackStitch& b : fArrBack)
        doc.backStitchesRecolor(b.Index, color, false);
}

void TReplaceColorAction::Execute(PatternDocument& doc) { apply(doc, fNewColor); }
void TReplaceColorAction::Undo(PatternDocument& doc) { apply(doc, fOldColor); }

// ---------------------------------------------------------------------------------------------

TChangeBackgroundAction::TChangeBackgroundAction(const QList<QPoint>& arr,
                                                 const QList<QPoint>& arrQuarter,
                                                 quint32 oldColor, quint32 newColor)
    : fArr(arr), fArrQuarter(arrQuarter), fNewColor(newColor), fOldColor(oldColor)
{
}

void TChangeBackgroundAction::apply(PatternDocument& doc, quint32 color)
{
    // Empty before and after: the raw values are written directly and no count changes.
    auto write = [color](QImage& raster, const QList<QPoint>& points) {
        for (const QPoint& p : points) {
            if (p.x() >= 0 && p.y() >= 0 && p.x() < raster.width() && p.y() < raster.height())
                reinterpret_cast<TColor32*>(raster.scanLine(p.y()))[p.x()] = color;
        }
    };
    write(doc.CrossCells, fArr);
    write(doc.QuarterCells, fArrQuarter);
    doc.stitch().BackGroundColor = color;
}

void TChangeBackgroundAction::Execute(PatternDocument& doc) { apply(doc, fNewColor); }
void TChangeBackgroundAction::Undo(PatternDocument& doc) { apply(doc, fOldColor); }
