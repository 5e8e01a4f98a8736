#include "PaletteEditor.h"

#include "PaletteFile.h"
#include "PaletteList.h"
#include "core/QuillError.h"
#include "core/TStitch.h"

#include <QDir>
#include <QImage>
#include <QPoint>

#include <algorithm>
#include <numeric>

namespace {

// A whole number: an optional sign and up to 18 ASCII digits (so that it fits a 64-bit value).
std::optional<qint64> wholeNumber(const QString& text)
{
    const qsizetype start = (text.startsWith(u'+') || text.startsWith(u'-')) ? 1 : 0;
    const qsizetype digits = text.size() - start;
    if (digits < 1 || digits > 18)
        return std::nullopt;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
    return text.toLongLong();
}

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    return -1;
}

} // namespace

PaletteEditor::PaletteEditor(TStitch& stitch, PaletteEditorPrompts& prompts)
    : m_stitch(stitch), m_prompts(prompts)
{
    openNew();
}

QString PaletteEditor::tr(const QString& text) const
{
    return m_stitch.translate(text);
}

// ---------------------------------------------------------------------------------------------
// Opening

void PaletteEditor::openNew()
{
    m_name = tr(QString::fromLatin1(PaletteEditorText::kNewPalette));
    m_fileName = m_name + QStringLiteral(".ctb");
    m_version = QStringLiteral("1.0");
    m_palette.clear();
    m_first = m_last = -1;
    m_changed = false;
    m_knownFile = false;
    m_state = emIdle;
    m_sort = sortByPalette;
    fillColorValues(-1);
}

bool PaletteEditor::openFile(const QString& fileName, const QString& name, const QString& version)
{
    PaletteFileData data;
    try {
        data = loadpalette(QDir(m_stitch.PalettesPath).filePath(fileName));
    } catch (const QuillError& e) {
        openNew();
        m_prompts.showMessage(e.translated(m_stitch), true);
        return false;
    }
    m_fileName = fileName;
    m_name = name;
    m_version = version;
    m_palette = data.colors;
    m_first = m_last = m_palette.isEmpty() ? -1 : 0;
    m_changed = false;
    m_knownFile = true;
    m_state = emIdle;
    m_sort = sortByPalette;
    fillColorValues(m_first);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Selection and the colour settings

void PaletteEditor::selectRows(int first, int last)
{
    if (m_state != emIdle)
        return;
    if (m_palette.isEmpty()) {
        m_first = m_last = -1;
    } else {
        const int n = int(m_palette.size());
        m_first = std::clamp(std::min(first, last), 0, n - 1);
        m_last = std::clamp(std::max(first, last), 0, n - 1);
    }
    fillColorValues(m_first);
}

void PaletteEditor::clearFields()
{
    m_fields = Fields();
    m_symbolWarning = false;
}

void PaletteEditor::fillColorValues(int row)
{
    clearFields();
    if (row < 0 || row >= m_palette.size())
        return;
    const TColorInfo& c = m_palette[row];
    m_fields.swatch = c.matchColor;
    m_fields.number = c.colorID;
    m_fields.name = c.colorName;
    m_fields.rgb = rgbText(c.matchColor);
    m_fields.symbol = c.charID;
}

void PaletteEditor::setSymbol(int index)
{
    m_fields.symbol = index;
    updateSymbolWarning();
}

void PaletteEditor::updateSymbolWarning()
{
    m_symbolWarning = false;
    if (m_state == emIdle || m_fields.symbol < 0)
        return;
    for (int i = 0; i < m_palette.size(); ++i) {
        // The colour being changed may keep its own symbol; a new colour is compared with all.
        if (m_state == emEdit && i == m_first)
            continue;
        if (m_palette[i].charID == m_fields.symbol) {
            m_symbolWarning = true;
            return;
        }
    }
}

void PaletteEditor::ERGBChange(const QString& text)
{
    m_fields.rgb = text;
    if (m_state == emIdle || text.size() < 6)
        return;
    if (const auto c = parseRgbText(text))
        m_fields.swatch = *c;
}

void PaletteEditor::ERGBExit()
{
    if (!parseRgbText(m_fields.rgb))
        m_fields.rgb = rgbText(m_fields.swatch);
}

void PaletteEditor::setSwatch(ColorKey color)
{
    m_fields.swatch = color & 0x00FFFFFFu;
    m_fields.rgb = rgbText(m_fields.swatch);
    m_prompts.focusField(PaletteEditorPrompts::NameField);
}

// ---------------------------------------------------------------------------------------------
// Enabling

bool PaletteEditor::canUp() const
{
    return m_state == emIdle && !m_palette.isEmpty() && m_first > 0 && m_sort == sortByPalette;
}

bool PaletteEditor::canDown() const
{
    return m_state == emIdle && !m_palette.isEmpty() && m_last >= 0
           && m_last < m_palette.size() - 1 && m_sort == sortByPalette;
}

// ---------------------------------------------------------------------------------------------
// Commands

void PaletteEditor::actNew()
{
    if (!canNew())
        return;
    m_state = emNew;
    clearFields();
    // The symbol after the last colour's symbol, when the character set has one.
    if (!m_palette.isEmpty()) {
        const int next = m_palette.last().charID + 1;
        m_fields.symbol = next >= 0 && next < m_stitch.chars.fcharacters.size() ? next : -1;
    }
    updateSymbolWarning();
}

void PaletteEditor::actEdit()
{
    if (!canEdit())
        return;
    m_state = emEdit;
    updateSymbolWarning();
}

void PaletteEditor::actCancel()
{
    if (!canCancel())
        return;
    m_state = emIdle;
    fillColorValues(m_first);
}

bool PaletteEditor::actOK()
{
    if (!canOK())
        return false;
    using P = PaletteEditorPrompts;
    if (m_fields.name.trimmed().isEmpty())
        m_fields.name = m_fields.number;

    TColorInfo candidate;
    if (m_state == emEdit && m_first >= 0)
        candidate = m_palette[m_first];
    candidate.colorID = m_fields.number;
    candidate.colorName = m_fields.name;
    candidate.matchColor = m_fields.swatch;
    candidate.charID = m_fields.symbol;

    for (int i = 0; i < m_palette.size(); ++i) {
        if (m_state == emEdit && i == m_first)
            continue;
        const TColorInfo& other = m_palette[i];
        if (other.colorName == candidate.colorName) {
            m_prompts.showMessage(tr(QString::fromLatin1(PaletteEditorText::kNameExists)), true);
            m_prompts.focusField(P::NameField);
            return false;
        }
        if (other.colorID == candidate.colorID) {
            m_prompts.showMessage(tr(QString::fromLatin1(PaletteEditorText::kNumberExists)), true);
            m_prompts.focusField(P::NumberField);
            return false;
        }
        if (other.matchColor == candidate.matchColor) {
            m_prompts.showMessage(tr(QString::fromLatin1(PaletteEditorText::kRgbExists)), true);
            m_prompts.focusField(P::RgbField);
            return false;
        }
        if (m_state == emEdit && other.charID == candidate.charID) {
            if (!m_prompts.askYesNo(tr(QString::fromLatin1(PaletteEditorText::kSymbolInUse)))) {
                m_prompts.focusField(P::SymbolField);
                return false;
            }
        }
    }

    if (m_state == emNew) {
        // A new colour takes the place after every other in palette order.
        candidate.orderID = nextOrderID();
        m_palette.append(candidate);
        m_first = m_last = int(m_palette.size()) - 1;
    } else {
        m_palette[m_first] = candidate;
        m_last = m_first;
    }
    m_state = emIdle;
    m_changed = true;
    fillColorValues(m_first);
    return true;
}

void PaletteEditor::actDelete()
{
    if (!canDelete() || m_first < 0)
        return;
    // The whole selected block goes; the row after it (or the new last row) is selected.
    m_palette.remove(m_first, m_last - m_first + 1);
    if (m_palette.isEmpty())
        m_first = m_last = -1;
    else
        m_first = m_last = std::min(m_first, int(m_palette.size()) - 1);
    m_changed = true;
    fillColorValues(m_first);
}

void PaletteEditor::actUp()
{
    if (!canUp())
        return;
    const TColorInfo above = m_palette.takeAt(m_first - 1);
    m_palette.insert(m_last, above);
    --m_first;
    --m_last;
    renumber();
    m_changed = true;
    fillColorValues(m_first);
}

void PaletteEditor::actDown()
{
    if (!canDown())
        return;
    const TColorInfo below = m_palette.takeAt(m_last + 1);
    m_palette.insert(m_first, below);
    ++m_first;
    ++m_last;
    renumber();
    m_changed = true;
    fillColorValues(m_first);
}

void PaletteEditor::renumber()
{
    for (int i = 0; i < m_palette.size(); ++i)
        m_palette[i].orderID = i;
}

int PaletteEditor::nextOrderID() const
{
    int next = 0;
    for (const TColorInfo& c : m_palette)
        next = std::max(next, c.orderID + 1);
    return next;
}

void PaletteEditor::ComboSortChange(SortMode mode)
{
    m_sort = mode;
    sortList();
}

void PaletteEditor::sortList()
{
    // The first selected colour stays selected at its new place.
    QList<int> order(m_palette.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return sortLess(m_sort, m_palette[a], m_palette[b]);
    });
    QList<TColorInfo> sorted;
    sorted.reserve(m_palette.size());
    int selected = -1;
    for (int i = 0; i < order.size(); ++i) {
        sorted.append(m_palette[order[i]]);
        if (order[i] == m_first)
            selected = i;
    }
    m_palette = std::move(sorted);
    m_first = m_last = selected;
    if (m_state == emIdle)
        fillColorValues(m_first);
}

bool PaletteEditor::numberLess(const QString& a, const QString& b)
{
    const auto na = wholeNumber(a);
    const auto nb = wholeNumber(b);
    if (na && nb)
        return *na < *nb;
    if (na || nb)
        return bool(na);
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

bool PaletteEditor::sortLess(SortMode mode, const TColorInfo& a, const TColorInfo& b)
{
    switch (mode) {
    case sortByName:
        return QString::compare(a.colorName, b.colorName, Qt::CaseSensitive) < 0;
    case sortByNumber:
        return numberLess(a.colorID, b.colorID);
    case sortByPalette:
    default:
        return a.orderID < b.orderID;
    }
}

// ---------------------------------------------------------------------------------------------
// Saving

bool PaletteEditor::saveThroughList()
{
    QString fileName = m_fileName, name = m_name, version = m_version;
    if (!m_prompts.choosePaletteFile(fileName, name, version))
        return false;
    m_fileName = fileName;
    m_name = name;
    m_version = version;
    return true;
}

bool PaletteEditor::write()
{
    if (m_name.trimmed().isEmpty()) {
        m_prompts.showMessage(tr(QString::fromLatin1(PaletteEditorText::kNoName)), true);
        return false;
    }
    PaletteFileData data;
    data.name = m_name;
    data.version = m_version;
    data.colors = m_palette;
    try {
        savePalette(QDir(m_stitch.PalettesPath).filePath(m_fileName), data);
    } catch (const QuillError& e) {
        m_prompts.showMessage(e.translated(m_stitch), true);
        return false;
    }
    return true;
}

bool PaletteEditor::writeOrKeep(const QString& fileName, const QString& name, const QString& version)
{
    if (write())
        return true;
    // The palette keeps the file it had: nothing was written under the new values.
    m_fileName = fileName;
    m_name = name;
    m_version = version;
    return false;
}

bool PaletteEditor::saveInto(bool askList)
{
    const bool wasKnown = m_knownFile;
    const QString fileName = m_fileName, name = m_name, version = m_version;
    if (askList && !saveThroughList())
        return false;
    if (!writeOrKeep(fileName, name, version))
        return false;
    m_prompts.showMessage(tr(QString::fromLatin1(PaletteEditorText::kSaved)), false);
    if (!wasKnown)
        m_prompts.showMessage(tr(QString::fromLatin1(PaletteEditorText::kAvailableNextTime)), false);
    m_changed = false;
    m_knownFile = true;
    return true;
}

bool PaletteEditor::actSave()
{
    return saveInto(!m_knownFile);
}

bool PaletteEditor::actSaveAs()
{
    return saveInto(true);
}

bool PaletteEditor::close()
{
    if (!m_changed)
        return true;
    switch (m_prompts.askYesNoCancel(tr(QString::fromLatin1(PaletteEditorText::kChanged)))) {
    case PaletteEditorPrompts::No:
        return true;
    case PaletteEditorPrompts::Cancel:
        return false;
    case PaletteEditorPrompts::Yes:
        break;
    }
    const QString fileName = m_fileName, name = m_name, version = m_version;
    if (!m_knownFile) {
        // A new palette goes into its file at once unless that would replace a file or repeat
        // another palette's name and version: then the palette list dialog asks as "Save" does.
        const QList<PaletteFileRow> rows = PaletteList::readPalettes(m_stitch.PalettesPath);
        const auto step = PaletteList::okStep(rows, m_stitch.PalettesPath, m_fileName, m_name,
                                              m_version, false);
        if (step != PaletteList::OkStep::Accept && !saveThroughList())
            return false;
    }
    if (!writeOrKeep(fileName, name, version))
        return false;
    m_changed = false;
    m_knownFile = true;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Picking

std::optional<ColorKey> PaletteEditor::averageSquare(const QImage& picture, const QPoint& center,
                                                     int size)
{
    const int half = std::max(size, 0) / 2;
    const int x0 = std::max(center.x() - half, 0);
    const int y0 = std::max(center.y() - half, 0);
    const int x1 = std::min(center.x() + half, picture.width() - 1);
    const int y1 = std::min(center.y() + half, picture.height() - 1);
    if (picture.isNull() || x0 > x1 || y0 > y1)
        return std::nullopt;
    quint64 r = 0, g = 0, b = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const QRgb p = picture.pixel(x, y);
            r += quint64(qRed(p));
            g += quint64(qGreen(p));
            b += quint64(qBlue(p));
        }
    }
    const quint64 count = quint64(x1 - x0 + 1) * quint64(y1 - y0 + 1);
    return makeColorKey(quint32(r / count), quint32(g / count), quint32(b / count));
}

bool PaletteEditor::pickColor(const QImage& picture, const QPoint& center, int size)
{
    if (m_state == emIdle)
        return false;
    const auto c = averageSquare(picture, center, size);
    if (!c)
        return false;
    m_fields.swatch = *c;
    m_fields.rgb = rgbText(*c);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Texts

QString PaletteEditor::rgbText(ColorKey color)
{
    return QStringLiteral("$%1%2%3")
        .arg(kRedOf(color), 2, 16, QLatin1Char('0'))
        .arg(kGreenOf(color), 2, 16, QLatin1Char('0'))
        .arg(kBlueOf(color), 2, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<ColorKey> PaletteEditor::parseRgbText(const QString& text)
{
    if (text.size() != 7 || text[0] != u'$')
        return std::nullopt;
    int v[6];
    for (int i = 0; i < 6; ++i) {
        v[i] = hexDigit(text[i + 1]);
        if (v[i] < 0)
            return std::nullopt;
    }
    return makeColorKey(quint32(v[0] * 16 + v[1]), quint32(v[2] * 16 + v[3]),
                        quint32(v[4] * 16 + v[5]));
}
