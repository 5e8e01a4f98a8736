#include "UpdateCatalogue.h"

#include "UpdateNames.h"
#include "XmlTree.h"
#include "core/Product.h"
#include "core/QuillError.h"

#include <QDir>
#include <QXmlStreamWriter>

namespace {

XmlLimits catalogueLimits()
{
    XmlLimits limits;
    limits.maxBytes = kMaxCatalogueBytes;
    limits.maxElements = 4 * kMaxCatalogueItems;
    return limits;
}

QString shown(const QString& source)
{
    return source.contains(QStringLiteral("://")) ? source : QDir::toNativeSeparators(source);
}

void readVersion(const XmlNode& node, TVersionInfo* item, const QString& source)
{
    item->Major = decimalAttribute(node, QStringLiteral("Major"), source);
    item->Minor = decimalAttribute(node, QStringLiteral("Minor"), source);
    item->Release = decimalAttribute(node, QStringLiteral("Release"), source);
}

QString requiredText(const XmlNode& node, const QString& name, const QString& source)
{
    const QString value = node.attribute(name).trimmed();
    if (value.isEmpty())
        throw QuillError(QStringLiteral("The file %1, line %2: the attribute \"%3\" is missing."),
                         {shown(source), QString::number(node.line), name});
    return value;
}

// The items under `list`: at most kMaxCatalogueItems, each with its version, and with the
// name attribute, "URL" and "Filename" when `nameAttribute` is given (help and palettes).
QList<TVersionInfo> readItems(const XmlNode* list, TUpdateType type, const QString& nameAttribute,
                              bool withFile, const QString& source)
{
    QList<TVersionInfo> items;
    if (!list)
        return items;
    if (list->children.size() > kMaxCatalogueItems)
        throw QuillError(QStringLiteral("The file %1 lists more than %2 items under \"%3\"."),
                         {shown(source), QString::number(kMaxCatalogueItems), list->name});
    for (const XmlNode& node : list->children) {
        TVersionInfo item;
        item.updateType = type;
        item.Name = nameAttribute.isEmpty() ? Product::kProductName
                                            : requiredText(node, nameAttribute, source);
        readVersion(node, &item, source);
        if (withFile) {
            item.URL = requiredText(node, QStringLiteral("URL"), source);
            item.Filename = requiredText(node, QStringLiteral("Filename"), source);
        } else {
            item.URL = node.attribute(QStringLiteral("URL")).trimmed();
            item.Filename = node.attribute(QStringLiteral("Filename")).trimmed();
        }
        items << item;
    }
    return items;
}

void writeItems(QXmlStreamWriter& xml, const QString& list, const QString& element,
                const QString& nameAttribute, const QList<TVersionInfo>& items)
{
    xml.writeStartElement(list);
    for (const TVersionInfo& item : items) {
        xml.writeStartElement(element);
        xml.writeAttribute(nameAttribute, item.Name);
        xml.writeAttribute(QStringLiteral("Major"), QString::number(item.Major));
        xml.writeAttribute(QStringLiteral("Minor"), QString::number(item.Minor));
        xml.writeAttribute(QStringLiteral("Release"), QString::number(item.Release));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

} // namespace

const TVersionInfo* InstalledVersions::find(TUpdateType type, const QString& name) const
{
    if (type == utProgram)
        return &program;
    const QList<TVersionInfo>& list = type == utHelp ? helps : palettes;
    for (const TVersionInfo& v : list)
        if (v.Name == name)
            return &v;
    return nullptr;
}

void InstalledVersions::record(const TVersionInfo& item)
{
    if (item.updateType == utProgram) {
        program = item;
        return;
    }
    QList<TVersionInfo>& list = item.updateType == utHelp ? helps : palettes;
    TVersionInfo entry;
    entry.Name = item.Name;
    entry.Major = item.Major;
    entry.Minor = item.Minor;
    entry.Release = item.Release;
    entry.updateType = item.updateType;
    for (TVersionInfo& v : list)
        if (v.Name == item.Name) {
            v = entry;
            return;
        }
    list << entry;
}

UpdateCatalogue readUpdateCatalogue(const QByteArray& bytes, const QString& source)
{
    const XmlNode root = readXmlTree(bytes, source, catalogueLimits());
    UpdateCatalogue catalogue;
    catalogue.installers = readItems(root.child(QStringLiteral("Installers")), utProgram, QString(),
                                     false, source);
    catalogue.helps = readItems(root.child(QStringLiteral("Helps")), utHelp,
                                QStringLiteral("Language"), true, source);
    catalogue.palettes = readItems(root.child(QStringLiteral("Palettes")), utPalette,
                                   QStringLiteral("Name"), true, source);
    return catalogue;
}

InstalledVersions readInstalledVersions(const QByteArray& bytes, const QString& source)
{
    const XmlNode root = readXmlTree(bytes, source, catalogueLimits());
    InstalledVersions installed;
    installed.program.Name = Product::kProductName;
    if (const XmlNode* program = root.child(QStringLiteral("ProgramRelease")))
        readVersion(*program, &installed.program, source);
    installed.helps = readItems(root.child(QStringLiteral("Helps")), utHelp,
                                QStringLiteral("Language"), false, source);
    installed.palettes = readItems(root.child(QStringLiteral("Palettes")), utPalette,
                                   QStringLiteral("Name"), false, source);
    return installed;
}

QByteArray installedVersionsBytes(const InstalledVersions& versions)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument(QStringLiteral("1.0"));
    xml.writeStartElement(QStringLiteral("TVLVersion"));
    xml.writeStartElement(QStringLiteral("ProgramRelease"));
    xml.writeAttribute(QStringLiteral("Major"), QString::number(versions.program.Major));
    xml.writeAttribute(QStringLiteral("Minor"), QString::number(versions.program.Minor));
    xml.writeAttribute(QStringLiteral("Release"), QString::number(versions.program.Release));
    xml.writeEndElement();
    writeItems(xml, QStringLiteral("Helps"), QStringLiteral("Help"), QStringLiteral("Language"),
               versions.helps);
    writeItems(xml, QStringLiteral("Palettes"), QStringLiteral("Palette"), QStringLiteral("Name"),
               versions.palettes);
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

UpdateOffers compareVersions(const InstalledVersions& installed, const UpdateCatalogue& catalogue)
{
    UpdateOffers offers;
    if (const std::optional<TVersionInfo> candidate = programCandidate(installed.program,
                                                                       catalogue.installers))
        offers.program = UpdateOffer{*candidate, installed.program};

    // Help pages and palettes: the latest item of each key, when it is later than what is
    // installed (or nothing of that name is installed).
    const auto collect = [&](const QList<TVersionInfo>& items, QList<UpdateOffer>* out) {
        for (const TVersionInfo& item : items) {
            const bool help = item.updateType == utHelp;
            if (!isPlainUpdateFileName(item.Filename, item.updateType)) {
                offers.refused.append({QStringLiteral("The update \"%1\" was refused: its file name \"%2\" is not a plain name of its folder."),
                                       {item.Name, item.Filename}});
                continue;
            }
            if (help && !isPlainLanguageName(item.Name)) {
                offers.refused.append({QStringLiteral("The update \"%1\" was refused: its language is not a plain name."),
                                       {item.Name}});
                continue;
            }
            const TVersionInfo* current = installed.find(item.updateType, item.Name);
            if (current && !isLaterVersion(*current, item))
                continue;
            UpdateOffer offer{item, current ? std::optional<TVersionInfo>(*current) : std::nullopt};
            bool replaced = false;
            for (UpdateOffer& o : *out)
                if (o.item.Name == item.Name && (!help || o.item.Filename == item.Filename)) {
                    if (isLaterVersion(o.item, item))
                        o = offer;
                    replaced = true;
                }
            if (!replaced)
                *out << offer;
        }
    };
    collect(catalogue.helps, &offers.helps);
    collect(catalogue.palettes, &offers.palettes);
    return offers;
}
