#include "Session.h"
#include "UserLibrary.h"

#include "PendingUpdates.h"
#include "core/DataPaths.h"
#include "core/Product.h"
#include "core/QuillError.h"
#include "core/SymbolFont.h"
#include "files/RhodesFile.h"
#include "i18n/LanguageFile.h"
#include "palettes/CharacterSetFile.h"
#include "palettes/CmykTable.h"
#include "palettes/PaletteFile.h"

#include <QDir>
#include <QFileInfo>

Session::Session(const Options& options, QObject* parent)
    : QObject(parent), m_options(options)
{
    m_settings = options.settingsFile.isEmpty()
        ? std::make_unique<SettingsStore>()
        : std::make_unique<SettingsStore>(options.settingsFile);
    m_stitch = std::make_unique<TStitch>();
    m_document = std::make_unique<PatternDocument>(*m_stitch);
}

Session::~Session() = default;

QStringList Session::initialise()
{
    m_warnings.clear();
    TStitch& st = *m_stitch;
    PatternDocument& doc = *m_document;

    // The design and its state start afresh; settings and catalogues are read again.
    doc.KnittingMode = false;
    st.updateCheckDue = false;
    st.setFileSaved(false);

    // Without an installer the first start writes the installer's values itself.
    const bool firstRun = !m_settings->keyExists();
    if (firstRun)
        writeInstallerValues(*m_settings, m_options.dataDir.isEmpty() ? findShippedDataDir()
                                                                      : m_options.dataDir);
    st.ReadGeneralSettings(*m_settings);
    // The first start also gives the user a library of their own, a copy of the shipped one.
    if (firstRun && m_options.dataDir.isEmpty() && m_settings->keyExists()) {
        const QString library = installUserLibrary(st.libraryPath, st.PathData);
        if (!library.isEmpty()) {
            st.libraryPath = library;
            m_settings->writeString(QStringLiteral("LibraryPath"), library);
            m_settings->sync();
        }
    }
    if (!m_options.dataDir.isEmpty())
        applyDataDirOverride(st, m_options.dataDir);
    // Help pages and palettes downloaded by the update check go into the data folders before
    // anything is read from them; what happens goes to the update log, never to a dialog.
    applyPendingUpdates(st);
    // The language comes before any text is shown; when it cannot be loaded the texts stay
    // as the table had them (English at the first start) and the problem is reported.
    // English is the keys themselves: without its file the program still speaks it.
    const QString language = LanguageFile::fileNameOf(
        st.DefaultLanguage.isEmpty() ? QString::fromLatin1(LanguageFile::kKeyFile) : st.DefaultLanguage);
    try {
        selectLanguage(st, *m_settings, language);
    } catch (const QuillError& e) {
        const bool english = language == QLatin1String(LanguageFile::kKeyFile);
        if (!english || QFileInfo::exists(st.LanguagesPath + language))
            m_warnings << e.translated(st);
    }
    const QString problem = checkDataFolders(st);
    if (!problem.isEmpty())
        throw QuillError(problem);

    // The symbol font is registered before any glyph is drawn, so that even the first
    // design's symbols come from it.
    const QString fontFile = st.FontsPath + Product::kSymbolFontFile;
    if (registerSymbolFontFile(fontFile).isEmpty())
        m_warnings << st.translate(QStringLiteral("Could not isntall font.")) + QStringLiteral(" (")
                + QDir::toNativeSeparators(fontFile) + QLatin1Char(')');

    doc.SetCellWidthAndHeight(Product::kStartZoom);

    QStringList errors;
    // The CMYK table is read anew with the other catalogues, before the palettes.
    loadCmykTable(st, &errors);
    loadPalettes(st, &errors);
    loadCharacterSets(st, &errors);
    m_warnings << errors;
    // The Rhodes catalogue; a damaged file is reported and leaves the shipped definitions.
    m_warnings << RhodesFile::loadRhodes(st);
    if (st.ColorPalettes.isEmpty())
        throw QuillError(QStringLiteral("No palette could be read from %1"),
                         {QDir::toNativeSeparators(st.PalettesPath)});
    if (st.characters.isEmpty())
        throw QuillError(QStringLiteral("No character set could be read from %1"),
                         {QDir::toNativeSeparators(st.CharactersPath)});
    return m_warnings;
}

QStringList Session::initialiseWithNewDesign()
{
    initialise();
    TStitch& st = *m_stitch;
    m_document->CreateNewTemplate(Product::kDefaultDesignSize, Product::kDefaultDesignSize,
                                  st.defaultCharacters, st.defaultPalette);
    st.setFileSaved(true);
    return m_warnings;
}

bool Session::writeSettings(QString* error)
{
    try {
        m_stitch->WriteGeneralSettings(*m_settings); // writes through to the file
    } catch (const QuillError& e) {
        if (error)
            *error = e.translated(*m_stitch);
        return false;
    }
    return true;
}
