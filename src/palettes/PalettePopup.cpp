#include "PalettePopup.h"

#include "core/SettingsStore.h"
#include "core/TStitch.h"

#include <algorithm>

PalettePopup::PalettePopup(TStitch& stitch) : m_stitch(stitch) {}

QStringList PalettePopup::viewItems()
{
    return {QStringLiteral("None"), QStringLiteral("Color number"), QStringLiteral("Usage"),
            QStringLiteral("ColorName"), QStringLiteral("Symbol")};
}

void PalettePopup::FormCreate()
{
    const int v = m_stitch.PaletteView;
    if (v < pvNone || v > pvSymbol) {
        m_stitch.PaletteView = pvNone;
        m_view = pvNone;
        if (m_store)
            m_store->writeInteger(QStringLiteral("PaletteView"), pvNone);
    } else {
        m_view = v;
    }
}

void PalettePopup::takeSnapshot()
{
    QList<TSimpleColorInfo>& list = m_stitch.colorsList;
    list.clear();
    for (const auto& [key, info] : m_stitch.Colors) {
        TSimpleColorInfo s;
        s.color = key;
        s.colorName = info.colorName;
        s.orderID = info.orderID;
        list.append(s);
    }
    // Stable, so that colours of equal palette order keep the table's order.
    std::stable_sort(list.begin(), list.end(),
                     [](const TSimpleColorInfo& a, const TSimpleColorInfo& b) {
                         return a.orderID < b.orderID;
                     });
}

void PalettePopup::layout(int gridWidth)
{
    // A grid narrower than one column still shows one, rather than dividing by zero.
    m_columns = std::max(1, (gridWidth - kGridReserve) / (kColumnWidth + 1));
    const int n = int(m_stitch.Colors.size());
    m_rows = (n + m_columns - 1) / m_columns;
}

int PalettePopup::entryIndex(int column, int row) const
{
    if (column < 0 || row < 0 || column >= m_columns || row >= m_rows)
        return -1;
    const int i = column * m_rows + row;
    return i < m_stitch.colorsList.size() ? i : -1;
}

PaletteCell PalettePopup::cell(int column, int row) const
{
    PaletteCell c;
    const int i = entryIndex(column, row);
    if (i < 0)
        return c;
    c.kind = PaletteCell::Swatch;
    c.color = m_stitch.colorsList[i].color;
    if (m_view == pvNone)
        return c;
    c.whiteInk = symbolInkIsWhite(c.color);
    // Number, count and symbol come from the design colour table, not from the snapshot.
    const TColorInfo* info = m_stitch.Colors.find(c.color);
    if (!info)
        return c;
    switch (m_view) {
    case pvColorNumber:
        c.font = PaletteCell::NumberFont;
        c.text = info->colorID;
        break;
    case pvUsage:
        if (info->colorCount > 0) {
            c.font = PaletteCell::NumberFont;
            c.text = QString::number(info->colorCount);
        }
        break;
    case pvColorName:
        c.font = PaletteCell::NameFont;
        c.text = info->colorName;
        break;
    case pvSymbol:
        if (info->charID >= 0) {
            const QChar ch = m_stitch.chars.symbolAt(info->charID);
            if (!ch.isNull()) {
                c.font = PaletteCell::SymbolFont;
                c.text = QString(ch);
            }
        }
        break;
    default:
        break;
    }
    if (c.text.isEmpty())
        c.font = PaletteCell::NoText;
    return c;
}

void PalettePopup::setView(int index)
{
    if (index < pvNone || index > pvSymbol)
        return;
    m_view = index;
    m_stitch.PaletteView = index;
    if (m_store) {
        m_store->writeInteger(QStringLiteral("PaletteView"), index);
        m_store->sync(); // a failure here is met again, and reported, when the window closes
    }
}

bool PalettePopup::selectCell(int column, int row)
{
    const int i = entryIndex(column, row);
    if (i < 0)
        return false;
    m_stitch.setDrawcolor(m_stitch.colorsList[i].color);
    return true;
}

int PalettePopup::fitTextHeight(const QString& text, int startHeight, int maxWidth,
                                const std::function<int(int)>& measure)
{
    int h = std::max(1, startHeight);
    while (h > 1 && measure(h) > maxWidth)
        --h;
    return h;
}

QFont PalettePopup::textFont(PaletteCell::TextFont font, int pixelHeight)
{
    QFont f(font == PaletteCell::NameFont ? QStringLiteral("Tahoma") : QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, pixelHeight));
    // Texts are drawn without antialiasing, as the symbols are.
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

// --- fades ---

void PaletteFade::startIn()
{
    m_alpha = kStartAlpha;
    m_state = FadingIn;
}

void PaletteFade::startOut()
{
    m_state = FadingOut;
}

PaletteFade::Result PaletteFade::tick()
{
    switch (m_state) {
    case FadingIn:
        m_alpha += kStep;
        if (m_alpha >= kOpaqueFrom) {
            m_alpha = 255;
            m_state = Idle;
            return Shown;
        }
        return Continue;
    case FadingOut:
        m_alpha -= kStep;
        if (m_alpha <= kCloseAt) {
            m_alpha = 255;
            m_state = Idle;
            return Close;
        }
        return Continue;
    case Idle:
        break;
    }
    return Continue;
}
