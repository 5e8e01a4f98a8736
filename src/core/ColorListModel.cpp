#include "ColorListModel.h"

#include "PatternDocument.h"

ColorListModel::ColorListModel(PatternDocument& doc, QObject* parent)
    : QAbstractTableModel(parent), m_doc(doc)
{
    // The list changes shape on many paths; a reset keeps the view simple and is cheap at a
    // few hundred rows. A change of counts alone (every drawing step) keeps the rows, so only
    // the count column is refreshed: the view keeps its selection and scroll position.
    connect(&doc, &PatternDocument::colorListChanged, this, &ColorListModel::reload);
    connect(&doc, &PatternDocument::colorUsageChanged, this, &ColorListModel::countsChanged);
    connect(&doc, &PatternDocument::designReset, this, &ColorListModel::reload);
}

void ColorListModel::reload()
{
    beginResetModel();
    endResetModel();
}

void ColorListModel::countsChanged()
{
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, ColCount), index(rows - 1, ColCount), {Qt::DisplayRole});
}

int ColorListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_doc.ColorSymbolsList.size());
}

int ColorListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant ColorListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_doc.ColorSymbolsList.size())
        return {};
    const TColorSymbols& s = m_doc.ColorSymbolsList.at(index.row());
    const TColorInfo* e = m_doc.stitch().Colors.find(s.Color);
    switch (role) {
    case ColorKeyRole:
        return s.Color;
    case SymbolRole:
        return QString(s.Symbol);
    case HasGlyphRole:
        return s.hasBitmap;
    case Qt::BackgroundRole:
        return index.column() == ColSwatch ? QVariant(keyToQColor(s.Color)) : QVariant();
    case Qt::DisplayRole:
        if (!e)
            return {};
        if (index.column() == ColName)
            return e->colorName;
        if (index.column() == ColCount)
            return e->colorCount;
        return {};
    case Qt::ToolTipRole:
        return e ? QStringLiteral("%1 %2").arg(e->colorID, e->colorName) : QVariant();
    default:
        return {};
    }
}

QVariant ColorListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    TStitch& st = const_cast<TStitch&>(m_doc.stitch());
    switch (section) {
    case ColName:
        return st.translate(QStringLiteral("Number"));
    case ColCount:
        return st.translate(QStringLiteral("Pixel"));
    default:
        return QString();
    }
}

int ColorListModel::rowOf(quint32 colorKey) const
{
    return m_doc.colorSymbolsIndexOf(colorKey);
}

quint32 ColorListModel::colorAt(int row) const
{
    return row >= 0 && row < m_doc.ColorSymbolsList.size() ? m_doc.ColorSymbolsList.at(row).Color : 0;
}

QString ColorListModel::usedColorsText() const
{
    TStitch& st = const_cast<TStitch&>(m_doc.stitch());
    return st.translate(QStringLiteral("Colors used")) + QStringLiteral(": ")
        + QString::number(st.usedColors()) + QStringLiteral(" (")
        + QString::number(st.chars.fcharacters.size()) + QLatin1Char(')');
}
