// The main window's menus, tool bar and their captions.
#include "MainWindow.h"
#include "BuildConfig.h"

#include "ToolIcons.h"
#include "ToolKeys.h"
#include "LibraryCommands.h"
#include "core/Product.h"
#include "core/QuillError.h"
#include "core/ui/TFNewImage.h"
#include "i18n/HelpTopics.h"
#include "i18n/LanguageFile.h"
#include "i18n/ui/THelpWindow.h"
#include "view/ui/TFRealPreview.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// One menu entry: object name, caption (the translation key), accelerator letter, shortcut,
// and whether its feature exists yet ("Save" and "Reopen ..." follow the design's state; the
// command states of ResetGUI/UpdateGUI then decide within the entries that exist).
struct EntryDef
{
    const char* name;
    const char* caption;
    char accel;
    const char* shortcut;
    bool enabled;
};

// A menu or submenu: its entries in order; a null name is a separator, a name that starts a
// submenu is listed in kSubmenus.
struct MenuDef
{
    const char* name;
    const char* caption;
    char accel;
    QList<EntryDef> entries;
};

const QList<MenuDef>& menuDefs()
{
    static const QList<MenuDef> defs = {
        {"MenuFile", "File", 'F',
         {{"MenuNew", "New empty Template ...", 'N', "Ctrl+N", true},
          {"MenuTemplate", "Open Template ...", 'O', "Ctrl+O", true},
          {"OpenTemplateAs1", "Open Template As ...", 'A', "", true},
          {"MenuSave", "Save", 'S', "Ctrl+S", false},
          {"MenuSaveAs", "Save as ...", 'v', "Ctrl+Shift+S", true},
          {"MenuReopen", "Reopen ...", 'R', "", false},
          {nullptr, nullptr, 0, nullptr, false},
          {"MenuConvert", "Convert Picture to Template ...", 'C', "", true},
          {nullptr, nullptr, 0, nullptr, false},
          {"MenuPrint", "Print ...", 'P', "Ctrl+P", true},
          {nullptr, nullptr, 0, nullptr, false},
          {"MenuExit", "Exit", 'x', "Ctrl+Q", true}}},
        {"MenuEdit", "Edit", 'E',
         {{"Undo1", "Undo", 'U', "Ctrl+Z", false},
          {"Redo1", "Redo", 'R', "Ctrl+Shift+Z", false},
          {nullptr, nullptr, 0, nullptr, false},
          {"MenuCut", "Cut", 't', "Ctrl+X", true},
          {"MenuCopy", "Copy", 'C', "Ctrl+C", true},
          {"MenuPaste", "Paste", 'P', "Ctrl+V", true},
          {"MenuMerge", "Merge", 'M', "Ctrl+M", true},
          {nullptr, nullptr, 0, nullptr, false},
          {"MenuAddToLibrary", "Add to library", 'l', "", true}}},
        {"MenuViewMain", "View", 'V',
         {{"MenuWizzard", "Wizzard ...", 'W', "", true},
          {"MenuView", "Grid and symbols", 'G', "", true},
          {"MenuRealPreview", "Real preview", 'R', "", true}}},
        {"MenuView", "Grid and symbols", 'G',
         {{"MenuNone", "None", 'N', "", true},
          {"MenuGrid", "Grid", 'G', "", true},
          {"MenuSymbols", "Symbols", 'S', "", true},
          {"MenuGridSymbols", "Grid and symbols", 'a', "", true}}},
        {"MenuTools", "Tools", 'T',
         {{"MenuLibrary", "Library ...", 'L', "", true},
          {nullptr, nullptr, 0, nullptr, false},
          {"MenuCharactersEditor", "Characters editor ...", 'h', "", false},
          {"MenuChangeCharacter", "Change character ...", 'g', "", false},
          {"MenuCMYK", "CMYK colors ...", 'M', "", true},
          {"MenuPaletteEditor", "Palette editor", 'P', "", true},
          {"Rhodeseditor1", "Rhodes editor ...", 'R', "", true},
          {nullptr, nullptr, 0, nullptr, false},
          {"MenuPatternSettings", "Pattern settings ...", 't', "", true},
          {"MenuOptions", "Options ...", 'O', "", true}}},
        {"MenuPaletteEditor", "Palette editor", 'P',
         {{"MenuNewPalette", "New palette ...", 'N', "", true},
          {"MenuEditPalette", "Edit palette ...", 'E', "", true}}},
        {"MenuReopen", "Reopen ...", 'R', {}},
        {"MenuHelp", "Help", 'H',
         {{"MenuHelpIndex", "Index ...", 'I', "F1", true},
          {"MenuHomePage", "Home page", 'H', "", false},
          {"MenuCheckUpdates", "Check for updates ...", 'C', "", true},
          {nullptr, nullptr, 0, nullptr, false},
          {"MenuAbout", "About ...", 'A', "", true}}},
        {"MenuLanguages", "Languages", 'L', {}},
    };
    return defs;
}

// The top-level menus in menu-bar order (the others are submenus).
const char* const kTopMenus[] = {"MenuFile", "MenuEdit", "MenuViewMain", "MenuTools", "MenuHelp",
                                 "MenuLanguages"};

const MenuDef* findMenuDef(const QString& name)
{
    for (const MenuDef& d : menuDefs())
        if (name == QLatin1String(d.name))
            return &d;
    return nullptr;
}

// A translated caption with its accelerator: "&" before the first occurrence of the letter,
// any "&" of the text itself doubled so that it shows. A translation without that letter
// ("Datei" for "File") gets its first letter instead, so that every menu keeps a key.
QString withAccelerator(QString text, char accel)
{
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (accel) {
        qsizetype i = text.indexOf(QLatin1Char(accel));
        if (i < 0)
            i = text.indexOf(QLatin1Char(accel), 0, Qt::CaseInsensitive);
        if (i < 0)
            for (qsizetype j = 0; j < text.size() && i < 0; ++j)
                if (text.at(j).isLetter())
                    i = j;
        if (i >= 0)
            text.insert(i, QLatin1Char('&'));
    }
    return text;
}

// Menu entries that open a dialog end in " ...": the key is the text before it, and the
// decoration is put back after translation ("Save as" gives "Save as ...").
QString decorated(TStitch& stitch, const QString& caption, QString* plain)
{
    static const QString dots = QStringLiteral(" ...");
    const bool opensDialog = caption.endsWith(dots);
    *plain = stitch.translate(opensDialog ? caption.chopped(dots.size()) : caption);
    return opensDialog ? *plain + dots : *plain;
}

const char* kCaptionKey = "captionKey";
const char* kAccelKey = "accelerator";
const char* kAvailableKey = "featureAvailable";

} // namespace

void MainWindow::MenuRealPreviewClick()
{
    TFRealPreview preview(document(), this);
    preview.exec();
}

void MainWindow::createActions()
{
    // Menus and their entries; a submenu's action is the entry that opens it.
    QHash<QString, QMenu*> menus;
    for (const MenuDef& d : menuDefs()) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(d.name) + QStringLiteral("Popup"));
        menu->menuAction()->setObjectName(QString::fromLatin1(d.name));
        menu->menuAction()->setProperty(kCaptionKey, QString::fromLatin1(d.caption));
        menu->menuAction()->setProperty(kAccelKey, d.accel);
        menus.insert(QString::fromLatin1(d.name), menu);
    }
    for (const MenuDef& d : menuDefs()) {
        QMenu* menu = menus.value(QString::fromLatin1(d.name));
        for (const EntryDef& e : d.entries) {
            if (!e.name) {
                menu->addSeparator();
                continue;
            }
            const QString name = QString::fromLatin1(e.name);
            if (QMenu* sub = menus.value(name); sub && findMenuDef(name)) {
                menu->addMenu(sub);
                sub->menuAction()->setEnabled(e.enabled);
                continue;
            }
            auto* a = new QAction(this);
            a->setObjectName(name);
            a->setProperty(kCaptionKey, QString::fromLatin1(e.caption));
            a->setProperty(kAccelKey, e.accel);
            a->setProperty(kAvailableKey, e.enabled);
            if (*e.shortcut)
                a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
            a->setEnabled(e.enabled);
            menu->addAction(a);
        }
    }
    menus.value(QStringLiteral("MenuReopen"))->menuAction()->setEnabled(false);
    m_languagesMenu = menus.value(QStringLiteral("MenuLanguages"));

    // The hidden switch of the product mode.
    m_quillmarkMode = new QAction(this);
    m_quillmarkMode->setObjectName(QStringLiteral("QuillmarkMode"));
    m_quillmarkMode->setText(QStringLiteral("QuillmarkMode"));
    m_quillmarkMode->setCheckable(true);
    m_quillmarkMode->setVisible(false);
    menus.value(QStringLiteral("MenuHelp"))->addAction(m_quillmarkMode);
    connect(m_quillmarkMode, &QAction::toggled, this, [this](bool on) {
        if (on)
            applyProductMode();
    });

    // View modes: one of four, grid only at the start.
    m_viewGroup = new QActionGroup(this);
    const struct { const char* name; bool grid; bool symbols; } modes[] = {
        {"MenuNone", false, false}, {"MenuGrid", true, false},
        {"MenuSymbols", false, true}, {"MenuGridSymbols", true, true}};
    for (const auto& m : modes) {
        QAction* a = action(QString::fromLatin1(m.name));
        a->setCheckable(true);
        m_viewGroup->addAction(a);
        const bool grid = m.grid, symbols = m.symbols;
        connect(a, &QAction::triggered, this, [this, grid, symbols] { setVisibility(grid, symbols); });
    }
    action(QStringLiteral("MenuGrid"))->setChecked(true);

    connect(action(QStringLiteral("MenuNew")), &QAction::triggered, this, &MainWindow::MenuNewClick);
    connect(action(QStringLiteral("MenuConvert")), &QAction::triggered, this, &MainWindow::MenuConvertClick);
    connect(action(QStringLiteral("MenuWizzard")), &QAction::triggered, this, &MainWindow::MenuWizzardClick);
    connect(action(QStringLiteral("MenuPrint")), &QAction::triggered, this, &MainWindow::MenuPrintClick);
    connect(action(QStringLiteral("MenuExit")), &QAction::triggered, this, &QWidget::close);
    connect(action(QStringLiteral("MenuRealPreview")), &QAction::triggered, this,
            &MainWindow::MenuRealPreviewClick);
    connect(action(QStringLiteral("MenuAbout")), &QAction::triggered, this, &MainWindow::showAbout);
    connect(action(QStringLiteral("MenuHelpIndex")), &QAction::triggered, this,
            [this] { showHelpContext(this, stitch(), kHelpContents); });
    // The installed language files are listed afresh whenever the menu opens.
    connect(m_languagesMenu, &QMenu::aboutToShow, this, &MainWindow::rebuildLanguagesMenu);
    action(QStringLiteral("MenuAbout"))->setMenuRole(QAction::AboutRole);
    createToolActions();
    createStitchActions();
    createSelectionActions();
    LibraryCommands::connect(*this);
    createSettingsCommands();
    action(QStringLiteral("MenuExit"))->setMenuRole(QAction::QuitRole);
}

void MainWindow::createMenus()
{
    for (const char* name : kTopMenus)
        menuBar()->addAction(action(QString::fromLatin1(name)));
}

void MainWindow::createToolBar()
{
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    const QStyle* s = style();
    const struct { const char* name; ToolIcons::Kind icon; bool separatorBefore; } buttons[] = {
        {"MenuNew", ToolIcons::New, false},        {"MenuTemplate", ToolIcons::Open, false},
        {"MenuSave", ToolIcons::Save, false},      {"MenuPrint", ToolIcons::Print, true},
        {"Undo1", ToolIcons::Undo, true},          {"Redo1", ToolIcons::Redo, false},
        {"MenuCut", ToolIcons::Cut, true},         {"MenuCopy", ToolIcons::Copy, false},
        {"MenuPaste", ToolIcons::Paste, false},    {"MenuMerge", ToolIcons::Merge, false},
        {"ButtonRotateLeft", ToolIcons::RotateLeft, false},
        {"ButtonRotateRight", ToolIcons::RotateRight, false},
        {"ButtonMirrorHorz", ToolIcons::MirrorHorz, false},
        {"ButtonMirrorVert", ToolIcons::MirrorVert, false},
        {"MenuView", ToolIcons::View, true},
        {"MenuRealPreview", ToolIcons::RealPreview, false}};
    for (const auto& b : buttons) {
        if (b.separatorBefore)
            m_toolBar->addSeparator();
        QAction* a = action(QString::fromLatin1(b.name));
        a->setIcon(ToolIcons::icon(b.icon, s));
        m_toolBar->addAction(a);
    }
    // The view modes open from their button at once.
    if (auto* button = qobject_cast<QToolButton*>(
            m_toolBar->widgetForAction(action(QStringLiteral("MenuView"))))) {
        button->setObjectName(QStringLiteral("ButtonView"));
        button->setPopupMode(QToolButton::InstantPopup);
    }
    createToolButtons();
    // Every tool's key on the window itself, so that hidden tool buttons keep their keys.
    ToolKeys::bind(this);
    createShadowButton();
    m_toolBar->addSeparator();
    m_drawColor = new QLabel(m_toolBar);
    m_drawColor->setObjectName(QStringLiteral("DrawColorSwatch"));
    m_drawColor->setFixedSize(22, 22);
    m_drawColor->setFrameShape(QFrame::Box);
    m_toolBar->addWidget(m_drawColor);
}

bool MainWindow::commandAvailable(const QAction* a)
{
    const QVariant v = a->property(kAvailableKey);
    return !v.isValid() || v.toBool();
}

QAction* MainWindow::action(const QString& objectName) const
{
    const auto all = findChildren<QAction*>(objectName);
    return all.isEmpty() ? nullptr : all.first();
}

void MainWindow::translateActions()
{
    TStitch& st = stitch();
    for (QAction* a : findChildren<QAction*>()) {
        const QVariant key = a->property(kCaptionKey);
        if (!key.isValid())
            continue;
        QString plain;
        const QString text = decorated(st, key.toString(), &plain);
        a->setText(withAccelerator(text, char(a->property(kAccelKey).toInt())));
        a->setToolTip(plain);
    }
    m_toolBar->setWindowTitle(st.translate(QStringLiteral("Tool bar")));
}

void MainWindow::rebuildLanguagesMenu()
{
    // The entry that was chosen may be the sender of the signal that brought us here: the old
    // entries go once control is back in the event loop, nameless so that nothing finds them.
    for (QAction* old : m_languagesMenu->actions()) {
        m_languagesMenu->removeAction(old);
        old->setObjectName(QString());
        old->deleteLater();
    }
    const QString current = LanguageFile::fileNameOf(stitch().DefaultLanguage);
    for (const LanguageEntry& language : ReadLanguages(stitch())) {
        QAction* a = m_languagesMenu->addAction(language.caption);
        a->setObjectName(QStringLiteral("Language_") + language.caption);
        a->setStatusTip(language.fileName);
        a->setToolTip(language.caption);
        a->setCheckable(true);
        a->setChecked(language.fileName == current);
        const QString fileName = language.fileName;
        connect(a, &QAction::triggered, this, [this, fileName] { MenuLanguageClick(fileName); });
    }
    m_languagesMenu->menuAction()->setEnabled(true);
}

bool MainWindow::MenuLanguageClick(const QString& fileName)
{
    try {
        selectLanguage(stitch(), session().settings(), fileName);
    } catch (const QuillError& e) {
        // The language in use stays, and so does every caption.
        showMessage(QMessageBox::Warning, e.translated(stitch()));
        rebuildLanguagesMenu();
        return false;
    }
    translateUi();
    return true;
}

void MainWindow::showAbout()
{
    QMessageBox box(this);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setWindowTitle(Product::kAboutTitle);
    box.setIconPixmap(ToolIcons::icon(ToolIcons::View, style()).pixmap(48, 48));
    box.setText(QStringLiteral("<b>%1</b>").arg(Product::kAboutTitle));
    box.setInformativeText(stitch().translate(QStringLiteral("Version")) + QLatin1Char(' ')
                           + QStringLiteral(QUILLMARK_VERSION));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}
