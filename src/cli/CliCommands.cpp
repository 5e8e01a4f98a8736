#include "CliCommands.h"

#include "core/QuillError.h"
#include "session/DesignSummary.h"
#include "session/Session.h"

#include <QJsonDocument>
#include <QTextStream>
#include <cstdio>

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
    "  new --width W --height H [--palette NAME] [--characters NAME]\n"
    "                    make a new empty design and print its summary\n";

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

bool parseOptions(const QStringList& args, const QStringList& known, CommandOptions& opts,
                  QString& error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a.startsWith(QLatin1String("-"))) {
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

int commandNew(Session& session, const QStringList& args)
{
    CommandOptions opts;
    QString error;
    if (!parseOptions(args, {"--width", "--height", "--palette", "--characters"}, opts, error))
        return usageError(error);
    if (!opts.positional.isEmpty())
        return usageError(QStringLiteral("unexpected argument %1").arg(opts.positional.first()));
    int width = 0, height = 0;
    if (!opts.values.contains("--width") || !parseSize(opts.values["--width"], width))
        return usageError(QStringLiteral("new needs --width from 1 to 32767"));
    if (!opts.values.contains("--height") || !parseSize(opts.values["--height"], height))
        return usageError(QStringLiteral("new needs --height from 1 to 32767"));

    session.initialise();
    TStitch& st = session.stitch();
    const QString palette = opts.values.value("--palette", st.defaultPalette);
    const QString characters = opts.values.value("--characters", st.defaultCharacters);
    if (!st.ColorPalettes.contains(palette))
        throw QuillError(QStringLiteral("unknown palette \"%1\"").arg(palette));
    if (!st.characters.contains(characters))
        throw QuillError(QStringLiteral("unknown character set \"%1\"").arg(characters));
    session.document().CreateNewTemplate(width, height, characters, palette);
    printSummary(session.document());
    return 0;
}

} // namespace

int runCli(const QStringList& arguments)
{
    Session::Options options;
    int i = 1;
    for (; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out() << kUsage;
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
        for (const QString& w : session.warnings())
            err() << "quillmark-cli: " << w << "\n";
        if (command == QLatin1String("new"))
            return commandNew(session, rest);
        return usageError(QStringLiteral("unknown command %1").arg(command));
    } catch (const QuillError& e) {
        err() << "quillmark-cli: " << e.message() << "\n";
        err().flush();
        return 2;
    }
}
