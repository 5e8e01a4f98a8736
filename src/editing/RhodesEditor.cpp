#include "RhodesEditor.h"

#include "PointerMapping.h"
#include "core/ColorTypes.h"

#include <QPainter>
#include <algorithm>

RhodesEditor::RhodesEditor(TRhodeList& catalogue) : m_catalogue(catalogue)
{
    resize();
    redraw();
}

RhodesEditor::~RhodesEditor() = default;

QList<int> RhodesEditor::listOrder() const
{
    QList<int> order;
    for (int i = 0; i < int(m_catalogue.size()); ++i)
        order.append(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return QString::localeAwareCompare(m_catalogue[size_t(a)]->name,
                                           m_catalogue[size_t(b)]->name) < 0;
    });
    return order;
}

bool RhodesEditor::canEdit() const
{
    return fMode == modNone && m_selected >= 0 && m_selected < int(m_catalogue.size())
        && !m_catalogue[size_t(m_selected)]->original;
}

void RhodesEditor::select(int position)
{
    if (fMode != modNone)
        return;
    m_pending = false;
    if (position < 0 || position >= int(m_catalogue.size())) {
        m_selected = -1;
        m_edited = nullptr;
        m_name.clear();
        redraw();
        return;
    }
    m_selected = position;
    m_edited = m_catalogue[size_t(position)].get();
    fcellsX = m_edited->width;
    fCellsY = m_edited->height;
    m_name = m_edited->name;
    resize();
    redraw();
}

void RhodesEditor::setMode(TMode m)
{
    fMode = m;
    m_tool = toolDraw;
    m_pending = false;
}

void RhodesEditor::actAdd()
{
    if (!canNew())
        return;
    m_new = std::make_unique<TRhode>();
    m_new->width = fcellsX;
    m_new->height = fCellsY;
    m_edited = m_new.get();
    m_name.clear();
    setMode(modAdd);
    redraw();
}

void RhodesEditor::actEdit()
{
    if (!canEdit())
        return;
    m_edited = m_catalogue[size_t(m_selected)].get();
    setMode(modEdit);
    redraw();
}

int RhodesEditor::actDelete()
{
    if (!canDelete())
        return -1;
    const int position = m_selected;
    m_catalogue.erase(m_catalogue.begin() + position);
    m_selected = -1;
    m_edited = nullptr;
    m_name.clear();
    redraw();
    return position;
}

int RhodesEditor::actOK()
{
    if (!editing() || !m_edited)
        return -1;
    m_edited->name = m_name;
    m_edited->width = fcellsX;
    m_edited->height = fCellsY;
    int position = m_selected;
    if (fMode == modAdd) {
        m_catalogue.push_back(std::move(m_new));
        position = int(m_catalogue.size()) - 1;
    }
    setMode(modNone);
    m_selected = position;
    m_edited = m_catalogue[size_t(position)].get();
    redraw();
    return position;
}

void RhodesEditor::actCancel()
{
    if (!editing())
        return;
    // A new definition is dropped; changes to an existing one stay (it is changed in place),
    // and so does its size, which the stitches drawn may need.
    const bool adding = fMode == modAdd;
    if (!adding && m_edited) {
        m_edited->width = std::max(m_edited->width, stitchExtent().width());
        m_edited->height = std::max(m_edited->height, stitchExtent().height());
    }
    m_new.reset();
    setMode(modNone);
    select(adding ? -1 : m_selected);
}

void RhodesEditor::setTool(Tool tool)
{
    if (!editing())
        return;
    m_tool = tool;
    m_pending = false;
    m_overlay.fill(0);
}

void RhodesEditor::setName(const QString& text)
{
    m_name = text.toUpper();
}

QSize RhodesEditor::stitchExtent() const
{
    int x = 1, y = 1;
    if (m_edited) {
        for (const TBackStitch& s : m_edited->stitches) {
            x = std::max({x, (s.FromPoint.x() + 1) / 2, (s.ToPoint.x() + 1) / 2});
            y = std::max({y, (s.FromPoint.y() + 1) / 2, (s.ToPoint.y() + 1) / 2});
        }
    }
    return {x, y};
}

int RhodesEditor::setCellsX(int n)
{
    fcellsX = std::clamp(n, stitchExtent().width(), kMaxCells);
    resize();
    redraw();
    return fcellsX;
}

int RhodesEditor::setCellsY(int n)
{
    fCellsY = std::clamp(n, stitchExtent().height(), kMaxCells);
    resize();
    redraw();
    return fCellsY;
}

void RhodesEditor::setZoom(int z)
{
    fZoom = std::max(1, z);
    resize();
    redraw();
}

QSize RhodesEditor::surfaceSize() const
{
    return {fZoom * fcellsX + 1, fZoom * fCellsY + 1};
}

void RhodesEditor::resize()
{
    m_surface = QImage(surfaceSize(), QImage::Format_ARGB32);
    m_surface.fill(0xFFFFFFFFu);
    m_overlay = QImage(surfaceSize(), QImage::Format_ARGB32);
    m_overlay.fill(0);
}

void RhodesEditor::redraw()
{
    m_surface.fill(0xFFFFFFFFu);
    m_overlay.fill(0);
    QPainter p(&m_surface);
    p.setPen(QPen(QColor::fromRgba(kGridColor), 1));
    for (int y = 0; y <= fCellsY; ++y)
        p.drawLine(0, y * fZoom, fcellsX * fZoom, y * fZoom);
    for (int x = 0; x <= fcellsX; ++x)
        p.drawLine(x * fZoom, 0, x * fZoom, fCellsY * fZoom);
    if (!m_edited)
        return;
    p.setPen(QPen(QColor::fromRgba(kStitchColor), kStitchPen, Qt::SolidLine, Qt::RoundCap));
    for (const TBackStitch& s : m_edited->stitches)
        p.drawLine(pixelOf(s.FromPoint), pixelOf(s.ToPoint));
}

QPoint RhodesEditor::gridPointAt(QPoint px) const
{
    const int x = Rnd(double(px.x()) / fZoom * 2);
    const int y = Rnd(double(px.y()) / fZoom * 2);
    return {std::clamp(x, 0, 2 * fcellsX), std::clamp(y, 0, 2 * fCellsY)};
}

QPoint RhodesEditor::pixelOf(QPoint g) const
{
    return {fZoom * g.x() / 2, fZoom * g.y() / 2};
}

void RhodesEditor::mousePress(QPoint px)
{
    if (!editing() || !m_edited)
        return;
    if (m_tool == toolDraw) {
        const QPoint g = gridPointAt(px);
        if (!m_pending) {
            m_start = g;
            m_pending = true;
            return;
        }
        m_edited->stitches.append(TBackStitch{m_start, g, 0, 0});
        m_pending = false;
        redraw();
        return;
    }
    // Erase: the newest stitch meeting the 5 x 5 pixel square round the pointer.
    m_pending = false;
    const QPointF lo(px.x() - 2, px.y() - 2), hi(px.x() + 2, px.y() + 2);
    for (int i = int(m_edited->stitches.size()) - 1; i >= 0; --i) {
        const TBackStitch& s = m_edited->stitches.at(i);
        if (segmentMeetsRect(pixelOf(s.FromPoint), pixelOf(s.ToPoint), lo, hi)) {
            m_edited->stitches.removeAt(i);
            break;
        }
    }
    redraw();
}

void RhodesEditor::mouseMove(QPoint px)
{
    m_overlay.fill(0);
    if (!editing() || !m_pending || m_tool != toolDraw)
        return;
    QPainter p(&m_overlay);
    p.setPen(QPen(QColor::fromRgba(kPreviewColor), kStitchPen, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pixelOf(m_start), pixelOf(gridPointAt(px)));
}
