// The pages around the table: title page, stitch-steps list, label sheets, table of contents
// and information page.
#include "PagePainter.h"
#include "PagePainterState.h"
#include "PrintFonts.h"
#include "RealMode.h"
#include "core/PatternDocument.h"
#include "core/Product.h"
#include "core/TStitch.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>
#include <climits>

namespace {

const QColor kHeadingBlue(0x36, 0x5F, 0x91);
const QColor kSubtitleBlue(0x4F, 0x82, 0xBE);

// The smallest page number of the table's pages of `kind`, or 0 when there is none.
int firstPageNumber(const TPreview& v, TPrintStitches kind)
{
    int best = INT_MAX;
    for (const auto& [pos, page] : v.pages)
        if (page.PrintStitches == kind)
            best = std::min(best, page.pageNum);
    return best == INT_MAX ? 0 : best;
}

// Writes `text` centred across the whole page with its top at y.
void centred(PagePainter::State& st, int y, const QString& text, const QColor& ink)
{
    const int cx = st.textExtent(text).width();
    st.textOut((st.pv().pagewidthReal - cx) / 2, y, text, ink);
}

void drawTitlePicture(PagePainter::State& st)
{
    const PatternDocument& doc = st.ctx.doc;
    const TPreview& v = st.pv();
    const int w = doc.width(), h = doc.height();
    const double fw = 1.0, fh = doc.KnittingMode ? 0.7 : 1.0;
    const int h0 = Rnd(0.528 * v.pageheightReal);
    const int most = std::max(Rnd(fw * w), Rnd(fh * h));
    if (most <= 0 || h0 <= 0)
        return;
    const int k = h0 / most;
    QPainter& p = st.painter();
    if (k >= 1) {
        const QImage picture = titlePagePicture(doc, st.ctx.stitch, k, st.opt().cmyk);
        const int x = Rnd(v.pagewidthReal - fw * k * w) / 2;
        const int y = Rnd(0.194 * v.pageheightReal)
            + (Rnd(k * std::max(fw * w, fh * h)) - Rnd(fh * h * k)) / 2;
        p.fillRect(QRect(QPoint(x, y), picture.size()), QColor(0xFF, 0, 0));
        p.drawImage(QPoint(x, y), picture);
    } else {
        // More cells than the space has pixels: the picture at one pixel per cell, reduced
        // into the same space.
        const double kd = double(h0) / most;
        const QRect box(Rnd(v.pagewidthReal - fw * kd * w) / 2,
                        Rnd(0.194 * v.pageheightReal)
                            + (Rnd(kd * std::max(fw * w, fh * h)) - Rnd(fh * h * kd)) / 2,
                        std::max(1, Rnd(fw * kd * w)), std::max(1, Rnd(fh * kd * h)));
        const QImage picture = titlePagePicture(doc, st.ctx.stitch, 1, st.opt().cmyk);
        p.fillRect(box, QColor(0xFF, 0, 0));
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(box, picture);
        p.restore();
    }
    st.target.markUsed();
}

// The label font whose lines (ascent and descent) are `height` pixels high, so that the
// symbol's half and the two quarters of the texts add up to the label's height.
QFont labelFont(PagePainter::State& st, int height)
{
    height = std::max(1, height);
    QFont font = printFont(kPrintSansFamily, 1, 72);
    font.setPixelSize(height);
    const int line = QFontMetrics(font, st.painter().device()).height();
    if (line > height)
        font.setPixelSize(std::max(1, height * height / line));
    return font;
}

// The label's texts: the largest height at most Rnd(h / 4) at which `text` is no wider than
// the label, less one.
QFont fittedLabelFont(PagePainter::State& st, const QString& text, int labelWidth, int labelHeight)
{
    int height = std::max(1, Rnd(labelHeight / 4.0));
    for (; height > 1; --height) {
        st.painter().setFont(labelFont(st, height));
        if (st.textExtent(text).width() <= labelWidth)
            break;
    }
    return labelFont(st, height - 1);
}

void drawLabel(PagePainter::State& st, const TMyColor& entry, const QRect& label)
{
    QPainter& p = st.painter();
    const TPreview& v = st.pv();
    const int w = label.width(), h = label.height();
    const QRawFont font = st.symbolFont(Rnd(h / 2.0));
    const QSize e = st.symbolExtent(font, entry.Symbol);
    const int l = Rnd(label.left() + (w - e.width()) / 2.0);
    const int r = Rnd(label.left() + w - (w - e.width()) / 2.0);
    const int t = label.top(), b = label.top() + e.height();
    if (r > l && b > t) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(v.useColors ? st.printed(entry.Color) : QColor(Qt::white));
        const QRect box(l, t, r - l - 1, b - t - 1);
        if (entry.ColorType == ctCross)
            p.drawRect(box);
        else
            p.drawEllipse(box);
        p.restore();
    }
    st.drawSymbolAt(font, entry.Symbol, QPoint(l, t),
                    v.useColors ? st.inkOn(entry.Color) : QColor(Qt::black));

    p.setFont(fittedLabelFont(st, entry.Name, w, h));
    const int nameWidth = st.textExtent(entry.Name).width();
    st.textOut(Rnd(label.left() + (w - nameWidth) / 2.0), b, entry.Name, Qt::black, true);
    const TColorInfo* info = st.colorInfo(entry.Color);
    if (info && info->colorID != entry.Name) {
        p.setFont(fittedLabelFont(st, info->colorID, w, h));
        const QSize id = st.textExtent(info->colorID);
        st.textOut(Rnd(label.left() + (w - id.width()) / 2.0), label.top() + h - id.height(),
                   info->colorID, Qt::black, true);
    }
}

} // namespace

QRect labelRect(const TStitch& s, double mmPx, int row, int col)
{
    const double width = s.LabelWidth / 10.0, height = s.LabelHeight / 10.0;
    const double left0 = s.LabelBorderLeft / 10.0, top0 = s.LabelBorderTop / 10.0;
    double gx = 0, gy = 0;
    if (s.LabelGridHor > 1)
        gx = (210 - (s.LabelBorderLeft + s.LabelBorderRight + s.LabelGridHor * s.LabelWidth) / 10.0)
            / (s.LabelGridHor - 1);
    if (s.LabelGridVert > 1)
        gy = (297 - (s.LabelBorderTop + s.LabelBorderBottom + s.LabelGridVert * s.LabelHeight) / 10.0)
            / (s.LabelGridVert - 1);
    gx = std::max(0.0, gx);
    gy = std::max(0.0, gy);
    const int l = Rnd(((width + gx) * col + left0) * mmPx);
    const int t = Rnd(((height + gy) * row + top0) * mmPx);
    const int r = Rnd(((col + 1) * width + col * gx + left0) * mmPx);
    const int b = Rnd(((row + 1) * height + row * gy + top0) * mmPx);
    return QRect(l, t, r - l, b - t);
}

void PagePainter::drawTitlePage()
{
    State& st = *m_state;
    const TPreview& v = m_ctx.preview;
    const TStitch& s = m_ctx.stitch;
    QPainter& p = st.painter();
    const int ph = v.pageheightReal;
    p.setFont(st.titleFont(28, true));
    centred(st, Rnd(0.13 * ph), st.tr(QStringLiteral("Design")), kHeadingBlue);
    drawTitlePicture(st);
    p.setFont(st.titleFont(20, true));
    // The title is the user's own text; it is not looked up in the translations.
    centred(st, Rnd(0.76 * ph), s.Title, kHeadingBlue);
    p.setFont(st.titleFont(11, false));
    const double lines[] = {0.788, 0.805, 0.822};
    for (int i = 0; i < 3 && i < s.comment.size(); ++i)
        centred(st, Rnd(lines[i] * ph), s.comment.at(i), Qt::black);
    p.setFont(st.titleFont(11, false, true));
    centred(st, Rnd(0.861 * ph), QFileInfo(s.filename()).fileName(), Qt::black);
    p.setFont(st.titleFont(11, true));
    centred(st, Rnd(0.889 * ph), st.tr(s.SubTitle), kSubtitleBlue);
    m_target.markUsed();
}

void PagePainter::drawStitchSteps()
{
    State& st = *m_state;
    const TPreview& v = m_ctx.preview;
    if (!m_ctx.options.stitchList || m_ctx.steps.isEmpty())
        return;
    st.freshPageIfUsed();
    QPainter& p = st.painter();
    int pageNum = firstPageNumber(v, psStitchList);
    // The list fills the usable page, as many lines a column and columns a page as the layout
    // reserved pages for: from the inline border's corner when the border is on, else from
    // the page's corner.
    const bool border = m_ctx.options.inlineBorder;
    const int x0 = border ? v.borderLeftPx() : 0, y0 = border ? v.borderTopPx() : 0;
    const int kw = v.keyWidthPx, kh = v.keyHeightPx;
    p.setFont(st.sans(14));
    st.textOut(x0, y0, st.tr(QStringLiteral("Stitch Steps List")), Qt::black, true);
    st.drawFooter(pageNum);

    const QString rowWord = st.tr(QStringLiteral("row"));
    const QString background = st.tr(QStringLiteral("BackGround"));
    const QRawFont symbolFont = st.symbolFont(kh - Rnd(2 * v.mmPx));
    int col = 0;
    int y = y0 + v.titleHeightPx;
    // Moves to the next column, or to a fresh page, when the next line would not fit; lines
    // are placed only when they follow, so the list never ends with an empty page.
    auto place = [&] {
        if (y0 + v.pageheight >= kh + y)
            return;
        y = y0 + v.titleHeightPx;
        ++col;
        if (v.pagewidth < (col + 1) * kw) {
            col = 0;
            st.beginPage();
            ++pageNum;
            st.drawFooter(pageNum);
        }
    };
    qint32 lastRow = -1;
    for (const TStitchListItem& item : m_ctx.steps) {
        if (item.Row != lastRow) {
            place();
            p.setFont(st.sans(8, true));
            st.textOut(x0 + col * kw, y, QString::number(item.Row) + QStringLiteral(". ") + rowWord,
                       Qt::black, true);
            y += kh;
            lastRow = item.Row;
        }
        place();
        p.setFont(st.sans(8));
        int x = Rnd(6 * v.mmPx) + x0 + col * kw;
        const QString count = QString::number(item.Count) + QStringLiteral(" x ");
        if (item.isBackgroud) {
            st.textOut(x, y, count + background, Qt::black, true);
        } else {
            x += st.textOut(x, y, count + QLatin1Char('['), Qt::black, true);
            // The symbol is taller than the text: centred on the text line.
            const QSize e = st.symbolExtent(symbolFont, item.Symbol);
            const int th = st.textExtent(count).height();
            st.drawSymbolAt(symbolFont, item.Symbol, QPoint(x, y + (th - e.height()) / 2),
                            Qt::black);
            x += e.width();
            st.textOut(x, y, QStringLiteral("] ") + item.ColorName, Qt::black, true);
        }
        y += kh;
    }
    m_target.markUsed();
}

double labelSheetScale(const TPreview& v, bool exportMode)
{
    if (!exportMode)
        return v.mmPx;
    // Picture pages are no sheet of paper: their millimetre is a nominal 3 pixels, and an A4
    // sheet of that size is taller than the default picture, so the sheet is shrunk until it
    // fits and no label row is lost below the picture.
    double scale = v.mmPx;
    if (v.pagewidthReal > 0)
        scale = std::min(scale, v.pagewidthReal / 210.0);
    if (v.pageheightReal > 0)
        scale = std::min(scale, v.pageheightReal / 297.0);
    return scale;
}

void PagePainter::drawLabels()
{
    State& st = *m_state;
    const TStitch& s = m_ctx.stitch;
    if (!m_ctx.options.labels || m_ctx.keys.isEmpty())
        return;
    const int perRow = s.LabelGridHor, perPage = s.LabelGridHor * s.LabelGridVert;
    if (perRow <= 0 || perPage <= 0)
        return;
    const double scale = labelSheetScale(m_ctx.preview, m_ctx.options.exportMode);
    for (int i = 0; i < m_ctx.keys.size(); ++i) {
        const int place = i % perPage;
        if (place == 0)
            st.freshPageIfUsed();
        drawLabel(st, m_ctx.keys.at(i),
                  labelRect(s, scale, place / perRow, place % perRow));
        m_target.markUsed();
    }
}

void PagePainter::drawContents()
{
    State& st = *m_state;
    const TPreview& v = m_ctx.preview;
    if (!m_ctx.options.contents)
        return;
    st.freshPageIfUsed();
    QPainter& p = st.painter();
    const bool border = m_ctx.options.inlineBorder;
    const int x0 = border ? v.borderLeftPx() : 5;
    int y0 = border ? v.borderTopPx() : 5;
    p.setFont(st.sans(14));
    st.textOut(x0, y0, st.tr(QStringLiteral("Contents")), Qt::black, true);
    y0 += 300;
    if (v.hpages > 0 && v.vpages > 0 && v.pagewidthReal > 0 && v.pageheightReal > 0) {
        int w = (v.pagewidth - x0) / v.hpages;
        int h = (v.pageheight - y0) / v.vpages;
        if (w > h / 1.5)
            w = Rnd(h / 1.5);
        else
            h = Rnd(w * 1.5);
        if (w > 0 && h > 0)
            for (const auto& [pos, page] : v.pages)
                v.drawPageThumbnail(p, page, QRect(x0 + pos.col * w, y0 + pos.row * h, w, h),
                                    double(w) / v.pagewidthReal, double(h) / v.pageheightReal,
                                    m_ctx.options);
    }
    st.drawFooter(firstPageNumber(v, psContents));
    m_target.markUsed();
}

void PagePainter::drawInfoPage()
{
    State& st = *m_state;
    const TPreview& v = m_ctx.preview;
    if (!m_ctx.options.info)
        return;
    st.freshPageIfUsed();
    QPainter& p = st.painter();
    const int pw = v.pagewidthReal, ph = v.pageheightReal;
    p.setFont(st.titleFont(28, true));
    st.textOut(Rnd(0.1 * pw), Rnd(0.13 * ph), st.tr(QStringLiteral("Info")), kHeadingBlue);

    // The book information is HTML, laid out as on a 72-dpi page and scaled to the page's
    // resolution, so that its point sizes come out the same on every device.
    const QRect box(QPoint(Rnd(0.1 * pw), Rnd(0.2 * ph)), QPoint(Rnd(0.9 * pw), Rnd(0.5 * ph)));
    const double scale = v.pixelsPerInch > 0 ? v.pixelsPerInch / 72.0 : 1.0;
    QImage layoutDevice(1, 1, QImage::Format_RGB32);
    layoutDevice.setDotsPerMeterX(Rnd(72 / 0.0254));
    layoutDevice.setDotsPerMeterY(Rnd(72 / 0.0254));
    QTextDocument info;
    info.documentLayout()->setPaintDevice(&layoutDevice);
    info.setDefaultFont(printFont(kPrintSansFamily, 11, 72));
    info.setHtml(m_ctx.stitch.BookInfo);
    info.setTextWidth(box.width() / scale);
    p.save();
    p.translate(box.topLeft());
    p.scale(scale, scale);
    info.drawContents(&p, QRectF(0, 0, box.width() / scale, box.height() / scale));
    p.restore();

    p.setFont(st.titleFont(11, true));
    st.textOut(Rnd(0.1 * pw), Rnd(0.889 * ph), st.tr(m_ctx.stitch.SubTitle), kSubtitleBlue);
    st.textOut(Rnd(0.1 * pw), Rnd(0.91 * ph), Product::kWebAddress, kSubtitleBlue);
    m_target.markUsed();
}
