#include "TFChangeCharacter.h"

#include "core/PatternDocument.h"
#include "core/SymbolFont.h"
#include "core/TStitch.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kHelpTopic = 3600;
const QColor kUsedBackground(192, 192, 192); // silver
} // namespace

// ---------------------------------------------------------------------------------------------
// The grid

SymbolGrid::SymbolGrid(ChangeCharacter& logic, QWidget* parent) : QWidget(parent), m_logic(logic)
{
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
}

void SymbolGrid::setSymbolFont(const QString& family)
{
    m_font = symbolRawFont(family, ChangeCharacter::kFontPixels);
    update();
}

QRect SymbolGrid::cellRect(int column, int row)
{
    return QRect(kLine + column * kPitch, kLine + row * kPitch, ChangeCharacter::kCellSize,
                 ChangeCharacter::kCellSize);
}

QSize SymbolGrid::sizeHint() const
{
    return QSize(kLine + ChangeCharacter::kColumns * kPitch, kLine + ChangeCharacter::kRows * kPitch);
}

void SymbolGrid::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Mid));
    for (int r = 0; r < ChangeCharacter::kRows; ++r) {
        for (int c = 0; c < ChangeCharacter::kColumns; ++c) {
            if (event->rect().intersects(cellRect(c, r)))
                drawCell(p, c, r);
        }
    }
}

void SymbolGrid::drawCell(QPainter& p, int column, int row)
{
    const QRect cell = cellRect(column, row);
    const bool selected = column == m_logic.selectedColumn() && row == m_logic.selectedRow();
    const bool used = m_logic.isUsed(column, row);
    const QChar symbol = m_logic.symbolAt(column, row);
    QColor background = palette().color(QPalette::Base);
    QColor ink = palette().color(QPalette::Text);
    if (used) {
        background = kUsedBackground;
    } else if (selected) {
        background = palette().color(QPalette::Highlight);
        ink = palette().color(QPalette::HighlightedText);
    }
    p.fillRect(cell, background);
    if (!symbol.isNull())
        drawSymbol(p, m_font, symbol.unicode(), QPointF(cell.left() + 2, cell.top()), ink);
    if (selected) {
        // A frame shows the selection on grey cells too.
        p.save();
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(cell).adjusted(1, 1, -1, -1));
        p.restore();
    }
}

void SymbolGrid::selectCell(int column, int row)
{
    if (column < 0 || column >= ChangeCharacter::kColumns || row < 0 || row >= ChangeCharacter::kRows)
        return;
    const QRect before = cellRect(m_logic.selectedColumn(), m_logic.selectedRow());
    m_logic.select(column, row);
    update(before);
    update(cellRect(column, row));
    emit cellSelected(column, row);
}

void SymbolGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int c = (pos.x() - kLine) / kPitch;
    const int r = (pos.y() - kLine) / kPitch;
    if (pos.x() >= kLine && pos.y() >= kLine && cellRect(c, r).contains(pos))
        selectCell(c, r);
}

void SymbolGrid::keyPressEvent(QKeyEvent* event)
{
    int c = m_logic.selectedColumn();
    int r = m_logic.selectedRow();
    switch (event->key()) {
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_Home: c = 0; break;
    case Qt::Key_End: c = ChangeCharacter::kColumns - 1; break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    selectCell(c, r);
}

// ---------------------------------------------------------------------------------------------
// The dialog

TFChangeCharacter::TFChangeCharacter(PatternDocument& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_logic(doc.stitch())
{
    TStitch& st = doc.stitch();
    setWindowTitle(st.translate(QStringLiteral("Change symbol for the current color")));
    auto* top = new QVBoxLayout(this);
    m_text = new QLabel(st.translate(QStringLiteral(
                            "Select new symbol for the current color. Grayed symbols are already in use")),
                        this);
    m_text->setWordWrap(true);
    top->addWidget(m_text);
    m_grid = new SymbolGrid(m_logic, this);
    top->addWidget(m_grid, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(st.translate(QStringLiteral("OK")), this);
    m_cancel = new QPushButton(st.translate(QStringLiteral("Cancel")), this);
    m_help = new QPushButton(st.translate(QStringLiteral("Help")), this);
    m_ok->setDefault(true);
    m_cancel->setAutoDefault(false);
    m_help->setAutoDefault(false);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_help);
    top->addLayout(buttons);

    showMessage = [this](const QString& text) {
        showMessageBox(this, QMessageBox::Information, windowTitle(), text, m_doc.stitch());
    };

    connect(m_grid, &SymbolGrid::cellSelected, this, &TFChangeCharacter::GridSelectCell);
    connect(m_ok, &QPushButton::clicked, this, &TFChangeCharacter::BOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &TFChangeCharacter::reject);
    connect(m_help, &QPushButton::clicked, this, &TFChangeCharacter::HelpClick);
    FormShow();
}

void TFChangeCharacter::FormShow()
{
    m_logic.select(0, 0);
    m_grid->setSymbolFont(m_doc.stitch().chars.fontname());
    m_grid->setFocus(Qt::OtherFocusReason);
    m_ok->setEnabled(m_logic.canAccept());
    m_grid->update();
}

void TFChangeCharacter::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFChangeCharacter::GridSelectCell(int, int)
{
    m_ok->setEnabled(m_logic.canAccept());
}

void TFChangeCharacter::BOKClick()
{
    if (m_logic.accept(m_doc))
        accept();
}

void TFChangeCharacter::HelpClick()
{
    showHelpContext(this, m_doc.stitch(), kHelpTopic);
}

bool showChangeCharacter(QWidget* parent, PatternDocument& doc)
{
    const TColorInfo* e = doc.stitch().Colors.find(doc.stitch().drawcolor());
    if (!e || e->colorCount < 1)
        return false;
    TFChangeCharacter dialog(doc, parent);
    return dialog.exec() == QDialog::Accepted;
}
