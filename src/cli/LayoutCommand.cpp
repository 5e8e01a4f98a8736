#include "LayoutCommand.h"

#include "CliCommands.h"
#include "PageOptions.h"
#include "files/DesignFile.h"
#include "session/Session.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>
#include <cstdio>

QJsonObject layoutJson(const TPreview& p)
{
    QJsonObject metrics{
        {"pagewidth", p.pagewidth},
        {"pageheight", p.pageheight},
        {"pagewidthReal", p.pagewidthReal},
        {"pageheightReal", p.pageheightReal},
        {"gridWidthPx", p.gridWidthPx},
        {"gridHeightPx", p.gridHeightPx},
        {"borderPX", p.borderPX},
        {"keyWidthPx", p.keyWidthPx},
        {"keyHeightPx", p.keyHeightPx},
        {"titleHeightPx", p.titleHeightPx},
        {"CommentHeightPX", p.CommentHeightPX},
        {"LegendDistance", p.LegendDistance},
        {"inlineBorderPX",
         QJsonObject{{"Left", p.borderLeftPx()},
                     {"Top", p.borderTopPx()},
                     {"Right", p.borderRightPx()},
                     {"Bottom", p.borderBottomPx()}}},
        {"mmPx", p.mmPx},
    };
    QJsonArray pages;
    for (const auto& [pos, page] : p.pages) {
        pages.append(QJsonObject{
            {"col", pos.col},
            {"row", pos.row},
            {"PrintStitches", printStitchesName(page.PrintStitches)},
            {"pageNum", page.pageNum},
            {"keysOnly", page.keysOnly},
            {"hasKeys", page.hasKeys},
            {"isLeft", page.isLeft},
            {"isTop", page.isTop},
            {"xOffcetPx", page.xOffcetPx},
            {"yOffcetPx", page.yOffcetPx},
            {"cellsX", page.cellsX},
            {"cellsY", page.cellsY},
            {"cellXFirst", page.cellXFirst},
            {"cellXLast", page.cellXLast},
            {"cellYFirst", page.cellYFirst},
            {"cellYLast", page.cellYLast},
            {"keyOffset", page.keyOffset},
            {"keycount", page.keycount},
            {"keycols", page.keycols},
            {"keyFirst", page.keyFirst},
            {"KeyRestart", page.KeyRestart},
        });
    }
    return QJsonObject{
        {"hpages", p.hpages},
        {"vpages", p.vpages},
        {"pageNumber", p.pageNumber},
        {"position", positionName(p.position)},
        {"metrics", metrics},
        {"pages", pages},
    };
}

int commandLayout(Session& session, const QStringList& args)
{
    PageOptions page;
    QStringList rest;
    QString error;
    if (!parsePageOptions(args, page, rest, error))
        return cliUsageError(error);
    for (const QString& a : rest)
        if (a.startsWith(QLatin1Char('-')))
            return cliUsageError(QStringLiteral("unknown option %1").arg(a));
    if (rest.size() != 1)
        return cliUsageError(rest.isEmpty() ? QStringLiteral("layout needs a design file")
                                            : QStringLiteral("unexpected argument %1").arg(rest.at(1)));

    cliInitialise(session);
    openDesignFile(session.document(), rest.first());
    const PageLayout l = layoutPages(page, session.document());
    QTextStream err(stderr);
    if (!l.fitted)
        err << "quillmark-cli: " << session.stitch().translate(TPreview::kTooManyColorsMessage)
            << "\n";
    err.flush();
    QTextStream out(stdout);
    out << QJsonDocument(layoutJson(l.preview)).toJson(QJsonDocument::Indented);
    out.flush();
    return 0;
}
