#pragma once
// A small XML element tree read with limits, for the files of the update check (the server's
// list, the installed versions, the pending-update manifest). Only elements and their
// attributes are kept; text is ignored. Every size is bounded before it is stored, and a
// document type definition is refused, so a hostile file cannot make the reader allocate or
// expand without bound.

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

struct XmlNode
{
    QString name;
    QList<std::pair<QString, QString>> attributes;
    QList<XmlNode> children;
    qint64 line = 0;

    bool hasAttribute(const QString& attribute) const;
    // The attribute's value, empty when it is absent.
    QString attribute(const QString& attribute) const;
    // The first child of that name, or null.
    const XmlNode* child(const QString& childName) const;
};

struct XmlLimits
{
    qint64 maxBytes = 1 << 20;
    int maxElements = 20000;
    int maxDepth = 16;
    int maxAttributes = 32;
    int maxValueLength = 4096;
};

// The root element of `bytes`. Throws QuillError naming `source` (a file or an address) and
// the problem when the bytes are not well-formed XML or exceed a limit.
XmlNode readXmlTree(const QByteArray& bytes, const QString& source, const XmlLimits& limits = {});

// The attribute `name` of `node` as a decimal integer of 32 bits (digits only, no sign).
// Throws QuillError naming `source`, the line and the attribute when it is missing or is no
// such number.
qint32 decimalAttribute(const XmlNode& node, const QString& name, const QString& source);
