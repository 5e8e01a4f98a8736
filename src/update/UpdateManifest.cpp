#include "UpdateManifest.h"

#include "UpdateNames.h"
#include "XmlTree.h"
#include "core/QuillError.h"
#include "core/TStitch.h"
#include "palettes/PaletteFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QXmlStreamWriter>

namespace {

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

void checkHelpPage(const QByteArray& bytes, const QString& path)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError() || text.contains(QChar(0)))
        throw QuillError(QStringLiteral("The help page %1 is not UTF-8 text."), {shown(path)});
    QString start = text.trimmed().left(64).toLower();
    if (start.startsWith(QChar(0xFEFF)))
        start.remove(0, 1);
    if (!start.startsWith(QStringLiteral("<!doctype html")) && !start.startsWith(QStringLiteral("<html")))
        throw QuillError(QStringLiteral("The help page %1 is not an HTML document."), {shown(path)});
}

} // namespace

QString pendingUpdatesFolder(const TStitch& stitch)
{
    if (stitch.PathData.isEmpty())
        return {};
    return QDir::cleanPath(stitch.PathData) + QStringLiteral("/updates/");
}

QString pendingManifestPath(const TStitch& stitch)
{
    const QString folder = pendingUpdatesFolder(stitch);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("updates.xml");
}

QString installedVersionsPath(const TStitch& stitch)
{
    if (stitch.PathData.isEmpty())
        return {};
    return QDir::cleanPath(stitch.PathData) + QStringLiteral("/CurrentVersion.xml");
}

QString updateDestination(const TStitch& stitch, const TVersionInfo& item)
{
    if (!isPlainUpdateFileName(item.Filename, item.updateType))
        return {};
    switch (item.updateType) {
    case utPalette:
        return fileInFolder(stitch.PalettesPath, item.Filename);
    case utHelp:
        if (!isPlainLanguageName(item.Name) || stitch.HelpPath.isEmpty())
            return {};
        return fileInFolder(fileInFolder(stitch.HelpPath, item.Name) + u'/', item.Filename);
    case utProgram:
        break;
    }
    return {};
}

void checkUpdateFile(const QString& path, const TVersionInfo& item)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw QuillError(QStringLiteral("Cannot read the update file %1: %2"),
                         {shown(path), file.errorString()});
    if (file.size() > kMaxUpdateFileBytes)
        throw QuillError(QStringLiteral("The update file %1 is larger than %2 bytes."),
                         {shown(path), QString::number(kMaxUpdateFileBytes)});
    const QByteArray bytes = file.read(kMaxUpdateFileBytes + 1);
    if (bytes.size() > kMaxUpdateFileBytes)
        throw QuillError(QStringLiteral("The update file %1 is larger than %2 bytes."),
                         {shown(path), QString::number(kMaxUpdateFileBytes)});
    file.close();
    switch (item.updateType) {
    case utPalette: {
        const PaletteFileData palette = loadpalette(path);
        if (palette.name.trimmed().isEmpty() || palette.colors.isEmpty())
            throw QuillError(QStringLiteral("The palette %1 has no name or no colours."), {shown(path)});
        break;
    }
    case utHelp:
        checkHelpPage(bytes, path);
        break;
    case utProgram:
        throw QuillError(QStringLiteral("Programs are not installed by the update check (%1)."),
                         {shown(path)});
    }
}

QByteArray sha256Hex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray manifestBytes(const QList<PendingUpdate>& updates)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument(QStringLiteral("1.0"));
    xml.writeStartElement(QStringLiteral("TVLVersion"));
    for (const TUpdateType type : {utHelp, utPalette}) {
        const bool help = type == utHelp;
        xml.writeStartElement(help ? QStringLiteral("Helps") : QStringLiteral("Palettes"));
        for (const PendingUpdate& u : updates) {
            if (u.item.updateType != type)
                continue;
            xml.writeStartElement(help ? QStringLiteral("Help") : QStringLiteral("Palette"));
            xml.writeAttribute(help ? QStringLiteral("Language") : QStringLiteral("Name"), u.item.Name);
            xml.writeAttribute(QStringLiteral("Major"), QString::number(u.item.Major));
            xml.writeAttribute(QStringLiteral("Minor"), QString::number(u.item.Minor));
            xml.writeAttribute(QStringLiteral("Release"), QString::number(u.item.Release));
            xml.writeAttribute(QStringLiteral("Source"), u.source);
            xml.writeAttribute(QStringLiteral("Destination"), u.destination);
            xml.writeAttribute(QStringLiteral("Sha256"), QString::fromLatin1(u.sha256));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QList<PendingUpdate> readManifest(const QByteArray& bytes, const QString& source)
{
    XmlLimits limits;
    limits.maxBytes = 1 << 20;
    limits.maxElements = 2 * kMaxPendingUpdates + 8;
    const XmlNode root = readXmlTree(bytes, source, limits);
    QList<PendingUpdate> updates;
    for (const TUpdateType type : {utHelp, utPalette}) {
        const bool help = type == utHelp;
        const XmlNode* list = root.child(help ? QStringLiteral("Helps") : QStringLiteral("Palettes"));
        if (!list)
            continue;
        for (const XmlNode& node : list->children) {
            PendingUpdate u;
            u.item.updateType = type;
            u.item.Name = node.attribute(help ? QStringLiteral("Language") : QStringLiteral("Name"));
            u.item.Major = decimalAttribute(node, QStringLiteral("Major"), source);
            u.item.Minor = decimalAttribute(node, QStringLiteral("Minor"), source);
            u.item.Release = decimalAttribute(node, QStringLiteral("Release"), source);
            u.source = node.attribute(QStringLiteral("Source"));
            u.destination = node.attribute(QStringLiteral("Destination"));
            u.item.Filename = QFileInfo(u.destination).fileName();
            u.sha256 = node.attribute(QStringLiteral("Sha256")).toLatin1();
            updates << u;
        }
    }
    if (updates.size() > kMaxPendingUpdates)
        throw QuillError(QStringLiteral("The file %1 lists more than %2 items under \"%3\"."),
                         {shown(source), QString::number(kMaxPendingUpdates), root.name});
    return updates;
}
