#include "CliCommands.h"
#include "BuildConfig.h"
#include "ExportCommand.h"
#include "LayoutCommand.h"
#include "PageOptions.h"

#include "convert/Dithering.h"
#include "convert/PictureConversion.h"
#include "core/QuillError.h"
#include "files/DesignFile.h"
#include "session/DesignSummary.h"
#include "session/Session.h"
#include "view/GhostOverlay.h"

#include <QJsonDocument>
#include <QTextStream>
#include <cstdio>
#include <future>

namespace {

const char* kUsage =
    "Usage: quillmark-cli [--data DIR] [--settings FILE] COMMAND [ARGS]\n"
    "\n"
    "Global options (before the command):\n"
    "  --data DIR        use the data folders under DIR (palettes/, characters/, fonts/ ...)\n"
    "  --settings FILE   use this settings file (made with the first-run values when missing)\n"
    "  --help            show this help\n"
    "  --version         show the version\n"
    "\n"
    "Commands:\n"
    "  new [-o OUT] --width W --height H [--palette NAME] [--characters NAME]\n"
    "                    make a new empty design; write it to OUT as a native design file\n"
    "                    (.qvxp), or print its summary without -o\n"
    "  save-as DESIGN -o OUT\n"
    "                    open DESIGN (.qvxp, .qvx or .stv) as the application does and write it\n"
    "                    to OUT as a native design file; a ghost picture beside DESIGN\n"
    "                    (same name, .png) is written beside OUT\n"
    "  info DESIGN [--cells]\n"
    "                    open DESIGN as the application does and print it as one JSON object;\n"
    "                    --cells adds the cells and quarters, row by row\n"
    "  convert PICTURE -o OUT [--size N] [--palette NAME] [--characters NAME] [--colors N]\n"
    "          [--dither none|floyd-steinberg|jarvis-judice-ninke|stucki|sierra-lite]\n"
    "          [--level 0..100] [--brightness B] [--contrast C] [--crop L,T,R,B]\n"
    "                    turn a picture (PNG, JPEG, BMP, TIFF, ICO) into a design as the\n"
    "                    conversion wizard does (defaults: size 100, 500 colours, no dithering,\n"
    "                    brightness 0, contrast 100, the whole picture) and write it to OUT\n"
    "                    with the adjusted picture beside it as its ghost picture (.png)\n"
    "  layout DESIGN [page options]\n"
    "                    lay DESIGN out on pages as the print dialog does and print the page\n"
    "                    table as one JSON object: printer pages (A4 portrait at 300 dpi\n"
    "                    unless --paper or --landscape), or with --export the picture pages of\n"
    "                    the export settings (--width, --height, --grid override them)\n"
    "  export DESIGN -o PATH [--type jpeg|bmp|png|pdf] [--overwrite] [page options]\n"
    "                    write the pages as the print dialog's export does and print the\n"
    "                    files written, one per line: pictures (jpeg unless PATH ends in .pdf)\n"
    "                    into the folder PATH, named after DESIGN with the page number\n"
    "                    (Girl_01.jpeg ...), on the export pages of `layout --export`; or one\n"
    "                    PDF file PATH on printer pages (as `layout`; export-sized pages with\n"
    "                    --export). An existing file is replaced only with --overwrite\n"
    "\n"
    "Page options:\n"
    "%PAGEOPTIONS%"
    "\n"
    "Exit status: 0 success, 1 wrong usage, 2 unreadable input or a failed write (one line on\n"
    "stderr; nothing is written then).\n";

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}
QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

int usageError(const QString& message)
{
    err() << "quillmark-cli: " << message << "\n" << "Try 'quillmark-cli --help'.\n";
    err().flush();
    return 1;
}

// Options of a command: "--name value" pairs.
struct CommandOptions
{
    QMap<QString, QString> values;
    QStringList positional;
};

// `flags` are options without a value; they are stored with an empty value.
bool parseOptions(const QStringList& args, const QStringList& known, CommandOptions& opts,
                  QString& error, const QStringList& flags = {})
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a.startsWith(QLatin1String("-")) && flags.contains(a)) {
            opts.values.insert(a, QString());
        } else if (a.startsWith(QLatin1String("-"))) {
            if (!known.contains(a)) {
                error = QStringLiteral("unknown option %1").arg(a);
                return false;
            }
            if (i + 1 >= args.size()) {
                error = QStringLiteral("option %1 needs a value").arg(a);
                return false;
            }
            opts.values.insert(a, args[++i]);
        } else {
            opts.positional << a;
        }
    }
    return true;
}

bool parseSize(const QString& text, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 1 && value <= 32767;
}

// A few lines a person reads: what the design is made of.
void printSummary(const PatternDocument& doc)
{
    const TStitch& st = doc.stitch();
    out() << "Design: " << doc.width() << " x " << doc.height() << " cells\n"
          << "Palette: " << st.fcolorsName << " (" << st.Colors.size() << " colours)\n"
          << "Characters: " << st.chars.CharsName << " (" << st.chars.fcharacters.size()
          << " symbols, font " << st.chars.ffontname << ")\n"
          << "Background: " << colorKeyText(pixelToKey(st.BackGroundColor)) << "\n"
          << "Title: " << st.Title << "\n"
          << "Colours used: " << st.fUsedColors << "\n";
    out().flush();
}

// The start-up initialisation; problems that did not stop it go to stderr.
void initialise(Session& session)
{
    session.initialise();
    for (const QString& w : session.warnings())
        err() << "quillmark-cli: " << w << "\n";
    err().flush();
}

// The one design file a command opens: its only positional argument.
bool designArgument(const CommandOptions& opts, const QString& command, QString& path,
                    QString& error)
{
    if (opts.positional.size() != 1) {
        error = opts.positional.isEmpty()
            ? QStringLiteral("%1 needs a design file").arg(command)
            : QStringLiteral("unexpected argument %1").arg(opts.positional.at(1));
        return false;
    }
    path = opts.positional.first();
    return true;
}

int commandNew(Session& session, const QStringList& args)
{
    CommandOptions opts;
    QString error;
    if (!parseOptions(args, {"--width", "--height", "--palette", "--characters", "-o"}, opts, error))
        return usageError(error);
    if (!opts.positional.isEmpty())
        return usageError(QStringLiteral("unexpected argument %1").arg(opts.positional.first()));
    int width = 0, height = 0;
    if (!opts.values.contains("--width") || !parseSize(opts.values["--width"], width))
        return usageError(QStringLiteral("new needs --width from 1 to 32767"));
    if (!opts.values.contains("--height") || !parseSize(opts.values["--height"], height))
        return usageError(QStringLiteral("new needs --height from 1 to 32767"));

    const QString output = opts.values.value("-o");
    if (opts.values.contains("-o") && output.isEmpty())
        return usageError(QStringLiteral("-o needs a file name"));

    initialise(session);
    TStitch& st = session.stitch();
    const QString palette = opts.values.value("--palette", st.defaultPalette);
    const QString characters = opts.values.value("--characters", st.defaultCharacters);
    if (!st.ColorPalettes.contains(palette))
        throw QuillError(QStringLiteral("unknown palette \"%1\"").arg(palette));
    if (!st.characters.contains(characters))
        throw QuillError(QStringLiteral("unknown character set \"%1\"").arg(characters));
    session.document().CreateNewTemplate(width, height, characters, palette);
    if (output.isEmpty())
        printSummary(session.document());
    else
        saveDesignFile(session.document(), output);
    return 0;
}

int commandSaveAs(Session& session, const QStringList& args)
{
    CommandOptions opts;
    QString error, input;
    if (!parseOptions(args, {"-o"}, opts, error) || !designArgument(opts, "save-as", input, error))
        return usageError(error);
    const QString output = opts.values.value("-o");
    if (output.isEmpty())
        return usageError(QStringLiteral("save-as needs -o OUT"));

    initialise(session);
    GhostPicture ghost;
    openDesignFile(session.document(), input, &ghost);
    saveDesignFile(session.document(), output, &ghost);
    return 0;
}

int commandInfo(Session& session, const QStringList& args)
{
    CommandOptions opts;
    QString error, input;
    if (!parseOptions(args, {}, opts, error, {"--cells"}) || !designArgument(opts, "info", input, error))
        return usageError(error);

    initialise(session);
    openDesignFile(session.document(), input);
    const QJsonObject summary = designSummary(session.document(), opts.values.contains("--cells"));
    out() << QJsonDocument(summary).toJson(QJsonDocument::Indented);
    out().flush();
    return 0;
}

// An integer option within a range, or the default when absent.
bool intOption(const CommandOptions& opts, const QString& name, int lo, int hi, int& value,
               QString& error)
{
    if (!opts.values.contains(name))
        return true;
    bool ok = false;
    value = opts.values.value(name).toInt(&ok);
    if (!ok || value < lo || value > hi) {
        error = QStringLiteral("%1 needs a whole number from %2 to %3").arg(name).arg(lo).arg(hi);
        return false;
    }
    return true;
}

// "--crop L,T,R,B" in picture pixels.
bool cropOption(const CommandOptions& opts, QRectF& crop, QString& error)
{
    if (!opts.values.contains("--crop"))
        return true;
    const QStringList parts = opts.values.value("--crop").split(QLatin1Char(','));
    QList<int> v;
    for (const QString& p : parts) {
        bool ok = false;
        v << p.trimmed().toInt(&ok);
        if (!ok)
            break;
    }
    if (parts.size() != 4 || v.size() != 4 || v[0] < 0 || v[1] < 0 || v[2] <= v[0] || v[3] <= v[1]) {
        error = QStringLiteral("--crop needs L,T,R,B with L < R and T < B");
        return false;
    }
    crop = QRectF(QPointF(v[0], v[1]), QPointF(v[2], v[3]));
    return true;
}

// The wizard's pipeline with its defaults, ending as "Finish" does, then saved with its ghost
// picture beside the design.
int commandConvert(Session& session, const QStringList& args)
{
    CommandOptions opts;
    QString error, input;
    const QStringList known{"-o", "--size", "--palette", "--characters", "--colors", "--dither",
                            "--level", "--brightness", "--contrast", "--crop"};
    if (!parseOptions(args, known, opts, error))
        return usageError(error);
    if (opts.positional.size() != 1)
        return usageError(opts.positional.isEmpty() ? QStringLiteral("convert needs a picture")
                                                    : QStringLiteral("unexpected argument %1").arg(opts.positional.at(1)));
    input = opts.positional.first();
    const QString output = opts.values.value("-o");
    if (output.isEmpty())
        return usageError(QStringLiteral("convert needs -o OUT"));

    ConversionSettings settings;
    if (!intOption(opts, "--size", 2, 32767, settings.size, error)
        || !intOption(opts, "--colors", 1, 32767, settings.colors, error)
        || !intOption(opts, "--level", 0, 100, settings.level, error)
        || !intOption(opts, "--brightness", -255, 255, settings.brightness, error)
        || !intOption(opts, "--contrast", 0, 255, settings.contrast, error)
        || !cropOption(opts, settings.crop, error))
        return usageError(error);
    if (opts.values.contains("--dither")) {
        const auto method = ditherMethodFromName(opts.values.value("--dither"));
        if (!method)
            return usageError(QStringLiteral("--dither needs one of %1").arg(ditherMethodNames().join(", ")));
        settings.dither = *method;
    }
    settings.palette = opts.values.value("--palette");
    settings.characters = opts.values.value("--characters");
    settings.sourcePath = input;

    initialise(session);
    // The ghost picture as "Finish" leaves it in the window, encoded on a second thread while
    // the colours are worked out.
    GhostPicture ghost;
    std::future<QByteArray> ghostPng;
    convertPictureFile(input, settings, session.document(), ghost, [&](const GhostPicture& made) {
        ghostPng = std::async(std::launch::async, [picture = made.ghostPicture] {
            return encodeGhostPicture(picture);
        });
    });
    saveDesignFile(session.document(), output, &ghost, ghostPng.valid() ? ghostPng.get() : QByteArray());
    printSummary(session.document());
    return 0;
}

} // namespace

int cliUsageError(const QString& message)
{
    return usageError(message);
}

void cliInitialise(Session& session)
{
    initialise(session);
}

int runCli(const QStringList& arguments)
{
    Session::Options options;
    int i = 1;
    for (; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out() << QString::fromLatin1(kUsage).replace(QLatin1String("%PAGEOPTIONS%"),
                                                         pageOptionsUsage());
            return 0;
        }
        if (a == QLatin1String("--version")) {
            out() << "quillmark-cli " << QUILLMARK_VERSION << "\n";
            return 0;
        }
        if (a == QLatin1String("--data") || a == QLatin1String("--settings")) {
            if (i + 1 >= arguments.size())
                return usageError(QStringLiteral("option %1 needs a value").arg(a));
            (a == QLatin1String("--data") ? options.dataDir : options.settingsFile) = arguments[++i];
            continue;
        }
        break;
    }
    if (i >= arguments.size())
        return usageError(QStringLiteral("no command given"));
    const QString command = arguments[i];
    const QStringList rest = arguments.mid(i + 1);

    try {
        Session session(options);
        if (command == QLatin1String("convert"))
            return commandConvert(session, rest);
        if (command == QLatin1String("new"))
            return commandNew(session, rest);
        if (command == QLatin1String("save-as"))
            return commandSaveAs(session, rest);
        if (command == QLatin1String("info"))
            return commandInfo(session, rest);
        if (command == QLatin1String("layout"))
            return commandLayout(session, rest);
        if (command == QLatin1String("export"))
            return commandExport(session, rest);
        return usageError(QStringLiteral("unknown command %1").arg(command));
    } catch (const QuillError& e) {
        err() << "quillmark-cli: " << e.message() << "\n";
        err().flush();
        return 2;
    }
}
