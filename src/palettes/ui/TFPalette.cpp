#include "TFPalette.h"

#include "core/PatternDocument.h"
#include "core/SymbolFont.h"
#include "core/TStitch.h"

#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kPitchX = PalettePopup::kColumnWidth + 1; // column and its grid line
constexpr int kPitchY = PalettePopup::kRowHeight + 1;
const QColor kGridLine(0xC0, 0xC0, 0xC0);
const QColor kHatch(192, 192, 192);

} // namespace

void paintPaletteCell(QPainter& painter, const QRect& rect, const PaletteCell& cell,
                      const QRawFont& symbolFont)
{
    painter.save();
    if (cell.kind == PaletteCell::Empty) {
        painter.fillRect(rect, Qt::white);
        painter.setPen(Qt::white);
        painter.setBrush(QBrush(kHatch, Qt::DiagCrossPattern));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.restore();
        return;
    }
    painter.fillRect(rect, keyToQColor(cell.color));
    const QColor ink = cell.whiteInk ? Qt::white : Qt::black;
    const int startHeight = rect.height() - PalettePopup::kTextMargin;
    switch (cell.font) {
    case PaletteCell::NoText:
        break;
    case PaletteCell::NumberFont:
        painter.setFont(PalettePopup::textFont(cell.font, startHeight));
        painter.setPen(ink);
        painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, cell.text);
        break;
    case PaletteCell::NameFont: {
        const int h = PalettePopup::fitTextHeight(cell.text, startHeight, rect.width(), [&](int px) {
            return QFontMetrics(PalettePopup::textFont(cell.font, px)).horizontalAdvance(cell.text);
        });
        painter.setFont(PalettePopup::textFont(cell.font, h));
        painter.setPen(ink);
        painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, cell.text);
        break;
    }
    case PaletteCell::SymbolFont:
        if (!cell.text.isEmpty())
            drawSymbolCentered(painter, symbolFont, cell.text.at(0).unicode(), rect, ink);
        break;
    }
    painter.restore();
}

// --- the grid ---

PaletteGrid::PaletteGrid(PalettePopup& popup, QWidget* parent)
    : QAbstractScrollArea(parent), m_popup(popup)
{
    setObjectName(QStringLiteral("GridPalette"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(kPitchY);
    viewport()->setAutoFillBackground(false);
}

QRect PaletteGrid::cellRect(int column, int row) const
{
    return QRect(column * kPitchX, row * kPitchY - verticalScrollBar()->value(),
                 PalettePopup::kColumnWidth, PalettePopup::kRowHeight);
}

bool PaletteGrid::cellAt(const QPoint& pos, int& column, int& row) const
{
    const int y = pos.y() + verticalScrollBar()->value();
    if (pos.x() < 0 || y < 0)
        return false;
    column = pos.x() / kPitchX;
    row = y / kPitchY;
    // Grid lines belong to no cell.
    if (pos.x() % kPitchX >= PalettePopup::kColumnWidth || y % kPitchY >= PalettePopup::kRowHeight)
        return false;
    return column < m_popup.columns() && row < m_popup.rows();
}

void PaletteGrid::relayout()
{
    m_popup.layout(width());
    updateScrollBar();
    viewport()->update();
}

void PaletteGrid::updateScrollBar()
{
    const int content = m_popup.rows() * kPitchY;
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(std::max(1, viewport()->height()));
    bar->setRange(0, std::max(0, content - viewport()->height()));
}

void PaletteGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), kGridLine);
    const int top = verticalScrollBar()->value();
    const int firstRow = top / kPitchY;
    const int lastRow = std::min(m_popup.rows() - 1, (top + viewport()->height()) / kPitchY);
    const int lastColumn = std::min(m_popup.columns() - 1, viewport()->width() / kPitchX);
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = 0; c <= lastColumn; ++c)
            paintPaletteCell(p, cellRect(c, r), m_popup.cell(c, r), m_symbolFont);
    }
}

void PaletteGrid::mousePressEvent(QMouseEvent* event)
{
    int c = 0, r = 0;
    if (event->button() == Qt::LeftButton && cellAt(event->position().toPoint(), c, r))
        emit cellClicked(c, r);
}

void PaletteGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

// --- the window ---

TFPalette::TFPalette(TStitch& stitch, PatternDocument& document, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_stitch(stitch), m_document(document), m_popup(stitch)
{
    setObjectName(QStringLiteral("FPalette"));
    m_bar = new QWidget(this);
    m_bar->setObjectName(QStringLiteral("PanelTop"));
    m_label = new QLabel(m_bar);
    m_view = new QComboBox(m_bar);
    m_view->setObjectName(QStringLiteral("ComboPaletteView"));
    m_view->addItems(PalettePopup::viewItems());
    m_label->setBuddy(m_view);
    auto* barLayout = new QHBoxLayout(m_bar);
    barLayout->setContentsMargins(4, 2, 4, 2);
    barLayout->addWidget(m_label);
    barLayout->addWidget(m_view);
    barLayout->addStretch();

    m_grid = new PaletteGrid(m_popup, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_grid, 1);

    m_timer = new QTimer(this);
    m_timer->setInterval(PaletteFade::kInterval);
    connect(m_timer, &QTimer::timeout, this, &TFPalette::Timer1Timer);
    connect(m_grid, &PaletteGrid::cellClicked, this, &TFPalette::GridPaletteSelectCell);
    connect(m_view, &QComboBox::activated, this, &TFPalette::ComboPaletteViewChange);
    // Counts and symbols change while the window is open (drawing, undo): repaint.
    connect(&m_document, &PatternDocument::colorUsageChanged, m_grid->viewport(),
            qOverload<>(&QWidget::update));
    connect(&m_document, &PatternDocument::designReset, m_grid->viewport(),
            qOverload<>(&QWidget::update));

    translateUi();
    FormCreate();
}

void TFPalette::translateUi()
{
    m_label->setText(m_stitch.translate(QStringLiteral("Show text :")));
    const QStringList items = PalettePopup::viewItems();
    for (int i = 0; i < items.size(); ++i)
        m_view->setItemText(i, m_stitch.translate(items[i]));
}

void TFPalette::FormCreate()
{
    m_popup.FormCreate();
    m_view->setCurrentIndex(m_popup.view());
}

void TFPalette::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TFPalette::FormShow()
{
    m_fade.startIn();
    applyAlpha();
    m_popup.takeSnapshot();
    m_grid->setSymbolFont(symbolRawFont(m_stitch.chars.fontname(),
                                        PalettePopup::kRowHeight - PalettePopup::kTextMargin));
    m_grid->relayout();
    m_view->setCurrentIndex(m_popup.view());
    m_grid->viewport()->update();
    m_timer->start();
}

void TFPalette::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PanelPaletteResize();
}

void TFPalette::PanelPaletteResize()
{
    m_grid->relayout();
}

void TFPalette::GridPaletteSelectCell(int column, int row)
{
    if (m_fade.state() == PaletteFade::FadingOut || !m_popup.selectCell(column, row))
        return;
    emit colorChosen(m_stitch.drawcolor());
    emit colorPanelsUpdate();
    m_fade.startOut();
    m_timer->start();
}

void TFPalette::ComboPaletteViewChange(int index)
{
    m_popup.setView(index);
    m_grid->viewport()->update();
}

void TFPalette::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        FormDeactivate();
}

void TFPalette::FormDeactivate()
{
    emit deactivated();
    emit colorPanelsUpdate();
    // Closing at the end of a fade also takes the focus away: nothing more to fade then.
    if (!isVisible() || m_fade.state() == PaletteFade::FadingOut)
        return;
    m_fade.startOut();
    m_timer->start();
}

void TFPalette::Timer1Timer()
{
    const PaletteFade::Result r = m_fade.tick();
    if (!m_fade.running())
        m_timer->stop();
    if (r == PaletteFade::Close)
        close();
    applyAlpha();
}

void TFPalette::applyAlpha()
{
    setWindowOpacity(m_fade.alpha() / 255.0);
}

QSize TFPalette::preferredSize(int colorCount, int columns, int maxRows) const
{
    columns = std::max(1, columns);
    const int rows = std::clamp((colorCount + columns - 1) / columns, 1, std::max(1, maxRows));
    const int frame = 2 * m_grid->frameWidth();
    return QSize(PalettePopup::kGridReserve + columns * kPitchX,
                 m_bar->sizeHint().height() + rows * kPitchY + frame);
}

TFPalette* showPalettePopup(QWidget* parent, TStitch& stitch, PatternDocument& document,
                            SettingsStore* settings)
{
    auto* popup = parent ? parent->findChild<TFPalette*>(QStringLiteral("FPalette"),
                                                         Qt::FindDirectChildrenOnly)
                         : nullptr;
    if (!popup)
        popup = new TFPalette(stitch, document, parent);
    popup->popup().setSettings(settings);
    const QSize size = popup->preferredSize(stitch.Colors.size());
    QPoint pos = QCursor::pos();
    if (const QScreen* screen = parent ? parent->screen() : popup->screen()) {
        const QRect area = screen->availableGeometry();
        pos.setX(std::clamp(pos.x(), area.left(), std::max(area.left(), area.right() - size.width())));
        pos.setY(std::clamp(pos.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    }
    popup->setGeometry(QRect(pos, size));
    popup->show();
    popup->raise();
    popup->activateWindow();
    return popup;
}
