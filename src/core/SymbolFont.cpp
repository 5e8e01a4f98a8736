#include "SymbolFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>
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
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
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
    QPainterPath path = font.pathForGlyph(index);
    path.translate(topLeft.x(), topLeft.y() + font.ascent());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPath(path);
    painter.restore();
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
