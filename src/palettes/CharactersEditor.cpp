#include "CharactersEditor.h"

#include "CharacterSetFile.h"
#include "FieldSplit.h"
#include "core/QuillError.h"
#include "core/TStitch.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>

#include <algorithm>

namespace {

const QString kNameMissing = QStringLiteral("Please enter name for the character set.");
const QString kNotSaved = QStringLiteral("Data is not saved, save now?");
// The symbol font shipped with the application, chosen when no font of the older name exists.
const QString kShippedSymbolFont = QStringLiteral("KorvaldArtSymbols110");
// Character lines start at the fourth line of a character-set file.
constexpr int kFirstCharacterLine = 3;

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

} // namespace

const QString CharactersEditor::kDefaultFont = QStringLiteral("KorvaldArtSymbols");

// ---------------------------------------------------------------------------------------------
// TMyFile

void TMyFile::NewFile()
{
    FileName.clear();
    FileSaved = false;
    FileNameAssigned = false;
}

void TMyFile::OpenFile(const QString& fileName)
{
    FileName = fileName;
    FileSaved = true;
    FileNameAssigned = true;
}

bool TMyFile::Save()
{
    CharactersEditor& e = m_editor;
    if (e.name().trimmed().isEmpty()) {
        e.prompts().focusName();
        e.prompts().showMessage(e.tr(kNameMissing));
        return false;
    }
    if (!FileNameAssigned) {
        QString path = e.prompts().chooseSaveFile(e.stitch().CharactersPath);
        if (path.isEmpty())
            return false;
        if (!path.endsWith(QStringLiteral(".chr"), Qt::CaseSensitive))
            path += QStringLiteral(".chr");
        return saveInto(path);
    }
    if (!FileSaved)
        return e.Save();
    return true;
}

bool TMyFile::Check()
{
    CharactersEditor& e = m_editor;
    if (FileSaved || e.rows(CharactersEditor::SelectedList).isEmpty())
        return true;
    switch (e.prompts().askYesNoCancel(e.tr(kNotSaved))) {
    case CharactersEditorPrompts::Cancel:
        return false;
    case CharactersEditorPrompts::No:
        return true;
    case CharactersEditorPrompts::Yes:
        break;
    }
    if (e.name().trimmed().isEmpty()) {
        e.prompts().focusName();
        e.prompts().showMessage(e.tr(kNameMissing));
        return false;
    }
    if (FileNameAssigned)
        return e.Save(); // a failed write keeps the work: the answer is no
    const QString folder = e.lastSaveFolder().isEmpty() ? e.stitch().CharactersPath
                                                        : e.lastSaveFolder();
    const QString path = e.prompts().chooseSaveFile(folder);
    if (path.isEmpty())
        return false;
    e.setLastSaveFolder(QFileInfo(path).absolutePath());
    return saveInto(path);
}

bool TMyFile::saveInto(const QString& path)
{
    const QString previous = FileName;
    FileName = path;
    if (!m_editor.Save()) {
        // The set was not written to the picked file: it is not that file's set.
        FileName = previous;
        return false;
    }
    FileNameAssigned = true;
    return true;
}

// ---------------------------------------------------------------------------------------------
// The editor

CharactersEditor::CharactersEditor(TStitch& stitch, QStringList fonts,
                                   CharactersEditorPrompts& prompts)
    : m_stitch(stitch), m_fonts(std::move(fonts)), m_prompts(prompts), m_file(*this)
{
}

QStringList CharactersEditor::installedFonts()
{
    return QFontDatabase::families();
}

QList<int> CharactersEditor::offeredCodes(int lastCode)
{
    QList<int> codes;
    for (int c = 33; c <= 126; ++c)
        codes << c;
    for (int c = 160; c <= lastCode; ++c)
        codes << c;
    return codes;
}

QString CharactersEditor::tr(const QString& text) const
{
    return m_stitch.translate(text);
}

void CharactersEditor::setFontName(const QString& name)
{
    m_fontName = m_fonts.contains(name) ? name : QString();
    change();
}

void CharactersEditor::setName(const QString& name)
{
    m_name = name;
    change();
}

void CharactersEditor::setDescription(const QString& description)
{
    m_description = description;
    change();
}

QList<int> CharactersEditor::codes(List l) const
{
    QList<int> out;
    for (const Row& r : rows(l))
        out << r.code;
    return out;
}

QList<int> CharactersEditor::selectedRows(List l) const
{
    QList<int> out;
    const QList<Row>& rs = rows(l);
    for (int i = 0; i < rs.size(); ++i) {
        if (rs[i].selected)
            out << i;
    }
    return out;
}

void CharactersEditor::setSelectedRows(List l, const QList<int>& selection)
{
    QList<Row>& rs = list(l);
    for (Row& r : rs)
        r.selected = false;
    for (int i : selection) {
        if (i >= 0 && i < rs.size())
            rs[i].selected = true;
    }
}

QString CharactersEditor::selectedCharacters() const
{
    QString s;
    for (const Row& r : m_selected)
        s += characterSetChar(r.code);
    return s;
}

void CharactersEditor::fillAll(int lastCode)
{
    m_all.clear();
    for (int c : offeredCodes(lastCode))
        m_all.append(Row{c, false});
}

int CharactersEditor::insertSorted(int code, bool selected)
{
    const auto it = std::upper_bound(m_all.begin(), m_all.end(), code,
                                     [](int c, const Row& r) { return c < r.code; });
    const int at = int(it - m_all.begin());
    m_all.insert(at, Row{code, selected});
    return at;
}

void CharactersEditor::NewSet()
{
    m_file.NewFile();
    m_all.clear();
    m_selected.clear();
    m_allCurrent = m_selectedCurrent = -1;
    m_name.clear();
    m_description.clear();
    if (m_fonts.contains(kDefaultFont))
        m_fontName = kDefaultFont;
    else if (m_fonts.contains(kShippedSymbolFont))
        m_fontName = kShippedSymbolFont;
    else
        m_fontName.clear();
    change();
    fillAll(kNewSetLastCode);
}

void CharactersEditor::newClicked()
{
    if (m_file.Check())
        NewSet();
}

bool CharactersEditor::openClicked()
{
    if (!m_file.Check())
        return false;
    const QString path = m_prompts.chooseOpenFile(m_stitch.CharactersPath);
    if (path.isEmpty())
        return false;
    return openFile(path);
}

bool CharactersEditor::openFile(const QString& path)
{
    QStringList lines;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            m_prompts.showMessage(QStringLiteral("Cannot read the character set file \"%1\": %2")
                                      .arg(shownPath(path), f.errorString()));
            return false;
        }
        lines = splitDataLines(decodeDataText(f.readAll()));
    }
    m_name = lines.value(0);
    m_description = lines.value(1);
    const QStringList font = splitDelimitedFields(lines.value(2));
    if (!font.isEmpty())
        m_fontName = m_fonts.contains(font.first()) ? font.first() : QString();
    m_selected.clear();
    fillAll(kOpenedSetLastCode);
    m_allCurrent = m_selectedCurrent = -1;

    for (int i = kFirstCharacterLine; i < lines.size(); ++i) {
        bool ok = false;
        const int code = lines.at(i).trimmed().toInt(&ok);
        if (!ok || code < 0 || code > 0xFFFF) {
            // The rows read so far stay, but they are not the file's set: saving them must
            // not replace the file (or the one open before) without asking for a name.
            m_file.NewFile();
            m_prompts.showMessage(QStringLiteral("Character set file \"%1\", line %2: \"%3\" is "
                                                 "not a character code (a whole number from 0 "
                                                 "to 65535).")
                                      .arg(shownPath(path))
                                      .arg(i + 1)
                                      .arg(lines.at(i)));
            return false;
        }
        m_selected.append(Row{code, false});
        for (int r = 0; r < m_all.size(); ++r) {
            if (m_all[r].code == code) {
                m_all.removeAt(r);
                break;
            }
        }
    }
    m_file.OpenFile(path);
    return true;
}

bool CharactersEditor::saveAsClicked()
{
    m_file.FileNameAssigned = false;
    return m_file.Save();
}

bool CharactersEditor::Save()
{
    TCharacterInfo info;
    info.Name = m_name;
    info.altName = m_description;
    info.fontName = m_fontName;
    info.fontCharset = 53;
    // Each row's code is written as it is (a code of 128 to 159 stays that code).
    for (const Row& r : m_selected)
        info.characters += QChar(char16_t(r.code));
    try {
        saveCharacterSetFile(m_file.FileName, info);
    } catch (const QuillError& e) {
        m_prompts.showMessage(e.translated(m_stitch));
        return false;
    }
    m_file.FileSaved = true;
    return true;
}

// ---------------------------------------------------------------------------------------------
// List operations

void CharactersEditor::addSelected()
{
    change();
    const QList<int> picked = selectedRows(AllList);
    if (picked.isEmpty())
        return;
    for (Row& r : m_selected)
        r.selected = false;
    const int firstNew = m_selected.size();
    for (int i : picked)
        m_selected.append(Row{m_all[i].code, true});
    m_selectedCurrent = firstNew;
    // The row now at the position of the last removed row becomes selected, or else the last.
    const int follow = picked.last();
    for (int k = picked.size() - 1; k >= 0; --k)
        m_all.removeAt(picked[k]);
    for (Row& r : m_all)
        r.selected = false;
    m_allCurrent = m_all.isEmpty() ? -1 : std::min(follow, int(m_all.size()) - 1);
    if (m_allCurrent >= 0)
        m_all[m_allCurrent].selected = true;
}

void CharactersEditor::removeSelected()
{
    change();
    const QList<int> picked = selectedRows(SelectedList);
    if (picked.isEmpty())
        return;
    for (Row& r : m_all)
        r.selected = false;
    int firstBack = -1;
    for (int i : picked) {
        const int at = insertSorted(m_selected[i].code, true);
        if (firstBack < 0 || at <= firstBack)
            firstBack = at;
    }
    m_allCurrent = firstBack;
    for (int k = picked.size() - 1; k >= 0; --k)
        m_selected.removeAt(picked[k]);
    for (Row& r : m_selected)
        r.selected = false;
    m_selectedCurrent = m_selected.isEmpty() ? -1 : std::min(picked.first(), int(m_selected.size()) - 1);
    if (m_selectedCurrent >= 0)
        m_selected[m_selectedCurrent].selected = true;
}

void CharactersEditor::addAll()
{
    change();
    for (const Row& r : m_all)
        m_selected.append(Row{r.code, false});
    m_all.clear();
    m_allCurrent = -1;
}

void CharactersEditor::removeAll()
{
    change();
    for (const Row& r : m_selected)
        insertSorted(r.code, false);
    m_selected.clear();
    m_selectedCurrent = -1;
}

void CharactersEditor::moveUp()
{
    change();
    for (int i = 0; i < m_selected.size(); ++i) {
        if (!m_selected[i].selected)
            continue;
        if (i == 0)
            break;
        m_selected.swapItemsAt(i - 1, i);
        m_selectedCurrent = i - 1;
    }
}

void CharactersEditor::moveDown()
{
    change();
    for (int i = int(m_selected.size()) - 1; i >= 0; --i) {
        if (!m_selected[i].selected)
            continue;
        if (i == m_selected.size() - 1)
            break;
        m_selected.swapItemsAt(i, i + 1);
        m_selectedCurrent = i + 1;
    }
}

void CharactersEditor::doubleClicked(List l, int row)
{
    if (row < 0 || row >= rows(l).size())
        return;
    setSelectedRows(l, {row});
    if (l == AllList)
        addSelected();
    else
        removeSelected();
}
