#include "TextRendering.h"

#include "DesignLimits.h"
#include "DimensionActions.h"
#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "core/TStitch.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

// A picture at the rendering resolution, for measuring and drawing alike.
QImage atRenderResolution(QImage image)
{
    const int dotsPerMeter = qRound(TextRendering::kDotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

// Bytes of the rendering picture beside the clipboard's rasters.
qint64 renderingBytes(QSize size)
{
    return 4 * qint64(qMax(0, size.width())) * qint64(qMax(0, size.height()));
}

} // namespace

namespace TextRendering {

QStringList styleNames()
{
    return {QStringLiteral("Regular"), QStringLiteral("Bold"), QStringLiteral("Italic"),
            QStringLiteral("Bold Italic")};
}

QStringList fontFamilies()
{
    return QFontDatabase::families();
}

QString defaultFamily()
{
    const QStringList families = fontFamilies();
    const QString arial = QStringLiteral("Arial");
    if (families.contains(arial))
        return arial;
    // Where Arial is not installed the font system names a family with the same metrics.
    const QString standIn = QFontInfo(QFont(arial)).family();
    if (families.contains(standIn))
        return standIn;
    const QString general = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    if (families.contains(general) || families.isEmpty())
        return general;
    return families.first();
}

std::optional<int> parseSize(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < 1)
        return std::nullopt;
    return v;
}

QFont renderFont(const TTextSettings& s)
{
    QFont font(s.fontFamily);
    // Points to pixels at the rendering resolution, rounded as the font system rounds them.
    const qint64 pixels = (qint64(qBound(1, s.pointSize, kMaxPointSize)) * kDotsPerInch + 36) / 72;
    font.setPixelSize(int(qMax<qint64>(1, pixels)));
    font.setBold(s.style == tsBold || s.style == tsBoldItalic);
    font.setItalic(s.style == tsItalic || s.style == tsBoldItalic);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    return font;
}

TTextExtent measure(const TTextSettings& s)
{
    const QImage device = atRenderResolution(QImage(1, 1, QImage::Format_RGB32));
    const QFont font = renderFont(s);
    const QFontMetrics fm(font, &device);
    // The extent as text measuring gives it: the advance width and the line height ...
    QRect extent(0, 0, s.text.isEmpty() ? 0 : fm.horizontalAdvance(s.text), fm.height());
    // ... and wherever the ink reaches beyond it (slanted letters, overhanging first glyphs).
    if (!s.text.isEmpty()) {
        const QRect ink = fm.boundingRect(s.text).translated(0, fm.ascent());
        if (!ink.isEmpty())
            extent = extent.united(ink);
    }
    return {extent.size(), -extent.topLeft() + QPoint(0, fm.ascent())};
}

QString renderProblem(TStitch& stitch, const TTextSettings& s, qint64 available)
{
    if (s.pointSize > kMaxPointSize)
        return stitch.translate(QStringLiteral("A text of %1 points is larger than the largest "
                                               "design; choose a smaller size."))
            .arg(s.pointSize);
    if (s.text.isEmpty())
        return {};
    const QSize size = measure(s).size;
    const QString problem = DesignLimits::sizeProblem(stitch, size.width(), size.height(),
                                                      renderingBytes(size), available);
    if (problem.isEmpty())
        return {};
    return stitch.translate(QStringLiteral("The text would be %1 x %2 cells: %3"))
        .arg(size.width())
        .arg(size.height())
        .arg(problem);
}

QImage render(const TTextSettings& s)
{
    const TTextExtent extent = measure(s);
    if (s.text.isEmpty() || extent.size.isEmpty())
        return {};
    QImage image = atRenderResolution(QImage(extent.size, QImage::Format_RGB32));
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(renderFont(s));
    p.setPen(Qt::black);
    p.drawText(extent.origin, s.text);
    p.end();
    // Whatever the font engine still gave in grey becomes text or background.
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qGray(line[x]) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return image;
}

TClipboard toClipboard(const QImage& rendering, ColorKey color, TColor32 background)
{
    TClipboard clip;
    clip.background = background;
    if (rendering.isNull())
        return clip;
    const QImage source = rendering.convertToFormat(QImage::Format_RGB32);
    clip.ClipCross = QImage(source.size(), QImage::Format_ARGB32);
    clip.ClipQuarter = QImage(source.size() * 2, QImage::Format_ARGB32);
    if (clip.ClipCross.isNull() || clip.ClipQuarter.isNull())
        throw QuillError(QStringLiteral("There is not enough memory for a design of %1 x %2 cells."),
                         {QString::number(source.width()), QString::number(source.height())});
    clip.ClipQuarter.fill(background);
    const TColor32 ink = keyToPixel(color);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<TColor32*>(clip.ClipCross.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            out[x] = qGray(in[x]) < 128 ? ink : background;
    }
    return clip;
}

QList<ColorKey> colorList(const TStitch& stitch)
{
    QList<std::pair<qint32, ColorKey>> entries;
    for (const auto& [key, info] : stitch.Colors)
        entries.append({info.orderID, key});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<ColorKey> out;
    for (const auto& e : entries)
        out.append(e.second);
    return out;
}

bool enlargeFor(PatternDocument& doc, TActions& history, QSize extent, qint64 available)
{
    const int w = doc.width(), h = doc.height();
    if (extent.width() <= w && extent.height() <= h)
        return false;
    actionChangeDimensions(doc, history, std::max(w, extent.width()), std::max(h, extent.height()),
                           available);
    return true;
}

TClipboard makeTextBlock(PatternDocument& doc, TActions& history, const TTextSettings& s,
                         bool autoEnlarge, qint64 available)
{
    if (s.text.isEmpty())
        return {};
    TStitch& stitch = doc.stitch();
    const qint64 free = available >= 0 ? available : DesignLimits::availableMemory();
    const QString problem = renderProblem(stitch, s, free);
    if (!problem.isEmpty())
        throw QuillError(problem);
    const QImage rendering = render(s);
    if (rendering.isNull())
        throw QuillError(QStringLiteral("There is not enough memory for a design of %1 x %2 cells."),
                         {QString::number(measure(s).size.width()),
                          QString::number(measure(s).size.height())});
    TClipboard clip = toClipboard(rendering, s.color, stitch.BackGroundColor);
    // The enlargement comes last, once the block exists: a refused text leaves the design as it was.
    if (autoEnlarge)
        enlargeFor(doc, history, clip.size(), available);
    return clip;
}

} // namespace TextRendering
