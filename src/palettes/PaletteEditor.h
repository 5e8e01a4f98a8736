#pragma once
// The palette editor without its window: the palette being edited (an ordered list of colours
// with duplicates allowed, as the file holds them), the selected block of rows, the colour
// settings fields, the editing state, the sort modes, adding, changing, deleting and moving
// colours, the colour picked from a picture, and opening and saving palette files. Questions,
// messages and the palette list dialog go through PaletteEditorPrompts, so a test can answer
// them.

#include "core/StitchTypes.h"

#include <QList>
#include <QString>
#include <optional>

class QImage;
class QPoint;
class TStitch;

// What the editor asks the user. The window answers with message boxes and dialogs.
class PaletteEditorPrompts
{
public:
    enum Answer { Yes, No, Cancel };
    enum Field { NameField, NumberField, RgbField, SymbolField };

    virtual ~PaletteEditorPrompts() = default;
    // A message the user confirms (`warning` for refusals and failures).
    virtual void showMessage(const QString& text, bool warning) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // The unsaved-changes question with Yes, No and Cancel.
    virtual Answer askYesNoCancel(const QString& text) = 0;
    // A field of the colour settings should take the focus.
    virtual void focusField(Field) {}
    // The palette list dialog in save mode, started with the three values; on OK they hold
    // what the user entered. False when it was cancelled.
    virtual bool choosePaletteFile(QString& fileName, QString& name, QString& version) = 0;
};

class PaletteEditor
{
public:
    // The editing state: a colour is being added, the selected one changed, or neither.
    enum TEditMode { emNew = 0, emEdit = 1, emIdle = 2 };
    enum SortMode { sortByPalette = 0, sortByName = 1, sortByNumber = 2 };

    // The colour settings as the window shows them.
    struct Fields
    {
        ColorKey swatch = kGrey;
        QString rgb;     // "$RRGGBB"
        QString name;
        QString number;
        int symbol = -1; // position in the design's character string; -1 shows nothing
        bool operator==(const Fields&) const = default;
    };

    static constexpr ColorKey kGrey = 0x808080u;
    static constexpr int kDefaultCursorSize = 30;
    static constexpr int kMaxCursorSize = 100;

    PaletteEditor(TStitch& stitch, PaletteEditorPrompts& prompts);

    TStitch& stitch() { return m_stitch; }

    // --- opening (execute) ---
    // A palette file of the palette folder with the name and version the palette list shows.
    // A file that cannot be read is reported (naming the file) and false returned; the editor
    // then holds an empty new palette.
    bool openFile(const QString& fileName, const QString& name, const QString& version);
    // A new, empty palette "New Palette" of version "1.0" in "New Palette.ctb".
    void openNew();

    // --- the palette ---
    const QList<TColorInfo>& Palette() const { return m_palette; }
    const QString& fileName() const { return m_fileName; }
    const QString& name() const { return m_name; }
    const QString& version() const { return m_version; }
    bool changed() const { return m_changed; }
    bool knownFile() const { return m_knownFile; }
    TEditMode state() const { return m_state; }
    SortMode sortMode() const { return m_sort; }

    // --- the selected rows: one block from first to last (both included), none when empty ---
    int firstSelected() const { return m_first; }
    int lastSelected() const { return m_last; }
    // Selects a block (clamped to the list) and shows its first row in the colour settings
    // (GridSelectCell). Ignored while a colour is added or changed.
    void selectRows(int first, int last);

    // --- enabling rules ---
    bool canNew() const { return m_state == emIdle; }
    bool canEdit() const { return m_state == emIdle && !m_palette.isEmpty(); }
    bool canDelete() const { return canEdit(); }
    bool canOK() const { return m_state != emIdle; }
    bool canCancel() const { return canOK(); }
    bool canUp() const;
    bool canDown() const;
    bool canSave() const { return m_changed; }
    bool canSaveAs() const { return true; }

    // --- the colour settings ---
    const Fields& fields() const { return m_fields; }
    // The row shown in the colour settings (fillColorValues).
    void fillColorValues(int row);
    void setName(const QString& text) { m_fields.name = text; }
    void setNumber(const QString& text) { m_fields.number = text; }
    // ComboBoxSymbolChange: a symbol chosen from the list.
    void setSymbol(int index);
    // "Symbol is already in use!": another colour than the selected one has the chosen symbol.
    bool symbolWarning() const { return m_symbolWarning; }
    // ERGBChange while the field has the focus: a text of at least six characters that reads
    // as "$RRGGBB" gives the swatch its colour; other text is kept but changes nothing.
    void ERGBChange(const QString& text);
    // ERGBExit: a text that does not read is replaced by the swatch's colour.
    void ERGBExit();
    // A colour chosen in the colour dialog (PanelColorClick): swatch and "RGB value".
    void setSwatch(ColorKey color);

    // --- commands ---
    void actNew();
    void actEdit();
    // Checks the candidate against every other colour; false (after the message) when refused.
    bool actOK();
    void actCancel();
    void actDelete();
    void actUp();
    void actDown();
    void ComboSortChange(SortMode mode);
    // "Save" and "Save As ...". True when the palette was written.
    bool actSave();
    bool actSaveAs();
    // "Close": asks about unsaved changes; true when the editor may close.
    bool close();

    // --- picking from a picture ---
    // Releasing the mouse over the picture at picture pixel `center` with the cursor `size`,
    // in emNew or emEdit: the average of the square, "RGB value" and the swatch take it. False
    // when nothing was picked (idle, or the square lies wholly outside the picture).
    bool pickColor(const QImage& picture, const QPoint& center, int size);
    // The average red, green and blue (sum div count) of the pixels of the square from
    // center - size div 2 to center + size div 2, both included, that lie inside the picture.
    static std::optional<ColorKey> averageSquare(const QImage& picture, const QPoint& center,
                                                 int size);

    // --- texts ---
    // "$" and two upper-case hexadecimal digits each for red, green and blue.
    static QString rgbText(ColorKey color);
    // "$RRGGBB" (either case) as a colour key.
    static std::optional<ColorKey> parseRgbText(const QString& text);
    // The order of "by number": two whole numbers by value, otherwise by code units. Whole
    // numbers come before all other numbers, so that the order is the same whichever pair is
    // compared first.
    static bool numberLess(const QString& a, const QString& b);
    // The order of each sort mode.
    static bool sortLess(SortMode mode, const TColorInfo& a, const TColorInfo& b);

    QString tr(const QString& text) const;

private:
    void clearFields();
    void sortList();
    // After a move in palette order the positions are the palette order.
    void renumber();
    // Writes the palette under the current file name, name and version; false after a message.
    bool write();
    // write(); when it fails the file name, name and version go back to the ones given.
    bool writeOrKeep(const QString& fileName, const QString& name, const QString& version);
    bool saveThroughList();
    // Save and Save As: through the palette list dialog when `askList`, then written.
    bool saveInto(bool askList);
    void updateSymbolWarning();
    int nextOrderID() const;

    TStitch& m_stitch;
    PaletteEditorPrompts& m_prompts;
    QList<TColorInfo> m_palette;
    QString m_fileName;
    QString m_name;
    QString m_version;
    bool m_changed = false;
    bool m_knownFile = false;
    TEditMode m_state = emIdle;
    SortMode m_sort = sortByPalette;
    int m_first = -1;
    int m_last = -1;
    Fields m_fields;
    bool m_symbolWarning = false;
};

// The untranslated texts of the editor.
namespace PaletteEditorText {
inline const char* const kNewPalette = "New Palette";
inline const char* const kNameExists = "A color with this name already exists";
inline const char* const kNumberExists = "A color with same number already exists";
inline const char* const kRgbExists = "A color with same RGB values already exists";
inline const char* const kSymbolInUse = "The Symbol is already in use, continue anyway?";
inline const char* const kSaved = "Palette saved successfully";
inline const char* const kAvailableNextTime =
    "Palette will be available next time you start the program";
inline const char* const kChanged = "Palette was changed. Save it now?";
inline const char* const kEmpty = "Palette is empty";
inline const char* const kNoName = "The palette needs a name.";
} // namespace PaletteEditorText
