// quillmark-cli: the headless tool. It runs the same start-up, readers and writers as the
// application, without a window.
#include "CliCommands.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    // Glyphs and pictures need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("Korvald"));
    QGuiApplication::setApplicationName(QStringLiteral("Quillmark"));
    QGuiApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    return runCli(QCoreApplication::arguments());
}
