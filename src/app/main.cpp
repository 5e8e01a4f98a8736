// Program start: the application object, the main window (which runs the start-up
// initialisation) and the event loop.
#include "MainWindow.h"
#include "BuildConfig.h"

#include "core/Product.h"
#include "core/QuillError.h"
#include "i18n/ui/Retranslate.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace {

const char* kUsage =
    "Usage: quillmark [--settings FILE] [--data DIR] [DESIGN]\n"
    "  --settings FILE   use this settings file (made with the first-run values when missing)\n"
    "  --data DIR        use the data folders under DIR (palettes/, characters/, fonts/ ...)\n"
    "  DESIGN            a design file to open\n";

// --help and --version answer before the application object exists, so that they work
// without a display (a package's test, a shell on a server). They count anywhere on the
// command line, except as the value of --settings or --data before the design's name.
int answerWithoutDisplay(int argc, char** argv)
{
    bool designNamed = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--version") {
            std::printf("quillmark %s\n", QUILLMARK_VERSION);
            return 0;
        }
        if (!designNamed && (a == "--settings" || a == "--data"))
            ++i;
        else
            designNamed = true;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int status = answerWithoutDisplay(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvald"));
    QApplication::setApplicationName(Product::kProductName);
    QApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));

    Session::Options options;
    QString fileArgument;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (fileArgument.isEmpty()
            && (a == QLatin1String("--settings") || a == QLatin1String("--data"))) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "quillmark: option %s needs a value\n%s", qPrintable(a),
                             kUsage);
                return 1;
            }
            (a == QLatin1String("--data") ? options.dataDir : options.settingsFile) = args[++i];
            continue;
        }
        // The first other argument names the design; anything after it is ignored.
        if (fileArgument.isEmpty())
            fileArgument = a;
    }

    std::unique_ptr<MainWindow> window;
    try {
        window = std::make_unique<MainWindow>(options, fileArgument);
    } catch (const QuillError& e) {
        QMessageBox::critical(nullptr, Product::kAboutTitle, e.message());
        return 1;
    }
    window->show();
    window->activateWindow();

    // Start-up problems that did not stop the program, once, after the window is up.
    const QStringList messages = window->startupMessages();
    if (!messages.isEmpty())
        QTimer::singleShot(0, window.get(), [w = window.get(), messages] {
            showMessageBox(w, QMessageBox::Warning, Product::kAboutTitle, messages.join(QLatin1Char('\n')),
                           w->stitch());
        });
    return app.exec();
}
