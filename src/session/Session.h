#pragma once
// The start-up initialisation without its window: settings (with the first run's values),
// the symbol font, the catalogues and the first design. The application runs it when its
// main window is created and again for New and every opening; the command-line tool runs it
// once. Steps that need the window (cursors, view, menus) stay with the window.

#include "core/PatternDocument.h"
#include "core/SettingsStore.h"
#include "core/TStitch.h"

#include <QObject>
#include <QStringList>
#include <memory>

class Session : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString settingsFile; // empty: the user's store
        QString dataDir;      // non-empty: every data folder is the one under it
    };

    explicit Session(const Options& options, QObject* parent = nullptr);
    ~Session() override;

    TStitch& stitch() { return *m_stitch; }
    PatternDocument& document() { return *m_document; }
    SettingsStore& settings() { return *m_settings; }

    // Reads the settings (writing the first run's values when there are none), registers the
    // symbol font and loads the catalogues. Throws QuillError when the application cannot run
    // ("Software was not installed properly. Please reinstall."). Returns the problems that
    // did not stop it (a palette or character-set file skipped, a damaged CMYK table, the font
    // missing).
    QStringList initialise();
    // initialise() followed by the default 50 x 50 design.
    QStringList initialiseWithNewDesign();

    // Writes the settings back (closing the window, after the options dialog).
    bool writeSettings(QString* error = nullptr);

    // Problems found by the last initialise().
    const QStringList& warnings() const { return m_warnings; }

private:
    Options m_options;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<TStitch> m_stitch;
    std::unique_ptr<PatternDocument> m_document;
    QStringList m_warnings;
};
