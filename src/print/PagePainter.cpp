#include "PagePainter.h"

#include "KeyList.h"
#include "PagePainterState.h"
#include "PrintFonts.h"
#include "RealMode.h"
#include "core/PatternDocument.h"
#include "core/SymbolFont.h"
#include "core/TStitch.h"
#include "palettes/CmykTable.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

PagePainter::State::State(const PrintContext& context, PageTarget& pageTarget)
    : ctx(context), target(pageTarget)
{
    position = keyOnlyJob() ? pSeparate : ctx.preview.position;
}

PagePainter::State::~State() = default;

QString PagePainter::State::tr(const QString& text) const
{
    // The job reads the one state object; looking a text up may remember it as untranslated.
    return const_cast<TStitch&>(ctx.stitch).translate(text);
}

void PagePainter::State::beginPage()
{
    target.beginPage();
    target.markFresh();
}

void PagePainter::State::freshPageIfUsed()
{
    if (target.pageUsed())
        beginPage();
}

QColor PagePainter::State::printed(ColorKey c) const
{
    // With "Use CMYK Colors", the CMYK table's substitute when it has one.
    return keyToQColor(printColor(ctx.stitch, c, ctx.options.cmyk));
}

QColor PagePainter::State::inkOn(ColorKey c) const
{
    if (!ctx.preview.useColors)
        return Qt::black;
    const QColor p = printed(c);
    return symbolInkIsWhite(qColorToKey(p)) ? QColor(Qt::white) : QColor(Qt::black);
}

QColor PagePainter::State::grey(ColorKey c)
{
    const int g = int((kRedOf(c) + kGreenOf(c) + kBlueOf(c)) / 3);
    return QColor(g, g, g);
}

QColor PagePainter::State::light(ColorKey c)
{
    auto half = [](quint32 v) { return int(v) + Rnd((255 - int(v)) * 50 / 100.0); };
    return QColor(half(kRedOf(c)), half(kGreenOf(c)), half(kBlueOf(c)));
}

const TColorInfo* PagePainter::State::colorInfo(ColorKey c) const
{
    return ctx.stitch.Colors.find(c);
}

QString PagePainter::State::usedSymbol(ColorKey c) const
{
    const TColorInfo* info = colorInfo(c);
    if (!info)
        return {};
    const TCharacters& chars = ctx.stitch.chars;
    if (info->charID < 0 || info->charID >= chars.CharsUsed.size()
        || chars.CharsUsed[info->charID] == 0)
        return {};
    const QChar ch = chars.symbolAt(info->charID);
    return ch.isNull() ? QString() : QString(ch);
}

QFont PagePainter::State::sans(double points, bool bold) const
{
    return printFont(kPrintSansFamily, points, ctx.preview.pixelsPerInch, bold);
}

QFont PagePainter::State::titleFont(double points, bool bold, bool italic) const
{
    return printFont(kPrintTitleFamily, points, ctx.preview.pixelsPerInch, bold, italic);
}

QSize PagePainter::State::textExtent(const QString& text)
{
    const QFontMetrics fm(painter().font(), painter().device());
    return QSize(fm.horizontalAdvance(text), fm.height());
}

int PagePainter::State::textOut(int x, int y, const QString& text, const QColor& ink, bool opaque)
{
    QPainter& p = painter();
    const QFontMetrics fm(p.font(), p.device());
    const int cx = fm.horizontalAdvance(text);
    if (opaque)
        p.fillRect(QRect(x, y, cx, fm.height()), Qt::white);
    p.setPen(ink);
    p.drawText(QPoint(x, y + fm.ascent()), text);
    target.markUsed();
    return cx;
}

QRawFont PagePainter::State::symbolFont(int heightPx)
{
    heightPx = std::max(1, heightPx);
    auto it = m_symbolFonts.constFind(heightPx);
    if (it != m_symbolFonts.cend())
        return *it;
    QRawFont f = symbolRawFont(ctx.stitch.chars.fontname(), heightPx);
    if (f.isValid()) {
        // A font's height is its ascent and descent; the pixel size is the em square.
        const qreal h = f.ascent() + f.descent();
        if (h > 0)
            f.setPixelSize(heightPx * heightPx / h);
    }
    m_symbolFonts.insert(heightPx, f);
    return f;
}

QSize PagePainter::State::symbolExtent(const QRawFont& font, const QString& symbol) const
{
    if (symbol.isEmpty())
        return {};
    const QSizeF e = ::symbolExtent(font, symbol.toUcs4().value(0));
    return QSize(Rnd(e.width()), Rnd(e.height()));
}

void PagePainter::State::drawSymbolAt(const QRawFont& font, const QString& symbol, QPoint topLeft,
                                      const QColor& ink)
{
    if (symbol.isEmpty())
        return;
    drawSymbol(painter(), font, symbol.toUcs4().value(0), topLeft, ink);
    target.markUsed();
}

void PagePainter::State::drawHeader()
{
    const TPreview& p = pv();
    const int l0 = opt().inlineBorder ? p.borderLeftPx() : 0;
    const int t0 = opt().inlineBorder ? p.borderTopPx() : 0;
    painter().setFont(sans(14));
    QString title = ctx.stitch.Title;
    if (title.isEmpty())
        title = QFileInfo(ctx.stitch.filename()).fileName();
    textOut(l0, t0, title, Qt::black, true);
    QString comment = ctx.stitch.comment.join(QLatin1Char(' '));
    if (ctx.stitch.comment.isEmpty())
        comment = ctx.stitch.colorsname();
    textOut(l0, t0 + p.titleHeightPx, comment, Qt::black, true);
}

void PagePainter::State::drawFooter(int pageNum)
{
    if (!opt().pageNumbers)
        return;
    const TPreview& p = pv();
    painter().setFont(sans(12));
    const QString text = tr(QStringLiteral("Page")) + QStringLiteral(": ")
        + QString::number(pageNum) + QLatin1Char('/') + QString::number(p.pageNumber);
    const int cx = textExtent(text).width();
    // Half-way down the strip the layout left free, which lies above the bottom border only
    // while the border is on. Picture pages count their strip in pixels, narrower than 5 mm
    // of their page; the footer then starts right below the usable page and the lower half
    // of a thick grid line on its edge, so that it never covers the chart's frame.
    const bool border = opt().inlineBorder;
    const int bottom = border ? p.borderBottomPx() : 0;
    const int lineWidth = std::max(1, int(p.ThickLinesPx));
    const int clear = (border ? p.borderTopPx() : 0) + p.pageheight + lineWidth - lineWidth / 2;
    const int top = std::max(p.pageheightReal - Rnd(5 * p.mmPx) - bottom, clear);
    textOut((p.pagewidthReal - cx) / 2, top, text, Qt::black, true);
}

void PagePainter::State::drawKeyEntry(const TMyColor& entry, const QRect& rect)
{
    QPainter& p = painter();
    const TPreview& v = pv();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(v.useColors ? printed(entry.Color) : QColor(Qt::white));
    const QRect box(rect.left(), rect.top(), rect.width() - 1, rect.height() - 1);
    if (entry.ColorType == ctCross)
        p.drawRect(box);
    else
        p.drawEllipse(box);
    p.restore();

    if (!entry.Symbol.isEmpty()) {
        // Centred on the swatch by the symbol's measured box.
        const QRawFont f = symbolFont(Rnd(v.keyHeightPx - 2 * v.mmPx));
        const QSize e = symbolExtent(f, entry.Symbol);
        drawSymbolAt(f, entry.Symbol,
                     QPoint(rect.left() + (rect.width() - e.width()) / 2,
                            rect.top() + (rect.height() - e.height()) / 2),
                     v.useColors ? inkOn(entry.Color) : QColor(Qt::black));
    }

    p.setFont(sans(8));
    const TColorInfo* info = colorInfo(entry.Color);
    const QString id = info ? info->colorID : entry.Name;
    const int tx = Rnd(4 * v.mmPx) + rect.left() + v.keyHeightPx;
    textOut(tx, rect.top(), id, Qt::black, true);
    if (id != entry.Name)
        textOut(tx, rect.top() + v.keyHeightPx / 2, entry.Name, Qt::black, true);
    const qint64 amount = threadAmount(entry, ctx.stitch);
    const qint64 bags = bagsFor(amount, ctx.stitch.BagSize);
    textOut(Rnd(30 * v.mmPx) + rect.left(), rect.top(), QString::number(amount), Qt::black, true);
    textOut(Rnd(45 * v.mmPx) + rect.left(), rect.top(),
            QString::number(bags) + QLatin1Char(' ') + tr(QStringLiteral("Bag(s)")), Qt::black,
            true);
    target.markUsed();
}

PagePainter::PagePainter(const PrintContext& context, PageTarget& target)
    : m_ctx(context), m_target(target), m_state(std::make_unique<State>(context, target))
{
    m_state->backStitchProgress = &backStitchProgress;
}

PagePainter::~PagePainter() = default;

void PagePainter::beginJob()
{
    m_state->position = m_state->keyOnlyJob() ? pSeparate : m_ctx.preview.position;
    m_state->real.reset();
    if (m_ctx.options.realMode)
        m_state->real = std::make_unique<RealModeTextures>(
            m_ctx.doc, m_ctx.stitch,
            QSize(Rnd(m_ctx.preview.gridWidthPx), Rnd(m_ctx.preview.gridHeightPx)),
            m_ctx.options.cmyk);
}

void PagePainter::drawTablePage(const TMyPage& page)
{
    State& st = *m_state;
    const TPreview& v = m_ctx.preview;
    st.page = &page;
    const bool margins = m_ctx.preview.gridNumbersFlag;
    st.S = page.xOffcetPx + (page.isLeft || margins ? v.borderPX : 0);
    st.U = page.yOffcetPx + (page.isTop || margins ? v.borderPX : 0);
    st.lastEnd = QPoint(-1, -1);
    st.lastColor = -1;

    if ((page.isLeft && page.isTop) || st.keyOnlyJob())
        st.drawHeader();
    if (page.keysOnly) {
        drawKeyPage(st);
    } else {
        drawKeysBesideChart(st);
        drawChartPage(st);
    }
    st.drawFooter(page.pageNum);
    m_target.markUsed();
    st.page = nullptr;
}
