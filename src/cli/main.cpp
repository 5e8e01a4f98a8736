// quillmark-cli: the headless tool. It runs the same start-up, readers and writers as the
// application, without a window.
#include "CliCommands.h"
#include "BuildConfig.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <unistd.h>

int main(int argc, char** argv)
{
    // Glyphs and pictures need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder; without a desktop session there is none, so make the
    // one it would fall back to (quietly, instead of a warning on every run).
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::tempPath() + QStringLiteral("/runtime-") + QString::number(getuid());
        if (QDir().mkpath(dir)) {
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
        }
    }
    // Pictures with odd colour profiles make libpng talk; the conversion does not need it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.warning=false"));
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("Korvald"));
    QGuiApplication::setApplicationName(QStringLiteral("Quillmark"));
    QGuiApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    return runCli(QCoreApplication::arguments());
}
