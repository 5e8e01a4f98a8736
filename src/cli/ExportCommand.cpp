// quillmark-cli export: the pages of a design written as the print dialog's export writes
// them, as numbered pictures in a folder or as one PDF file.
#include "ExportCommand.h"

#include "CliCommands.h"
#include "PageOptions.h"
#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "files/DesignFile.h"
#include "print/PrintJob.h"
#include "session/Session.h"

#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

int commandExport(Session& session, const QStringList& args)
{
    // The type decides how the pages are laid out, so it is read first.
    QStringList pageArgs;
    QString output, typeName;
    bool overwrite = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("-o") || a == QLatin1String("--type")) {
            if (i + 1 >= args.size())
                return cliUsageError(QStringLiteral("option %1 needs a value").arg(a));
            (a == QLatin1String("-o") ? output : typeName) = args[++i];
        } else if (a == QLatin1String("--overwrite")) {
            overwrite = true;
        } else {
            pageArgs << a;
        }
    }
    if (output.isEmpty())
        return cliUsageError(QStringLiteral("export needs -o PATH"));
    TExportType type = output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? etPDF : etJPEG;
    if (!typeName.isEmpty() && !exportTypeFromName(typeName, type))
        return cliUsageError(QStringLiteral("--type needs one of jpeg, bmp, png, pdf"));

    PageOptions page;
    // Pictures are always export pages; a PDF has printer pages unless --export asks otherwise.
    if (type != etPDF) {
        if (pageArgs.contains(QStringLiteral("--paper")) || pageArgs.contains(QStringLiteral("--landscape")))
            return cliUsageError(QStringLiteral("--paper and --landscape choose the pages of a PDF"));
        page.options.exportMode = true;
    }
    QStringList rest;
    QString error;
    if (!parsePageOptions(pageArgs, page, rest, error))
        return cliUsageError(error);
    for (const QString& a : rest)
        if (a.startsWith(QLatin1Char('-')))
            return cliUsageError(QStringLiteral("unknown option %1").arg(a));
    if (rest.size() != 1)
        return cliUsageError(rest.isEmpty() ? QStringLiteral("export needs a design file")
                                            : QStringLiteral("unexpected argument %1").arg(rest.at(1)));
    const QString design = rest.first();

    cliInitialise(session);
    PatternDocument& doc = session.document();
    TStitch& st = doc.stitch();
    openDesignFile(doc, design);
    PageLayout l = layoutPages(page, doc);
    QTextStream err(stderr);
    if (!l.fitted)
        err << "quillmark-cli: " << st.translate(TPreview::kTooManyColorsMessage) << "\n";
    err.flush();

    TExportRequest request;
    request.type = type;
    request.path = output;
    request.fileName = defaultExportFileName(design, type);
    request.quality = st.print.JPEGQuality;
    request.overwrite = overwrite;
    request.title = QFileInfo(design).fileName();
    PrintJob job({doc, st, l.preview, page.options, l.keys, l.steps});
    QStringList written;
    try {
        written = exportPages(job, request);
    } catch (const QuillError& e) {
        // The message in the current language, with its arguments put in after translation.
        throw QuillError(e.translated(st));
    }
    QTextStream out(stdout);
    for (const QString& f : written)
        out << f << "\n";
    out.flush();
    return 0;
}
