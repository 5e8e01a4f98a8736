#include "PageOptions.h"

#include "core/PatternDocument.h"
#include "print/PaperDevice.h"

namespace {

struct Flag
{
    const char* name;
    bool TPrintOptions::*field;
    bool value;
};

const Flag kFlags[] = {
    {"--export", &TPrintOptions::exportMode, true},
    {"--no-inline-border", &TPrintOptions::inlineBorder, false},
    {"--page-numbers", &TPrintOptions::pageNumbers, true},
    {"--grid-numbers", &TPrintOptions::gridNumbers, true},
    {"--backstitches-separate", &TPrintOptions::backStitchesSeparate, true},
    {"--no-legend-size", &TPrintOptions::legendSize, false},
    {"--title-page", &TPrintOptions::title, true},
    {"--no-design", &TPrintOptions::design, false},
    {"--no-legend", &TPrintOptions::legend, false},
    {"--labels", &TPrintOptions::labels, true},
    {"--info", &TPrintOptions::info, true},
    {"--contents", &TPrintOptions::contents, true},
    {"--stitch-steps", &TPrintOptions::stitchList, true},
};

const std::pair<const char*, TPosition> kPositions[] = {
    {"left", pLeft}, {"top", pTop}, {"right", pRight}, {"bottom", pBottom}, {"separate", pSeparate}};

const std::pair<const char*, QPageSize::PageSizeId> kPapers[] = {
    {"a4", QPageSize::A4}, {"a3", QPageSize::A3}, {"letter", QPageSize::Letter}};

bool number(const QString& name, const QString& text, int lo, int hi, std::optional<int>& value,
            QString& error)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < lo || v > hi) {
        error = QStringLiteral("%1 needs a whole number from %2 to %3").arg(name).arg(lo).arg(hi);
        return false;
    }
    value = v;
    return true;
}

} // namespace

QString pageOptionsUsage()
{
    return QStringLiteral(
        "          [--export] [--width N] [--height N] [--grid N]\n"
        "          [--key left|top|right|bottom|separate] [--no-inline-border] [--page-numbers]\n"
        "          [--grid-numbers] [--backstitches-separate] [--no-legend-size] [--title-page]\n"
        "          [--no-design] [--no-legend] [--labels] [--info] [--contents] [--stitch-steps]\n"
        "          [--paper a4|a3|letter] [--landscape]\n");
}

bool parsePageOptions(const QStringList& args, PageOptions& page, QStringList& rest,
                      QString& error)
{
    QString widthText, heightText, gridText;
    bool paperGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool done = false;
        for (const Flag& f : kFlags) {
            if (a == QLatin1String(f.name)) {
                page.options.*f.field = f.value;
                done = true;
            }
        }
        if (a == QLatin1String("--landscape")) {
            page.format = fLandscape;
            paperGiven = true;
            done = true;
        }
        if (done)
            continue;
        const bool valued = a == QLatin1String("--width") || a == QLatin1String("--height")
            || a == QLatin1String("--grid") || a == QLatin1String("--key")
            || a == QLatin1String("--paper");
        if (!valued) {
            rest << a;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = QStringLiteral("option %1 needs a value").arg(a);
            return false;
        }
        const QString v = args[++i];
        if (a == QLatin1String("--width"))
            widthText = v;
        else if (a == QLatin1String("--height"))
            heightText = v;
        else if (a == QLatin1String("--grid"))
            gridText = v;
        else if (a == QLatin1String("--key")) {
            bool known = false;
            for (const auto& [name, pos] : kPositions)
                if (v == QLatin1String(name)) {
                    page.position = pos;
                    known = true;
                }
            if (!known) {
                error = QStringLiteral("--key needs one of left, top, right, bottom, separate");
                return false;
            }
        } else {
            bool known = false;
            for (const auto& [name, id] : kPapers)
                if (v.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
                    page.paper = id;
                    known = true;
                }
            if (!known) {
                error = QStringLiteral("--paper needs one of a4, a3, letter");
                return false;
            }
            paperGiven = true;
        }
    }

    const bool ex = page.options.exportMode;
    if (!ex && (!widthText.isEmpty() || !heightText.isEmpty())) {
        error = QStringLiteral("--width and --height set the size of exported pages: add --export");
        return false;
    }
    if (ex && paperGiven) {
        error = QStringLiteral("--paper and --landscape choose printer pages: leave out --export");
        return false;
    }
    if (!widthText.isEmpty() && !number("--width", widthText, 1, 32767, page.width, error))
        return false;
    if (!heightText.isEmpty() && !number("--height", heightText, 1, 32767, page.height, error))
        return false;
    if (!gridText.isEmpty()
        && !(ex ? number("--grid", gridText, 1, 1000, page.grid, error)
                : number("--grid", gridText, 90, 2010, page.grid, error)))
        return false;
    if (!ex && page.grid)
        page.options.gridX = page.options.gridY = *page.grid;
    // As in the print dialog: the chart alone or the key alone is printed with the key on
    // pages of its own.
    if (page.options.design != page.options.legend)
        page.position = pSeparate;
    return true;
}

PageLayout layoutPages(const PageOptions& page, PatternDocument& doc)
{
    TStitch& st = doc.stitch();
    if (page.width)
        st.print.JPEGWidth = *page.width;
    if (page.height)
        st.print.JPEGHeight = *page.height;
    if (page.options.exportMode && page.grid)
        st.print.JPEGGrid = *page.grid;

    PageLayout l;
    l.keys = buildKeyList(doc);
    sortKeyList(l.keys, st.Colors, doc.colorSortMode());
    if (page.options.stitchList)
        l.steps = buildStitchSteps(doc);
    const TLayoutInput input = layoutInputFor(doc, l.keys, l.steps);
    l.preview.fformat = page.format;
    l.preview.position = page.position;
    l.preview.imagewidth = doc.width();
    l.preview.imageheight = doc.height();
    if (!page.options.exportMode)
        l.preview.setPrinterMetrics(paperDevice(page.paper, page.format, page.dpi), page.options,
                                    input);
    l.fitted = l.preview.calc(page.options, input);
    return l;
}
