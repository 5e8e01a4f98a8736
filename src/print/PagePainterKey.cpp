// Key entries: beside the chart on chart pages, and the key pages of their own.
#include "PagePainter.h"
#include "PagePainterState.h"
#include "core/TStitch.h"

#include <QPainter>

namespace {

// Draws key place `index` of the list when it holds an entry. `shiftX` and `shiftY` say
// whether the inline border still has to be added on that axis: a coordinate taken from a
// page offset (xOffcetPx, yOffcetPx, keyOffset) already holds it.
void keyPlace(PagePainter::State& st, int index, int left, int top, bool shiftX, bool shiftY)
{
    if (index < 0 || index >= st.ctx.keys.size())
        return;
    const TPreview& v = st.pv();
    if (st.opt().inlineBorder) {
        if (shiftX)
            left += v.borderLeftPx();
        if (shiftY)
            top += v.borderTopPx();
    }
    const int side = v.keyHeightPx - Rnd(2 * v.mmPx);
    st.drawKeyEntry(st.ctx.keys.at(index), QRect(left, top, side, side));
}

} // namespace

void drawKeysBesideChart(PagePainter::State& st)
{
    const TMyPage& pg = *st.page;
    const TPreview& v = st.pv();
    const int kw = v.keyWidthPx, kh = v.keyHeightPx;
    const int headTop = v.titleHeightPx + v.CommentHeightPX;
    switch (st.position) {
    case pLeft:
        if (!pg.isLeft)
            return;
        for (int c = 0; c < pg.keycols; ++c)
            for (int r = 0; r < pg.keycount; ++r)
                keyPlace(st, c * pg.KeyRestart + r + pg.keyFirst, c * kw, pg.yOffcetPx + r * kh,
                         true, false);
        break;
    case pTop:
        if (!pg.isTop)
            return;
        for (int k = 0; k < pg.keycols; ++k)
            for (int g = 0; g < pg.keycount; ++g)
                keyPlace(st, k * pg.KeyRestart + g + pg.keyFirst, g * kw, headTop + k * kh, true,
                         true);
        break;
    case pRight:
        if (!pg.hasKeys)
            return;
        for (int c = 0; c < pg.keycols; ++c)
            for (int r = 0; r < pg.keycount; ++r)
                keyPlace(st, c * pg.KeyRestart + r + pg.keyFirst, pg.keyOffset + c * kw,
                         (pg.isTop ? headTop : 0) + r * kh, false, true);
        break;
    case pBottom:
        if (!pg.hasKeys)
            return;
        for (int k = 0; k < pg.keycols; ++k)
            for (int g = 0; g < pg.keycount; ++g)
                keyPlace(st, k * pg.KeyRestart + g + pg.keyFirst, g * kw, pg.keyOffset + k * kh,
                         true, false);
        break;
    case pSeparate:
        break;
    }
}

void drawKeyPage(PagePainter::State& st)
{
    const TMyPage& pg = *st.page;
    const TPreview& v = st.pv();
    const int kw = v.keyWidthPx, kh = v.keyHeightPx;
    QPainter& p = st.painter();
    const int x0 = st.opt().inlineBorder ? v.borderLeftPx() : 0;
    int y0 = st.opt().inlineBorder ? v.borderTopPx() : 0;
    if (st.keyOnlyJob())
        y0 += 2 * v.titleHeightPx;
    p.setFont(st.sans(14));
    st.textOut(x0, y0, st.tr(QStringLiteral("Palette")) + QStringLiteral(": ")
                           + st.ctx.stitch.colorsname(),
               Qt::black, true);
    p.setFont(st.sans(8));
    const int y = y0 + v.titleHeightPx;
    const QString color = st.tr(QStringLiteral("Color"));
    const QString number = st.tr(QStringLiteral("Order")) + QLatin1Char(' ')
        + st.tr(QStringLiteral("number")) + QLatin1Char('/');
    const QString name = st.tr(QStringLiteral("Color Name"));
    const QString amount = st.tr(QStringLiteral("Amount"));
    const QString bags = st.tr(QStringLiteral("Bags"));
    for (int c = 0; c < pg.keycols; ++c) {
        const int cx = c * kw + x0;
        st.textOut(cx, y, color, Qt::black, true);
        st.textOut(Rnd(4 * v.mmPx) + cx + kh, y, number, Qt::black, true);
        st.textOut(Rnd(4 * v.mmPx) + cx + kh, y + kh / 2, name, Qt::black, true);
        st.textOut(Rnd(30 * v.mmPx) + cx, y, amount, Qt::black, true);
        st.textOut(Rnd(45 * v.mmPx) + cx, y, bags, Qt::black, true);
    }
    for (int c = 0; c < pg.keycols; ++c)
        for (int r = 0; r < pg.keycount; ++r)
            keyPlace(st, c * pg.KeyRestart + r + pg.keyFirst, c * kw, pg.yOffcetPx + r * kh, true,
                     false);
    st.target.markUsed();
}
