#pragma once
// The main window: menus, tool bar, status bar and the chart area over the one design of the
// session, the start-up initialisation it runs when created, the New command, the file
// commands (open, save, recent files) and closing.

#include "editing/TMode.h"
#include "files/GhostPicture.h"
#include "session/Session.h"
#include "view/ViewModes.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <memory>

class ChartView;
struct DesignFileContent;
struct TClipboard;
class SelectionLayer;
class ChartWidget;
class ColorPanel;
class GhostState;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QSplitter;
class QTimer;
class QToolButton;
class ShapeToolBar;
class StitchPreview;
class TActions;
class TFGhost;
class TFInsert;
class TFText;
class TFPalette;
class TFNewImage;
class TFPrintOptions;
class TFUpdate;
class UpdateChecker;
class ToolController;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Runs the start-up initialisation; throws QuillError when the application cannot run.
    // `fileArgument` is the design file named on the command line (may be empty).
    explicit MainWindow(const Session::Options& options, const QString& fileArgument = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return *m_session; }
    TStitch& stitch() { return m_session->stitch(); }
    PatternDocument& document() { return m_session->document(); }

    // Problems of the start-up that did not stop it, to be shown once the window is up.
    QStringList startupMessages() const { return m_startupMessages; }

    // The action (menu entry or submenu) with this object name, or null.
    QAction* action(const QString& objectName) const;
    QToolBar* mainToolBar() const { return m_toolBar; }
    QLabel* statusPanel(int index) const;
    ChartWidget* chart() const { return m_chart; }
    ChartView* chartView() const { return m_view; }
    ToolController* tools() const { return m_tools; }
    TActions* history() const { return m_history; }
    ColorPanel* colorPanel() const { return m_colorPanel; }
    QSplitter* splitter() const { return m_splitter; }
    TFNewImage* newImageDialog() const { return m_newImage; }
    // The palette pop-up once the "Palette" button opened it.
    TFPalette* palettePopup() const { return m_palette; }
    QComboBox* zoomList() const { return m_zoomList; }
    QToolButton* zoomButton() const { return m_zoomButton; }
    QToolButton* penButton() const { return m_penButton; }
    // The line, rectangle, circle, border and outline tools with the fill-mode drop-down.
    ShapeToolBar* shapeTools() const { return m_shapes; }
    // The Rhodes tool's button and its menu of catalogue definitions.
    QToolButton* rhodeButton() const { return m_rhodeButton; }
    QMenu* rhodesMenu() const { return m_rhodesMenu; }
    const StitchPreview* stitchPreview() const { return m_stitchPreview.get(); }
    // The tool action of a mode (hidden ones included), or null.
    QAction* toolAction(TMode mode) const;

    // The tool mode; the tool buttons, cursor and pen button follow it.
    void Setmode(TMode mode);
    // A zoom value of the zoom list (list, button caption and menu follow).
    void setZoom(int value);
    // The view mode of "Grid and symbols".
    void setVisibility(bool grid, bool symbols);
    // Background colour through the undo history (the hidden "Erase" swatch's choice).
    void changeBackgroundColor(ColorKey color);
    // "Change character ..." for the draw colour; false when the colour is not used.
    bool changeCharacter();
    // The "Palette" button: opens the pop-up next to the colour panel, or closes it.
    void togglePalette();

    // Captions of every menu, panel and dialog through the translation table; ends with the
    // product-mode adjustment. The one path a change of language takes: a window the main
    // window keeps gets its translateUi called here, and every widget captioned with
    // setTextKey (i18n/ui/Retranslate.h) follows by itself.
    void translateUi();
    // An entry of the Languages menu: loads the language file and translates every window
    // again; a file that cannot be loaded is reported and the language stays (false).
    bool MenuLanguageClick(const QString& fileName);
    // Hides what the pixel-art product mode does not offer. Idempotent.
    void applyProductMode();
    // Window caption: prefix, " - ", the file name without its folder, " - " and the title.
    void setFormCaption();
    // True when the design may be replaced or closed: asks about unsaved changes and, on
    // "Yes", saves (choosing a name when the design has none); false when that save fails.
    bool Check();
    // The New command: unsaved-changes question, New Image dialog, a new empty design.
    void MenuNewClick();
    // "Convert Picture to Template ...": a picture becomes a new design through the wizard.
    void MenuConvertClick();
    // "Wizzard ...": the last conversion wizard shown again.
    void MenuWizzardClick();
    // "Print ...": the print dialog for the design.
    void MenuPrintClick();
    // The insert tool's button: the insert dialog, then one press on the chart inserts.
    void ButtonInsertClick();
    // The insert dialog, made on first use (it keeps its choices).
    TFInsert* insertDialog();
    // The text tool's button: the text dialog, then its text as a floating block.
    void ButtonTextClick();
    // The text dialog, made on first use (it keeps its choices).
    TFText* textDialog();
    // The print dialog, made on first use.
    TFPrintOptions* printDialog();
    // "Real preview": the design as it will look stitched, in its own modal window. The
    // command is hidden in this product mode; the window opens when this is called.
    void MenuRealPreviewClick();
    // --- settings dialogs (MainWindowSettings.cpp) ---
    // "Options ...": the options dialog; on OK the settings are written to the store.
    void MenuOptionsClick();
    // "Pattern settings ...": the design-settings dialog; on OK its changes are applied.
    void MenuPatternSettingsClick();
    // --- selection and clipboard (MainWindowSelection.cpp) ---
    // "Copy", "Cut", "Paste", "Merge" and the floating block's turns and mirrors.
    void MenuCopyClick();
    void MenuCutClick();
    void MenuPasteClick();
    void MenuMergeClick();
    void ButtonRotateRightClick();
    void ButtonRotateLeftClick();
    void ButtonMirrorHorzClick();
    void ButtonMirrorVertClick();
    // A ready-made block (rendered text, a motif) becomes the clipboard and floats over the
    // chart in the selection tool, at the selection or else at the first visible cell, to be
    // moved, turned and merged.
    void startFloatingBlock(TClipboard clip);
    const SelectionLayer* selectionLayer() const { return m_selectionLayer.get(); }

    // --- update check (MainWindowUpdate.cpp) ---
    // "Check for updates ...": the update window, which checks as it opens.
    void MenuCheckForUpdatesClick();
    // The tick of the monthly check's timer: once per run, a check in the background that
    // shows the update window only when something is offered; a failure is only logged.
    void TimerCheckForUpdatesTimer();
    // The update window, made on first use.
    TFUpdate* updateDialog();
    UpdateChecker* updateChecker() const { return m_updateChecker; }
    // Started at start-up when the monthly check is due; its one tick runs the check.
    QTimer* updateTimer() const { return m_updateTimer; }

    // Closing: writes the settings, then asks Check.
    bool FormCloseQuery();

    // --- file commands (MainWindowFiles.cpp) ---
    // "Open Template ...": Check, the open dialog, OpenFile, the recent files.
    void MenuTemplateClick();
    // "Open Template As ...": as "Open Template ..." with the application mode asked once the
    // file is chosen.
    void OpenTemplateAs1Click();
    // An entry of "Reopen ...": opens `path` when it still exists and Check allows.
    void MenuMRUClick(const QString& path);
    // "Save" and "Save as ..."; true when the design was written.
    bool MenuSaveClick();
    bool MenuSaveAsClick();
    // Opens a design file as the commands do: the start-up initialisation runs again, then the
    // file becomes the design. A file that cannot be read shows the error and leaves the open
    // design exactly as it was (false). `knitting` is the application mode to open in.
    bool OpenFile(const QString& path, bool knitting = false);
    // The recent files: `path` at the top (at most 11 entries), and the "Reopen ..." menu.
    void MRUListInsert(const QString& path);
    void UpdateMRUs();
    QMenu* reopenMenu() const { return m_reopenMenu; }
    // The ghost picture loaded with the design (saved back beside it).
    const GhostPicture& ghost() const { return m_ghost; }
    // How the ghost is shown: overlay, opacity, the shadow button's mode.
    GhostState* ghostState() const { return m_ghostState; }
    QToolButton* shadowButton() const { return m_shadowButton; }
    // The ghost window, made on first use.
    TFGhost* ghostWindow();
    // Filters of the open and save dialogs, translated.
    QStringList openDialogFilters();
    QStringList saveDialogFilters();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Start-up initialisation: settings, catalogues and the first design.
    void FormCreate(const QString& fileArgument);
    // --- MainWindowMenus.cpp ---
    void createActions();
    void createMenus();
    void createToolBar();
    void translateActions();
    void rebuildLanguagesMenu();
    void showAbout();
    // False for a menu entry whose feature is not built yet.
    static bool commandAvailable(const QAction* a);
    // --- MainWindowTools.cpp ---
    void createEditor();
    void createToolActions();
    void createToolButtons();
    void translateTools();
    void syncToolButtons();
    void applyCommandStates(const CommandStates& states);
    // The command states of an open design, from the window's current state.
    void UpdateGUI();
    void designReplaced();
    void updateChangeCharacter();

    void createStatusBar();
    void updateStatusPanels();
    void updateColorsPanels();
    void updateDrawColor();
    void connectDesign();

    // --- MainWindowUpdate.cpp ---
    void createUpdateCheck();
    void backgroundCheckFinished(bool ok);

    // --- MainWindowInsert.cpp ---
    void createInsertTool();
    // --- MainWindowText.cpp ---
    void createTextTool();
    // --- MainWindowStitches.cpp: back stitches, French knots, Rhodes stitches ---
    void createStitchActions();
    void createStitchButtons();
    void hideStitchButtons();
    // Shows the back stitches, then the back-stitch tool.
    void ButtonBackStitchDrawClick();
    // An entry of the Rhodes menu: the Rhodes tool with that catalogue definition.
    void MenuItemRhodeClick(int position);
    // The Rhodes button shows the icon of a catalogue definition.
    void RhodeButtonUpdateImage(int position);
    // The Rhodes menu anew from the catalogue.
    void refreshRhodePopup();
    // "Rhodes editor ...": the editor, then the Rhodes menu again.
    void Rhodeseditor1Click();

    // --- MainWindowSettings.cpp ---
    void createSettingsCommands();

    // --- MainWindowSelection.cpp ---
    void createSelectionActions();
    // The frame and the floating block over the chart follow the tool's state.
    void selectionFrameChanged();
    void floatingBlockChanged();
    // The command states again when Cut, Copy, Paste or Merge would change.
    void updateSelectionCommands();

    // --- MainWindowGhost.cpp ---
    void createGhost();
    void createShadowButton();
    void translateGhost();

    // --- MainWindowFiles.cpp ---
    // The two open commands: Check, the dialog, (the mode), OpenFile, the recent files.
    void openChosenFile(bool askMode);
    void connectFileCommands();
    // The start-up initialisation again (New, opening). On failure the error is shown, the
    // design stays as it was and the result is false.
    bool reinitialise(QStringList* warnings);
    // Makes a read file the design; false (after the message) when it cannot be applied.
    bool applyOpenedFile(const DesignFileContent& content);
    // The folder the open and save dialogs start in.
    QString openStartFolder() const;
    QString saveStartFolder() const;
    // The open dialog; the chosen file or empty.
    QString chooseOpenFile(const QString& startFolder);
    // Steps of "Save as ..." that choose the name: the dialog, the appended extension and the
    // replace question. Empty when the user cancelled or declined.
    QString chooseSaveName(QString* startFolder);
    // Saves the whole design to `path`; shows the error and returns false when it fails.
    bool saveTo(const QString& path);
    // "Save" is enabled exactly while the design has unsaved changes.
    void updateSaveCommand();

    QMessageBox::StandardButton MyMessageDlg(const QString& message,
                                             QMessageBox::StandardButtons buttons
                                             = QMessageBox::Yes | QMessageBox::No
                                                 | QMessageBox::Cancel);
    void showMessage(QMessageBox::Icon icon, const QString& text);

    std::unique_ptr<Session> m_session;
    QStringList m_startupMessages;
    TActions* m_history = nullptr;
    ChartView* m_view = nullptr;
    ToolController* m_tools = nullptr;
    ChartWidget* m_chart = nullptr;
    ColorPanel* m_colorPanel = nullptr;
    QSplitter* m_splitter = nullptr;
    TFPalette* m_palette = nullptr;
    QTimer* m_paletteButtonTimer = nullptr;
    QActionGroup* m_toolGroup = nullptr;
    QComboBox* m_zoomList = nullptr;
    QToolButton* m_zoomButton = nullptr;
    QMenu* m_zoomMenu = nullptr;
    QToolButton* m_penButton = nullptr;
    QMenu* m_penMenu = nullptr;
    ShapeToolBar* m_shapes = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_drawColor = nullptr;
    QList<QLabel*> m_panels;
    QMenu* m_languagesMenu = nullptr;
    QActionGroup* m_viewGroup = nullptr;
    QAction* m_quillmarkMode = nullptr;
    TFNewImage* m_newImage = nullptr;
    QMenu* m_reopenMenu = nullptr;
    GhostPicture m_ghost;
    GhostState* m_ghostState = nullptr;
    QToolButton* m_shadowButton = nullptr;
    QAction* m_shadowButtonAction = nullptr; // the button's place in the tool bar
    QMenu* m_shadowMenu = nullptr;
    QTimer* m_shadowButtonTimer = nullptr;
    TFGhost* m_ghostWindow = nullptr;
    TFPrintOptions* m_printOptions = nullptr;
    TFInsert* m_insertDialog = nullptr;
    TFText* m_textDialog = nullptr;
    UpdateChecker* m_updateChecker = nullptr;
    TFUpdate* m_updateDialog = nullptr;
    QTimer* m_updateTimer = nullptr;
    // The background check has run in this run; one is running now.
    bool m_backgroundCheckRan = false;
    bool m_backgroundCheckRunning = false;
    std::unique_ptr<StitchPreview> m_stitchPreview;
    std::unique_ptr<SelectionLayer> m_selectionLayer;
    QTimer* m_selectionTimer = nullptr; // moves the frame's dashes on
    QToolButton* m_rhodeButton = nullptr;
    QMenu* m_rhodesMenu = nullptr;
    // Saving is possible at all (a design is open); "Save" also needs unsaved changes.
    bool m_saveAllowed = false;
    // A picture was opened for conversion and no other design has replaced it since.
    bool m_openedPicture = false;
    // The command states last applied (ResetGUI / UpdateGUI).
    CommandStates m_commandStates;
    bool m_shownOnce = false;
    int m_zoom = 8;
};
