#pragma once
// The main window: menus, tool bar, status bar and the chart area over the one design of the
// session, the start-up initialisation it runs when created, the New command and closing.

#include "session/Session.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <memory>

class QActionGroup;
class QLabel;
class QMenu;
class QScrollArea;
class PlainChartWidget;
class TFNewImage;

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
    PlainChartWidget* chart() const { return m_chart; }
    TFNewImage* newImageDialog() const { return m_newImage; }

    // Captions of every menu, panel and dialog through the translation table; ends with the
    // product-mode adjustment.
    void translateUi();
    // Hides what the pixel-art product mode does not offer. Idempotent.
    void applyProductMode();
    // Window caption: prefix, " - ", the file name without its folder, " - " and the title.
    void setFormCaption();
    // True when the design may be replaced or closed (asks about unsaved changes).
    bool Check();
    // The New command: unsaved-changes question, New Image dialog, a new empty design.
    void MenuNewClick();
    // Closing: writes the settings, then asks Check.
    bool FormCloseQuery();

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
    void setViewMode(bool grid, bool symbols);
    void showAbout();

    void createStatusBar();
    void updateStatusPanels();
    void updateColorsPanels();
    void updateDrawColor();
    void showPointer(int x, int y);
    void connectDesign();

    QMessageBox::StandardButton MyMessageDlg(const QString& message);
    void showMessage(QMessageBox::Icon icon, const QString& text);

    std::unique_ptr<Session> m_session;
    QStringList m_startupMessages;
    QScrollArea* m_scroll = nullptr;
    PlainChartWidget* m_chart = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_drawColor = nullptr;
    QList<QLabel*> m_panels;
    QMenu* m_languagesMenu = nullptr;
    QActionGroup* m_viewGroup = nullptr;
    QAction* m_quillmarkMode = nullptr;
    TFNewImage* m_newImage = nullptr;
    bool m_symbolsVisible = false;
    bool m_shownOnce = false;
    int m_zoom = 8;
};
