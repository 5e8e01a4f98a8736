#pragma once
// The colour list as a table model: one row per entry of the document's colour list, with
// the columns swatch (colour and symbol), name and use count. Widgets draw it; tests read it.

#include <QAbstractTableModel>

class PatternDocument;

class ColorListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ColSwatch = 0, ColName = 1, ColCount = 2 };
    // Extra roles of the swatch column.
    enum Role { ColorKeyRole = Qt::UserRole + 1, SymbolRole, HasGlyphRole };

    explicit ColorListModel(PatternDocument& doc, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The row of a colour, or -1.
    int rowOf(quint32 colorKey) const;
    quint32 colorAt(int row) const;

    // "Colors used: N (S)" for the status bar.
    QString usedColorsText() const;

private:
    void reload();
    void countsChanged();
    PatternDocument& m_doc;
};
