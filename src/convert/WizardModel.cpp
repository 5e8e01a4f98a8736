#include "WizardModel.h"

#include "Resampler.h"

#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "core/TStitch.h"

#include <algorithm>
#include <cmath>

WizardModel::WizardModel(TStitch& stitch) : m_stitch(stitch)
{
    m_characters = stitch.defaultCharacters;
}

void WizardModel::loadSource(const QString& path)
{
    setSource(loadPicture(path), path);
}

void WizardModel::setSource(const QImage& source, const QString& path)
{
    m_source = source.format() == QImage::Format_ARGB32 ? source
                                                        : source.convertToFormat(QImage::Format_ARGB32);
    m_path = path;
    SelectionRect = QRectF(0, 0, m_source.width(), m_source.height());
    preAdjustmentsBitmap = QImage();
    m_adjusted = QImage();
    m_resized = QImage();
    m_final = KeyRaster();
    m_reduced = ColorTable();
    PaletteChosen = false;
}

double WizardModel::R(double v) const
{
    return double(Rnd(v));
}

void WizardModel::ResetAll(QSize viewSize)
{
    SetStep(1);
    m_brightness = 0;
    m_contrast = 100;
    const double w = m_source.width(), h = m_source.height();
    if (w <= 0 || h <= 0) {
        FZoomFactor = 1.0;
    } else if (viewSize.width() >= w && viewSize.height() > h) {
        FZoomFactor = 1.0;
    } else {
        FZoomFactor = std::min(viewSize.width() / w, viewSize.height() / h);
        // A view too small to show anything still shows the picture at the bar's least zoom.
        if (FZoomFactor <= 0)
            FZoomFactor = kZoomMin / 100.0;
    }
    SelectionRect = QRectF(0, 0, w, h);
    m_rubberVisible = true;
    PaletteChosen = false;
}

void WizardModel::SetStep(int n)
{
    FStep = std::clamp(n, 1, 4);
    if (FStep == 2) {
        ResamplePreAdjustments();
        setBrightnessContrast(m_brightness, m_contrast);
    } else if (FStep == 3) {
        if (m_adjusted.isNull()) { // a caller that skipped step 2
            ResamplePreAdjustments();
            setBrightnessContrast(m_brightness, m_contrast);
        }
        setSize(m_size);
    } else if (FStep == 4) {
        if (m_resized.isNull())
            setSize(m_size);
        if (m_palette.isEmpty()) {
            const QStringList names = paletteNames();
            if (names.contains(m_stitch.defaultPalette))
                m_palette = m_stitch.defaultPalette;
            else if (!names.isEmpty())
                m_palette = names.first(); // the default palette is missing: the first one
        }
    }
}

void WizardModel::setCurrentStep(int n)
{
    FStep = std::clamp(n, 1, 4);
}

// ---------------------------------------------------------------------------------------------
// Step 1

void WizardModel::SetZoomFactor(double z)
{
    FZoomFactor = z > 0 ? z : 1.0;
}

int WizardModel::zoomBarPosition() const
{
    return std::clamp(Rnd(FZoomFactor * 100.0), kZoomMin, kZoomMax);
}

QSize WizardModel::selectionViewSizeOf(QSize source, double zoom)
{
    return QSize(std::max(1, Rnd(source.width() * zoom)), std::max(1, Rnd(source.height() * zoom)));
}

QSize WizardModel::selectionViewSize() const
{
    return selectionViewSizeOf(m_source.size(), FZoomFactor);
}

QImage WizardModel::makeSelectionView(const QImage& source, double zoom)
{
    if (source.isNull())
        return QImage();
    if (zoom == 1.0)
        return source;
    return resampled(source, selectionViewSizeOf(source.size(), zoom));
}

QImage WizardModel::selectionView() const
{
    return makeSelectionView(m_source, FZoomFactor);
}

QRectF WizardModel::rubberFrame(QPointF offset) const
{
    return QRectF(SelectionRect.left() * FZoomFactor + offset.x(),
                  SelectionRect.top() * FZoomFactor + offset.y(),
                  SelectionRect.width() * FZoomFactor, SelectionRect.height() * FZoomFactor);
}

QRectF WizardModel::RubberResize(const QRectF& proposed, Drag kind, QPointF offset)
{
    if (!m_rubberVisible || m_source.isNull())
        return rubberFrame(offset);
    const QSize shown = selectionViewSize();
    const double pl = offset.x(), pt = offset.y();
    const double pr = pl + shown.width(), pb = pt + shown.height();
    double l = proposed.left(), t = proposed.top(), r = proposed.right(), b = proposed.bottom();

    const bool left = kind == Drag::Left || kind == Drag::TopLeft || kind == Drag::BottomLeft;
    const bool right = kind == Drag::Right || kind == Drag::TopRight || kind == Drag::BottomRight;
    const bool top = kind == Drag::Top || kind == Drag::TopLeft || kind == Drag::TopRight;
    const bool bottom = kind == Drag::Bottom || kind == Drag::BottomLeft || kind == Drag::BottomRight;

    if (kind == Drag::Move) {
        // The frame keeps its size and stops at the picture's edges.
        const double fw = r - l, fh = b - t;
        if (l < pl) {
            l = pl;
            r = l + SelectionRect.width() * FZoomFactor;
        }
        if (t < pt) {
            t = pt;
            b = t + SelectionRect.height() * FZoomFactor;
        }
        if (r > pr) {
            r = pr;
            l = r - fw;
        }
        if (b > pb) {
            b = pb;
            t = b - fh;
        }
    } else {
        // The dragged edges stay within the picture and never cross the opposite edge, so
        // the crop keeps at least one pixel across.
        constexpr double kMinimum = 1.0;
        if (left)
            l = std::clamp(l, pl, std::max(pl, r - kMinimum));
        if (right)
            r = std::clamp(r, std::min(pr, l + kMinimum), pr);
        if (top)
            t = std::clamp(t, pt, std::max(pt, b - kMinimum));
        if (bottom)
            b = std::clamp(b, std::min(pb, t + kMinimum), pb);
    }

    const double w = m_source.width(), h = m_source.height();
    SelectionRect = QRectF(QPointF(std::max(0.0, (l - offset.x()) / FZoomFactor),
                                   std::max(0.0, (t - offset.y()) / FZoomFactor)),
                           QPointF(std::min(w, (r - offset.x()) / FZoomFactor),
                                   std::min(h, (b - offset.y()) / FZoomFactor)));
    return QRectF(QPointF(l, t), QPointF(r, b));
}

// ---------------------------------------------------------------------------------------------
// Step 2

WizardModel::PreAdjustments WizardModel::makePreAdjustments(const QImage& source, const QRectF& selection,
                                                            int brightness, int contrast)
{
    PreAdjustments out;
    out.selection = selection;
    if (source.isNull()) {
        out.adjusted = makeAdjusted(QImage(), brightness, contrast);
        return out;
    }
    // A crop that rounds to nothing keeps one pixel across, inside the picture.
    QRect r = roundedSelection(selection).intersected(source.rect());
    if (r.width() < 1 || r.height() < 1) {
        const int x = std::clamp(Rnd(selection.left()), 0, source.width() - 1);
        const int y = std::clamp(Rnd(selection.top()), 0, source.height() - 1);
        r = QRect(x, y, std::max(1, r.width()), std::max(1, r.height())).intersected(source.rect());
        out.selection = QRectF(r);
    }
    out.picture = cropPicture(source, QRectF(r));
    out.adjusted = makeAdjusted(out.picture, brightness, contrast);
    return out;
}

void WizardModel::installPreAdjustments(const PreAdjustments& p)
{
    SelectionRect = p.selection;
    preAdjustmentsBitmap = p.picture;
    installAdjusted(p.adjusted);
}

void WizardModel::ResamplePreAdjustments()
{
    if (m_source.isNull())
        return;
    installPreAdjustments(makePreAdjustments(m_source, SelectionRect, m_brightness, m_contrast));
}

WizardModel::Adjusted WizardModel::makeAdjusted(const QImage& preAdjustments, int brightness, int contrast)
{
    Adjusted out;
    out.brightness = std::clamp(brightness, kBrightnessMin, kBrightnessMax);
    out.contrast = std::clamp(contrast, kContrastMin, kContrastMax);
    if (!preAdjustments.isNull())
        out.picture = adjustBrightnessContrast(preAdjustments, out.brightness, out.contrast);
    return out;
}

void WizardModel::installAdjusted(const Adjusted& a)
{
    m_brightness = a.brightness;
    m_contrast = a.contrast;
    m_adjusted = a.picture;
}

void WizardModel::setBrightnessContrast(int brightness, int contrast)
{
    m_brightness = std::clamp(brightness, kBrightnessMin, kBrightnessMax);
    m_contrast = std::clamp(contrast, kContrastMin, kContrastMax);
    if (!preAdjustmentsBitmap.isNull())
        installAdjusted(makeAdjusted(preAdjustmentsBitmap, m_brightness, m_contrast));
}

// ---------------------------------------------------------------------------------------------
// Step 3

int WizardModel::sizeMaximumOf(QSize picture)
{
    return std::max(2, std::min(std::max(picture.width(), picture.height()), kSizeLimit));
}

int WizardModel::sizeMaximum() const
{
    return sizeMaximumOf((m_adjusted.isNull() ? m_source : m_adjusted).size());
}

WizardModel::Resized WizardModel::makeResized(const QImage& adjusted, int n)
{
    Resized out;
    out.size = std::clamp(n, 2, sizeMaximumOf(adjusted.size()));
    if (adjusted.isNull())
        return out;
    // The longer side gets N; a very thin crop keeps one cell across, as convertPicture does.
    const QSize s = fitSize(adjusted.size(), out.size).expandedTo(QSize(1, 1));
    out.picture = resampled(adjusted, s);
    return out;
}

void WizardModel::installResized(const Resized& r)
{
    m_size = r.size;
    m_resized = r.picture;
}

void WizardModel::setSize(int n)
{
    if (m_adjusted.isNull()) {
        m_size = std::clamp(n, 2, sizeMaximum());
        return;
    }
    installResized(makeResized(m_adjusted, n));
}

// ---------------------------------------------------------------------------------------------
// Step 4

QStringList WizardModel::paletteNames() const
{
    QStringList out;
    for (const auto& [name, table] : m_stitch.ColorPalettes)
        out << name;
    return out;
}

QStringList WizardModel::characterSetNames() const
{
    QStringList out;
    for (const auto& [name, set] : m_stitch.characters)
        out << name;
    return out;
}

bool WizardModel::processPalette(const DitherProgress& progress)
{
    if (m_resized.isNull())
        return false;
    const ColorTable* palette = m_stitch.ColorPalettes.find(m_palette);
    if (!palette)
        throw QuillError(QStringLiteral("The palette \"%1\" is not in the catalogue."),
                         {m_palette});
    const QString setName = charactersName();
    const TCharacterInfo* set = m_stitch.characters.find(setName);
    if (!set)
        throw QuillError(QStringLiteral("The character set \"%1\" is not in the catalogue."),
                         {setName});

    // Everything is computed into fresh objects and only taken over when the run completes,
    // so a cancelled run leaves the previous result as it was.
    const KeyRaster resized = KeyRaster::fromImage(m_resized);
    PictureColorMapper mapper;
    QList<double> deltas;
    KeyRaster final;
    if (!mapPictureColors(resized, *palette, int(set->characters.size()), settings(), m_stitch.maxColors,
                          deltas, mapper, final, progress))
        return false;
    m_final = std::move(final);
    m_resultResized = m_resized;
    m_resultPalette = m_palette;
    m_resultPaletteTable = *palette;
    m_resultCharacters = setName;
    m_resultDither = m_dither;
    m_resultLevel = m_level;
    m_reduced = mapper.ReducedColors;
    m_maxAvailable = mapper.MaxAvailableColors;
    m_colorsCount = mapper.ColorsCount;
    m_maxLevel = mapper.MaxLevelDithering;
    PaletteChosen = true;
    return true;
}

QString WizardModel::charactersName() const
{
    return m_characters.isEmpty() ? m_stitch.defaultCharacters : m_characters;
}

bool WizardModel::resultCurrent() const
{
    if (!PaletteChosen || m_resultPalette != m_palette || m_resultDither != m_dither)
        return false;
    const QString setName = charactersName();
    if (m_resultCharacters != setName)
        return false;
    // The level only steers the dithered runs.
    if (m_dither != DitherMethod::None && m_resultLevel != m_level)
        return false;
    // The count the colour work keeps for the current request (computeColorsCount).
    int n = std::min(std::max(m_colors, 1), m_maxAvailable);
    if (m_stitch.maxColors > 0)
        n = std::min(n, m_stitch.maxColors);
    if (std::max(n, 1) != m_colorsCount)
        return false;
    // Compares the pixels only when the pictures are not shared copies of one another.
    return m_resultResized == m_resized;
}

// ---------------------------------------------------------------------------------------------
// The result

ConversionSettings WizardModel::settings(bool emptyDesign) const
{
    ConversionSettings s;
    s.size = m_size;
    s.palette = m_palette;
    s.characters = m_characters;
    s.colors = m_colors;
    s.dither = m_dither;
    s.level = m_level;
    s.brightness = m_brightness;
    s.contrast = m_contrast;
    s.crop = SelectionRect;
    s.emptyDesign = emptyDesign;
    s.sourcePath = m_path;
    return s;
}

void WizardModel::checkFinish(bool emptyDesign) const
{
    if (m_resized.isNull())
        throw QuillError(QStringLiteral("There is no picture to convert."));
    QString setName = charactersName();
    if (emptyDesign) {
        if (!m_stitch.ColorPalettes.contains(m_palette))
            throw QuillError(QStringLiteral("The palette \"%1\" is not in the catalogue."),
                         {m_palette});
    } else {
        if (!resultCurrent())
            throw QuillError(QStringLiteral("The colours of the picture have not been worked out "
                                            "for the chosen settings yet."));
        setName = m_resultCharacters;
    }
    if (!m_stitch.characters.contains(setName))
        throw QuillError(QStringLiteral("The character set \"%1\" is not in the catalogue."),
                         {setName});
}

void WizardModel::finish(PatternDocument& doc, bool emptyDesign) const
{
    checkFinish(emptyDesign);
    if (emptyDesign) {
        // Only the size of step 3 and the chosen palette count: no colour work is needed.
        const QString setName = charactersName();
        const KeyRaster cells(m_resized.width(), m_resized.height());
        buildConvertedDesign(doc, m_palette, m_stitch.ColorPalettes.value(m_palette), setName, ColorTable(),
                             cells, true, m_path);
        return;
    }
    // The palette as it was matched against, so that the table fits the kept colours even if
    // the catalogue is read again before the design is built.
    buildConvertedDesign(doc, m_resultPalette, m_resultPaletteTable, m_resultCharacters, m_reduced, m_final,
                         false, m_path);
}
