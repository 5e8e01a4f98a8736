#include "ColorPanel.h"

#include "core/ColorListModel.h"
#include "core/PatternDocument.h"
#include "core/SymbolFont.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Draws the swatch column: the colour, and the symbol of a used colour in its ink.
class SwatchDelegate : public QStyledItemDelegate
{
public:
    SwatchDelegate(PatternDocument& doc, QObject* parent) : QStyledItemDelegate(parent), m_doc(doc) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const ColorKey key = index.data(ColorListModel::ColorKeyRole).toUInt();
        p->fillRect(option.rect, keyToQColor(key));
        if (!index.data(ColorListModel::HasGlyphRole).toBool())
            return;
        const QString symbol = index.data(ColorListModel::SymbolRole).toString();
        if (symbol.isEmpty())
            return;
        // The symbol font at 16 points (from the glyph cache's fonts); white on colours of
        // lightness below 129.
        const QRawFont font = m_doc.stitch().chars.rawFont(16);
        const QColor ink = symbolInkIsWhite(key) ? Qt::white : Qt::black;
        drawSymbolCentered(*p, font, symbol.at(0).unicode(), option.rect, ink);
    }

private:
    PatternDocument& m_doc;
};

} // namespace

ColorPanel::ColorPanel(PatternDocument& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_model(new ColorListModel(doc, this))
{
    setMinimumWidth(151);
    setMaximumWidth(299);

    m_all = new QRadioButton(this);
    m_used = new QRadioButton(this);
    m_all->setChecked(doc.allColorsView());
    m_used->setChecked(!doc.allColorsView());
    m_sort = new QComboBox(this);
    m_sort->addItems({QString(), QString(), QString(), QString()});

    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    m_grid->setItemDelegateForColumn(ColorListModel::ColSwatch, new SwatchDelegate(doc, m_grid));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(24);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 30);
    m_grid->setColumnWidth(1, 60);
    m_grid->setColumnWidth(2, 55);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);

    m_foreground = new QLabel(this);
    m_foreground->setMinimumSize(40, 40);
    m_foreground->setAlignment(Qt::AlignCenter);
    m_foreground->setAutoFillBackground(true);
    m_palette = new QPushButton(this);

    auto* top = new QVBoxLayout;
    top->addWidget(m_all);
    top->addWidget(m_used);
    top->addWidget(m_sort);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_foreground);
    bottom->addStretch();
    bottom->addWidget(m_palette);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(m_all, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_doc.setAllColorsView(true);
    });
    connect(m_used, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_doc.setAllColorsView(false);
    });
    connect(m_sort, &QComboBox::activated, this, [this](int i) {
        m_doc.setColorSortMode(PatternDocument::ColorSort(i));
    });
    connect(m_grid, &QTableView::pressed, this, [this](const QModelIndex& index) {
        m_doc.stitch().setDrawcolor(m_model->colorAt(index.row()));
    });
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        QAction* change = menu.addAction(m_doc.stitch().translate(QStringLiteral("Change character ...")));
        const TColorInfo* e = m_doc.stitch().Colors.find(m_doc.stitch().drawcolor());
        change->setEnabled(e && e->colorCount > 0);
        if (menu.exec(m_grid->viewport()->mapToGlobal(pos)) == change)
            emit changeCharacterRequested();
    });
    connect(m_palette, &QPushButton::clicked, this, &ColorPanel::paletteRequested);

    connect(&doc.stitch(), &TStitch::drawcolorChanged, this, [this] {
        selectDrawColorRow();
        updateColorPanels();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        selectDrawColorRow();
        updateColorPanels();
    });
    retranslate();
    updateColorPanels();
}

void ColorPanel::retranslate()
{
    TStitch& st = m_doc.stitch();
    m_all->setText(st.translate(QStringLiteral("All colors")));
    m_used->setText(st.translate(QStringLiteral("Only used colors")));
    const char* sorts[] = {"by palette", "by name", "by number", "by usage"};
    for (int i = 0; i < 4; ++i)
        m_sort->setItemText(i, st.translate(QString::fromLatin1(sorts[i])));
    m_palette->setText(st.translate(QStringLiteral("Palette")));
    emit usedColorsTextChanged(m_model->usedColorsText());
}

void ColorPanel::resetSort()
{
    m_doc.setColorSortMode(PatternDocument::csPalette);
}

void ColorPanel::selectDrawColorRow()
{
    const int row = m_model->rowOf(m_doc.stitch().drawcolor());
    if (row >= 0) {
        m_grid->selectRow(row);
        m_grid->scrollTo(m_model->index(row, 0));
    }
}

void ColorPanel::updateColorPanels()
{
    const TStitch& st = m_doc.stitch();
    const ColorKey c = st.drawcolor();
    QPalette pal = m_foreground->palette();
    QPixmap picture(m_foreground->minimumSize());
    if (c == st.BackGroundColor) {
        picture.fill(keyToQColor(pixelToKey(st.BackGroundColor)));
    } else {
        picture.fill(keyToQColor(c));
        const TColorInfo* e = st.Colors.find(c);
        if (e && e->charID >= 0) {
            QPainter p(&picture);
            const QChar symbol = st.chars.symbolAt(e->charID);
            if (!symbol.isNull())
                // 18 points are the swatch's 24 pixels.
                drawSymbolCentered(p, st.chars.rawFont(18), symbol.unicode(),
                                   QRectF(picture.rect()), symbolInkIsWhite(c) ? Qt::white : Qt::black);
        }
    }
    m_foreground->setPixmap(picture);
    emit usedColorsTextChanged(m_model->usedColorsText());
}
