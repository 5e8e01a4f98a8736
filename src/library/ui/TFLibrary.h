#pragma once
// The library's browser ("Library"): the motifs of the library folder, the chosen one's
// preview and details, "Load" (closes with OK: the window then loads the motif as a floating
// block), "Delete" with its question, "Close" and "Help". A thin view over LibraryBrowser;
// only the list is made when the dialog opens, a motif is read when it is chosen, so a folder
// of thousands of motifs opens at once.

#include "library/LibraryBrowser.h"

#include <QDialog>

class MotifPreview;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class TStitch;

class TFLibrary : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHelpContext = 3800;

    explicit TFLibrary(TStitch& stitch, QWidget* parent = nullptr);

    // Before each showing (FormShow): the folder listed afresh, nothing chosen.
    void prepare(bool designOpen = true);
    void translateUi();

    LibraryBrowser& browser() { return m_browser; }
    QListWidget* list() const { return m_list; }
    MotifPreview* preview() const { return m_preview; }
    QLabel* detail(int i) const { return m_values[i]; }
    QLabel* convertLabel() const { return m_convert; }
    QLabel* noteLabel() const { return m_note; }
    QPushButton* loadButton() const { return m_load; }
    QPushButton* deleteButton() const { return m_delete; }

    // "Delete": asks, then deletes the chosen motif (a failure is shown).
    void BDeleteClick();

private:
    void ListSelectItem();
    void showDetails();

    TStitch& m_stitch;
    LibraryBrowser m_browser;
    QGroupBox* m_filesBox = nullptr;
    QGroupBox* m_previewBox = nullptr;
    QGroupBox* m_detailsBox = nullptr;
    QListWidget* m_list = nullptr;
    MotifPreview* m_preview = nullptr;
    QLabel* m_values[5] = {}; // width, height, name, palette, description
    QLabel* m_convert = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_load = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_help = nullptr;
};
