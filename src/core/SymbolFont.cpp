#include "SymbolFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

namespace {

struct Registry
{
    QMutex mutex;
    QHash<QString, QByteArray> dataByFamily; // family name (lower case) -> font file contents
};

Registry& registry()
{
    static Registry r;
    return r;
}

// The same font at the same size as the font database holds it (backed by its file), for
// devices that write glyphs as text; invalid without a GUI or when the family is not there.
QRawFont textFontLike(const QRawFont& font)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    static QMutex mutex;
    static QHash<QString, QRawFont> cache;
    const QString key = font.familyName() + QLatin1Char('/') + QString::number(font.pixelSize());
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(key);
    if (it != cache.cend())
        return *it;
    QFont f(font.familyName());
    f.setPixelSize(100);
    QRawFont raw = QRawFont::fromFont(f);
    if (raw.isValid() && raw.familyName().compare(font.familyName(), Qt::CaseInsensitive) == 0)
        raw.setPixelSize(font.pixelSize());
    else
        raw = QRawFont();
    cache.insert(key, raw);
    return raw;
}

quint32 glyphIndexOf(const QRawFont& font, char32_t code)
{
    const QString s = QString::fromUcs4(&code, 1);
    const QList<quint32> idx = font.glyphIndexesForString(s);
    return idx.size() == 1 ? idx.first() : 0;
}

} // namespace

QString registerSymbolFontFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.readAll();
    QRawFont probe(data, 12);
    if (!probe.isValid())
        return {};
    const QString family = probe.familyName();
    {
        // Every New and Open registers the font again: the same file is registered once, as
        // the font database keeps a copy of each registration.
        QMutexLocker lock(&registry().mutex);
        QByteArray& known = registry().dataByFamily[family.toLower()];
        if (known == data)
            return family;
        known = data;
    }
    // Registered from the file, so that its faces know their file: a PDF page can then embed
    // the font and write symbols as text.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())
        && QFontDatabase::addApplicationFont(path) < 0)
        QFontDatabase::addApplicationFontFromData(data);
    return family;
}

QRawFont symbolRawFont(const QString& family, qreal pixelSize)
{
    QByteArray data;
    {
        QMutexLocker lock(&registry().mutex);
        data = registry().dataByFamily.value(family.toLower());
    }
    if (!data.isEmpty())
        return QRawFont(data, pixelSize, QFont::PreferNoHinting);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    QFont font(family);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setStyleStrategy(QFont::NoAntialias);
    return QRawFont::fromFont(font);
}

bool symbolFontHasGlyph(const QRawFont& font, char32_t code)
{
    return font.isValid() && glyphIndexOf(font, code) != 0;
}

void drawSymbol(QPainter& painter, const QRawFont& font, char32_t code, QPointF topLeft,
                const QColor& ink)
{
    if (!font.isValid())
        return;
    const quint32 index = glyphIndexOf(font, code);
    if (index == 0)
        return;
    const QPaintEngine* engine = painter.paintEngine();
    if (engine && engine->type() != QPaintEngine::Raster) {
        const QRawFont textFont = textFontLike(font);
        QGlyphRun run;
        run.setRawFont(textFont.isValid() ? textFont : font);
        run.setGlyphIndexes({index});
        run.setPositions({QPointF(0, 0)});
        painter.save();
        painter.setPen(ink);
        painter.drawGlyphRun(QPointF(topLeft.x(), topLeft.y() + font.ascent()), run);
        painter.restore();
        return;
    }
    QPainterPath path = font.pathForGlyph(index);
    path.translate(topLeft.x(), topLeft.y() + font.ascent());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPath(path);
    painter.restore();
}

QSizeF symbolExtent(const QRawFont& font, char32_t code)
{
    if (!font.isValid())
        return {};
    const quint32 index = glyphIndexOf(font, code);
    const QList<QPointF> adv = font.advancesForGlyphIndexes(QList<quint32>{index});
    return QSizeF(adv.isEmpty() ? 0.0 : adv.first().x(), font.ascent() + font.descent());
}

void drawSymbolCentered(QPainter& painter, const QRawFont& font, char32_t code,
                        const QRectF& cell, const QColor& ink)
{
    if (!font.isValid())
        return;
    const quint32 index = glyphIndexOf(font, code);
    if (index == 0)
        return;
    QPainterPath path = font.pathForGlyph(index);
    const QRectF box = path.boundingRect();
    // Centre the ink box in the cell, on whole pixels so that equal symbols draw equal bitmaps.
    const qreal dx = std::floor(cell.center().x() - box.center().x() + 0.5);
    const qreal dy = std::floor(cell.center().y() - box.center().y() + 0.5);
    path.translate(dx, dy);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPath(path);
    painter.restore();
}

QImage renderSymbolGlyph(const QRawFont& font, char32_t code, QSize size, const QColor& ink)
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    drawSymbol(p, font, code, QPointF(0, 0), ink);
    p.end();
    return img;
}
