#pragma once
// The characters editor without its window: the set being composed (name, description, font,
// the "All Characters" and "Selected Characters" lists with their selections), every list
// operation, opening and saving character-set files, and the file state `TMyFile`. Questions,
// messages and file pickers go through CharactersEditorPrompts, so a test can answer them.

#include <QList>
#include <QString>
#include <QStringList>

class CharactersEditor;
class TStitch;

// What the editor asks the user. The window implements it with message boxes and file
// dialogs; tests implement it with scripted answers.
class CharactersEditorPrompts
{
public:
    enum Answer { Yes, No, Cancel };

    virtual ~CharactersEditorPrompts() = default;
    // A warning that the user confirms (the missing name, a failed read or write).
    virtual void showMessage(const QString& text) = 0;
    // The name field should take the focus (a name is missing).
    virtual void focusName() {}
    // The unsaved-changes question with Yes, No and Cancel.
    virtual Answer askYesNoCancel(const QString& text) = 0;
    // A file to open, starting in `folder`; empty when cancelled.
    virtual QString chooseOpenFile(const QString& folder) = 0;
    // A file to save into, starting in `folder`, with the question before replacing a file;
    // returned as typed, empty when cancelled.
    virtual QString chooseSaveFile(const QString& folder) = 0;
};

// State of the file open in the characters editor.
class TMyFile
{
public:
    // Create: not saved, no file name.
    explicit TMyFile(CharactersEditor& editor) : m_editor(editor) {}

    void NewFile();
    void OpenFile(const QString& fileName);
    void Change() { FileSaved = false; }
    // The save rules: a name is required; without a file name the user picks one (".chr" is
    // added unless the name ends in exactly ".chr"); an unsaved set is written. True when the
    // set is saved afterwards.
    bool Save();
    // May the current set be discarded? Asks to save unsaved work.
    bool Check();

    QString FileName;
    bool FileSaved = false;
    bool FileNameAssigned = false;

private:
    // Writes the set into a file the user picked; on failure the old file name stays.
    bool saveInto(const QString& path);
    CharactersEditor& m_editor;
};

class CharactersEditor
{
public:
    // One row of a list: a character code and whether the row is selected.
    struct Row
    {
        int code = 0;
        bool selected = false;
        bool operator==(const Row&) const = default;
    };
    enum List { AllList, SelectedList };

    // The font chosen for a new set, when installed.
    static const QString kDefaultFont;
    static constexpr int kNewSetLastCode = 600;
    static constexpr int kOpenedSetLastCode = 499;

    // `fonts` are the installed font families offered by "Font :".
    CharactersEditor(TStitch& stitch, QStringList fonts, CharactersEditorPrompts& prompts);

    // The installed font families (Qt's font database, registered fonts included).
    static QStringList installedFonts();
    // The codes "All Characters" offers: 33 to 126 and 160 to `lastCode`.
    static QList<int> offeredCodes(int lastCode);

    TMyFile& file() { return m_file; }
    const TMyFile& file() const { return m_file; }
    TStitch& stitch() { return m_stitch; }
    CharactersEditorPrompts& prompts() { return m_prompts; }

    // --- the set ---
    const QStringList& fonts() const { return m_fonts; }
    // The selected font, empty when none is selected.
    const QString& fontName() const { return m_fontName; }
    // Selects a font by its exact name; a name that is not installed selects none.
    void setFontName(const QString& name);
    const QString& name() const { return m_name; }
    void setName(const QString& name);
    const QString& description() const { return m_description; }
    void setDescription(const QString& description);
    bool showIds() const { return m_showIds; }
    void setShowIds(bool show) { m_showIds = show; }

    // --- the lists ---
    const QList<Row>& rows(List list) const { return list == AllList ? m_all : m_selected; }
    QList<int> codes(List list) const;
    QList<int> selectedRows(List list) const;
    void setSelectedRows(List list, const QList<int>& rows);
    // The row a list should scroll to after the last operation, or -1.
    int currentRow(List list) const { return list == AllList ? m_allCurrent : m_selectedCurrent; }
    // The characters of "Selected Characters" as the glyph cache holds them.
    QString selectedCharacters() const;

    // --- commands ---
    // New set: no file, empty lists, the default font, counts as changed, all codes offered.
    void NewSet();
    // The new button: a new set after Check.
    void newClicked();
    // The open button: Check, then a file picked in the character-set folder is read.
    // Returns false when nothing was opened.
    bool openClicked();
    // Reads a file into the editor; on a bad character line the rows read so far stay and
    // the set becomes an unsaved one without file name (it is not the file any more).
    bool openFile(const QString& path);
    // The save and save-as buttons.
    bool saveClicked() { return m_file.Save(); }
    bool saveAsClicked();
    // Writes the set into file().FileName; false (after a message) when that fails.
    bool Save();

    // List operations; each marks the set changed.
    void addSelected();
    void removeSelected();
    void addAll();
    void removeAll();
    void moveUp();
    void moveDown();
    // Double clicks: the clicked row becomes the selection, then it is added or removed.
    void doubleClicked(List list, int row);

    // Where the next save dialog of Check starts (the folder of its last pick).
    QString lastSaveFolder() const { return m_lastSaveFolder; }
    void setLastSaveFolder(const QString& folder) { m_lastSaveFolder = folder; }

    QString tr(const QString& text) const;

private:
    friend class TMyFile;
    void change() { m_file.Change(); }
    void fillAll(int lastCode);
    // Inserts a code into "All Characters" at its sorted place; returns the row.
    int insertSorted(int code, bool selected);
    QList<Row>& list(List l) { return l == AllList ? m_all : m_selected; }

    TStitch& m_stitch;
    QStringList m_fonts;
    CharactersEditorPrompts& m_prompts;
    TMyFile m_file;
    QString m_fontName;
    QString m_name;
    QString m_description;
    bool m_showIds = true;
    QList<Row> m_all;
    QList<Row> m_selected;
    int m_allCurrent = -1;
    int m_selectedCurrent = -1;
    QString m_lastSaveFolder;
};
