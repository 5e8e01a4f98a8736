#include "XmlTree.h"

#include "core/QuillError.h"

#include <QDir>
#include <QXmlStreamReader>
#include <limits>

bool XmlNode::hasAttribute(const QString& attribute) const
{
    for (const auto& [n, v] : attributes)
        if (n == attribute)
            return true;
    return false;
}

QString XmlNode::attribute(const QString& attribute) const
{
    for (const auto& [n, v] : attributes)
        if (n == attribute)
            return v;
    return {};
}

const XmlNode* XmlNode::child(const QString& childName) const
{
    for (const XmlNode& c : children)
        if (c.name == childName)
            return &c;
    return nullptr;
}

namespace {

QString shown(const QString& source)
{
    return source.contains(QStringLiteral("://")) ? source : QDir::toNativeSeparators(source);
}

[[noreturn]] void fail(const QString& key, const QString& source, QStringList arguments = {})
{
    arguments.prepend(shown(source));
    throw QuillError(key, arguments);
}

} // namespace

XmlNode readXmlTree(const QByteArray& bytes, const QString& source, const XmlLimits& limits)
{
    if (bytes.size() > limits.maxBytes)
        fail(QStringLiteral("The file %1 is larger than %2 bytes."), source,
             {QString::number(limits.maxBytes)});

    QXmlStreamReader xml(bytes);
    // The path from the root to the element being read; the root is its first entry.
    QList<XmlNode> stack;
    XmlNode root;
    bool haveRoot = false;
    int elements = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD)
            fail(QStringLiteral("The file %1 holds a document type definition, which is not accepted."),
                 source);
        if (token == QXmlStreamReader::StartElement) {
            if (++elements > limits.maxElements)
                fail(QStringLiteral("The file %1 holds more than %2 elements."), source,
                     {QString::number(limits.maxElements)});
            if (stack.size() >= limits.maxDepth)
                fail(QStringLiteral("The file %1 nests its elements deeper than %2 levels."), source,
                     {QString::number(limits.maxDepth)});
            XmlNode node;
            node.name = xml.name().toString();
            node.line = xml.lineNumber();
            const QXmlStreamAttributes attributes = xml.attributes();
            if (attributes.size() > limits.maxAttributes)
                fail(QStringLiteral("The file %1, line %2: an element has more than %3 attributes."),
                     source, {QString::number(node.line), QString::number(limits.maxAttributes)});
            for (const QXmlStreamAttribute& a : attributes) {
                if (a.value().size() > limits.maxValueLength || a.name().size() > limits.maxValueLength)
                    fail(QStringLiteral("The file %1, line %2: an attribute is longer than %3 characters."),
                         source, {QString::number(node.line), QString::number(limits.maxValueLength)});
                node.attributes.append({a.name().toString(), a.value().toString()});
            }
            stack.append(std::move(node));
        } else if (token == QXmlStreamReader::EndElement) {
            if (stack.isEmpty())
                break; // the reader reports the mismatch below
            XmlNode done = stack.takeLast();
            if (stack.isEmpty()) {
                root = std::move(done);
                haveRoot = true;
            } else {
                stack.last().children.append(std::move(done));
            }
        }
    }
    if (xml.hasError())
        fail(QStringLiteral("The file %1 is not valid XML (line %2): %3"), source,
             {QString::number(xml.lineNumber()), xml.errorString()});
    if (!haveRoot)
        fail(QStringLiteral("The file %1 holds no XML element."), source);
    return root;
}

qint32 decimalAttribute(const XmlNode& node, const QString& name, const QString& source)
{
    if (!node.hasAttribute(name))
        fail(QStringLiteral("The file %1, line %2: the attribute \"%3\" is missing."), source,
             {QString::number(node.line), name});
    const QString text = node.attribute(name);
    bool ok = !text.isEmpty() && text.size() <= 10;
    for (const QChar c : text)
        ok = ok && c >= u'0' && c <= u'9';
    const qint64 value = ok ? text.toLongLong(&ok) : 0;
    if (!ok || value > std::numeric_limits<qint32>::max())
        fail(QStringLiteral("The file %1, line %2: the attribute \"%3\" is not a whole number: \"%4\"."),
             source, {QString::number(node.line), name, text.left(40)});
    return qint32(value);
}
