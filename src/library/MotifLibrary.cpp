#include "MotifLibrary.h"

#include "convert/ColorMatch.h"
#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "files/QvxFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPainter>

namespace MotifLibrary {

bool isMotifFileName(const QString& name)
{
    return name.endsWith(QLatin1String(".qvx")) || name.endsWith(QLatin1String(".qvxp"));
}

QStringList listMotifs(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    if (!dir.exists())
        return {};
    // By name, as the folder listing of the system the library comes from returns them (this
    // system's listing has no order of its own).
    QStringList out;
    for (const QString& name :
         dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase))
        if (isMotifFileName(name))
            out << name;
    return out;
}

QString motifPath(const QString& folder, const QString& fileName)
{
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator()))
        return folder + fileName;
    return folder + QLatin1Char('/') + fileName;
}

namespace {

// The thread pixel of a file colour index, when the index is in the colour list.
struct IndexColours
{
    explicit IndexColours(const TQVXFile& f)
    {
        keys.reserve(f.Colors.size());
        for (const TColorInfo& e : f.Colors)
            keys.append(e.matchColor);
    }
    bool known(qint16 i) const { return i >= 0 && i < keys.size(); }
    QList<ColorKey> keys;
};

void noteColour(QList<ColorKey>& colours, QHash<ColorKey, bool>& seen, ColorKey k)
{
    if (!seen.contains(k)) {
        seen.insert(k, true);
        colours.append(k);
    }
}

} // namespace

TMotif readMotif(const QString& folder, const QString& fileName)
{
    TMotif m;
    m.fileName = fileName;
    m.path = motifPath(folder, fileName);
    TQVXFile f;
    ReadQVX(f, m.path);
    const int w = int(f.width), h = int(f.height);
    m.width = w;
    m.height = h;
    m.paletteName = f.colorsname;
    // The title and description given when the motif was added are in the title block; the
    // head's fields are shown when a file has them.
    const QString description = f.commentLines.join(QLatin1Char('\n')).trimmed();
    m.name = !f.Title.isEmpty() ? f.Title : (!f.title.isEmpty() ? f.title : fileName);
    m.description = !f.Description.isEmpty() ? f.Description
        : (!description.isEmpty() ? description : QDir::toNativeSeparators(m.path));
    m.backGroundColor = keyToBackground(f.bg);

    const IndexColours colours(f);
    QHash<ColorKey, bool> seen;
    m.preview = QImage(2 * w, 2 * h, QImage::Format_ARGB32);
    m.preview.fill(0);
    m.selectedbitmap = QImage(w, h, QImage::Format_ARGB32);
    m.selectedbitmap.fill(m.backGroundColor);
    m.selectedQBitmap = QImage(2 * w, 2 * h, QImage::Format_ARGB32);
    m.selectedQBitmap.fill(m.backGroundColor);
    const TColor32 bgShown = keyToOpaquePixel(f.bg);
    for (int y = 0; y < h; ++y) {
        auto* cells = reinterpret_cast<TColor32*>(m.selectedbitmap.scanLine(y));
        auto* top = reinterpret_cast<TColor32*>(m.preview.scanLine(2 * y));
        auto* bottom = reinterpret_cast<TColor32*>(m.preview.scanLine(2 * y + 1));
        for (int x = 0; x < w; ++x) {
            const qint16 i = f.Pixels.at(qsizetype(y) * w + x);
            TColor32 shown = 0;
            if (i == -1) {
                shown = bgShown;
            } else if (colours.known(i)) {
                const ColorKey k = colours.keys.at(i);
                noteColour(m.colors, seen, k);
                shown = keyToOpaquePixel(k);
                cells[x] = keyToPixel(k);
            } else {
                continue; // an index outside the colour list paints nothing
            }
            top[2 * x] = top[2 * x + 1] = bottom[2 * x] = bottom[2 * x + 1] = shown;
        }
    }
    if (f.QuarterStitchesPixels.size() == qsizetype(4) * w * h) {
        for (int y = 0; y < 2 * h; ++y) {
            auto* quarters = reinterpret_cast<TColor32*>(m.selectedQBitmap.scanLine(y));
            auto* shown = reinterpret_cast<TColor32*>(m.preview.scanLine(y));
            for (int x = 0; x < 2 * w; ++x) {
                const qint16 i = f.QuarterStitchesPixels.at(qsizetype(y) * 2 * w + x);
                if (!colours.known(i))
                    continue;
                const ColorKey k = colours.keys.at(i);
                noteColour(m.colors, seen, k);
                quarters[x] = keyToPixel(k);
                shown[x] = keyToOpaquePixel(k);
            }
        }
    }
    m.selectedBackStitches = f.BackStitches;
    if (!f.BackStitches.isEmpty()) {
        QPainter p(&m.preview);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (const TBackStitch& b : f.BackStitches) {
            noteColour(m.colors, seen, b.Color);
            p.setPen(QPen(QColor::fromRgba(keyToOpaquePixel(b.Color)), 0));
            p.drawLine(b.FromPoint, b.ToPoint);
        }
    }
    return m;
}

bool needsConversion(const TMotif& motif, const TStitch& stitch)
{
    return motif.paletteName != stitch.colorsname();
}

TClipboard motifClipboard(const TMotif& motif, const TStitch& stitch, bool convert)
{
    TClipboard clip;
    if (motif.width <= 0 || motif.height <= 0)
        return clip;
    // Each motif colour's match in the design's whole table, used or not.
    QHash<ColorKey, ColorKey> match;
    if (convert)
        for (ColorKey k : motif.colors)
            match.insert(k, nearestColor(k, stitch.Colors));
    const TColor32 bg = stitch.BackGroundColor;
    auto mapRaster = [&](const QImage& source) {
        QImage out = source.copy();
        for (int y = 0; y < out.height(); ++y) {
            auto* row = reinterpret_cast<TColor32*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x) {
                if (row[x] == motif.backGroundColor)
                    row[x] = bg;
                else if (convert)
                    row[x] = keyToPixel(match.value(pixelToKey(row[x]), pixelToKey(row[x])));
            }
        }
        return out;
    };
    clip.ClipCross = mapRaster(motif.selectedbitmap);
    clip.ClipQuarter = mapRaster(motif.selectedQBitmap);
    clip.background = bg;
    clip.ClipBackStitches = motif.selectedBackStitches;
    // The back stitches take the design's colours too: a stitch in a colour the design's
    // table does not hold would be merged without counts.
    if (convert)
        for (TBackStitch& b : clip.ClipBackStitches)
            b.Color = match.value(b.Color, b.Color);
    return clip;
}

// ---------------------------------------------------------------------------------------------

QRect addRectangle(const PatternDocument& doc, const QRect* selection)
{
    const QRect design(0, 0, doc.width(), doc.height());
    if (!selection)
        return design;
    return selection->normalized() & design;
}

QImage selectionPreview(const PatternDocument& doc, const QRect& rectangle)
{
    const QRect r = rectangle & QRect(0, 0, doc.width(), doc.height());
    const TStitch& st = doc.stitch();
    const TColor32 bg = st.BackGroundColor;
    QImage out(qMax(0, 2 * r.width()), qMax(0, 2 * r.height()), QImage::Format_ARGB32);
    if (out.isNull())
        return out;
    out.fill(bg | 0xFF000000u);
    for (int y = 0; y < r.height(); ++y) {
        const auto* cells = reinterpret_cast<const TColor32*>(doc.CrossCells.constScanLine(r.top() + y));
        auto* top = reinterpret_cast<TColor32*>(out.scanLine(2 * y));
        auto* bottom = reinterpret_cast<TColor32*>(out.scanLine(2 * y + 1));
        for (int x = 0; x < r.width(); ++x) {
            const TColor32 v = cells[r.left() + x];
            if (v == bg)
                continue;
            const TColor32 shown = keyToOpaquePixel(pixelToKey(v));
            top[2 * x] = top[2 * x + 1] = bottom[2 * x] = bottom[2 * x + 1] = shown;
        }
    }
    for (int y = 0; y < 2 * r.height(); ++y) {
        const auto* quarters =
            reinterpret_cast<const TColor32*>(doc.QuarterCells.constScanLine(2 * r.top() + y));
        auto* row = reinterpret_cast<TColor32*>(out.scanLine(y));
        for (int x = 0; x < 2 * r.width(); ++x) {
            const TColor32 v = quarters[2 * r.left() + x];
            if (v != bg)
                row[x] = keyToOpaquePixel(pixelToKey(v));
        }
    }
    const QRect grid(QPoint(2 * r.left(), 2 * r.top()), QPoint(2 * r.right() + 2, 2 * r.bottom() + 2));
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPoint origin(2 * r.left(), 2 * r.top());
    for (const TBackStitch& b : doc.DesignBackStitches) {
        if (!grid.contains(b.FromPoint) || !grid.contains(b.ToPoint))
            continue;
        p.setPen(QPen(QColor::fromRgba(keyToOpaquePixel(b.Color)), 0));
        p.drawLine(b.FromPoint - origin, b.ToPoint - origin);
    }
    return out;
}

QString fileNamePart(const QString& field)
{
    const qsizetype slash = qMax(field.lastIndexOf(QLatin1Char('/')), field.lastIndexOf(QLatin1Char('\\')));
    return field.mid(slash + 1);
}

bool fileNameAllowed(const QString& field)
{
    const QString name = fileNamePart(field);
    if (name.isEmpty())
        return false;
    for (QChar c : name)
        if (QStringLiteral("\"*/:<>?\\|").contains(c))
            return false;
    return true;
}

QString motifFileName(const QString& field)
{
    const QString name = fileNamePart(field);
    return name.endsWith(QLatin1String(".qvxp")) ? name : name + QStringLiteral(".qvxp");
}

QString saveMotif(PatternDocument& doc, const QString& folder, const QString& field,
                  const QRect& rectangle, const QString& title, const QStringList& description)
{
    if (!fileNameAllowed(field))
        throw QuillError(QStringLiteral("The file name %1 cannot be used."), {fileNamePart(field)});
    if (folder.isEmpty())
        throw QuillError(QStringLiteral("No library folder is set in the options."));
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        throw QuillError(QStringLiteral("The library folder %1 could not be created."),
                         {QDir::toNativeSeparators(folder)});
    const QString path = motifPath(folder, motifFileName(field));
    TStitch& st = doc.stitch();
    const QString keptTitle = st.Title;
    const QStringList keptComment = st.comment;
    st.Title = title;
    st.comment = description;
    try {
        SaveQVX(doc, path, rectangle);
    } catch (...) {
        st.Title = keptTitle;
        st.comment = keptComment;
        throw;
    }
    st.Title = keptTitle;
    st.comment = keptComment;
    return path;
}

void deleteMotif(const QString& folder, const QString& fileName)
{
    const QString path = motifPath(folder, fileName);
    QFile file(path);
    if (!file.remove())
        throw QuillError(QStringLiteral("The motif %1 could not be deleted: %2"),
                         {QDir::toNativeSeparators(path), QuillError::translatable(file.errorString())});
}

} // namespace MotifLibrary
