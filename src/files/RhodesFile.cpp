#include "RhodesFile.h"

#include "core/QuillError.h"
#include "core/SafeSave.h"
#include "core/TStitch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <optional>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

std::optional<qint32> intAttribute(const QXmlStreamAttributes& a, const char* name)
{
    const QString key = QString::fromLatin1(name);
    if (!a.hasAttribute(key))
        return std::nullopt;
    bool ok = false;
    const qint32 v = a.value(key).trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(v) : std::nullopt;
}

// "True", "False" (any case) or a number, 0 being false.
std::optional<bool> boolAttribute(const QXmlStreamAttributes& a, const char* name)
{
    const QString key = QString::fromLatin1(name);
    if (!a.hasAttribute(key))
        return std::nullopt;
    const QString v = a.value(key).trimmed().toString();
    if (v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    return ok ? std::optional<bool>(n != 0) : std::nullopt;
}

} // namespace

namespace RhodesFile {

QString fileName()
{
    return QStringLiteral("rhodes.xml");
}

TRhodeList parse(const QByteArray& data, const QString& shownPath, TStitch& st,
                 QStringList* refused)
{
    TRhodeList out;
    QXmlStreamReader xml(data);
    // Every problem of one definition; the first makes it refused.
    auto refuse = [&](int position, const QString& name, const QString& why) {
        if (!refused)
            return;
        const QString who = name.isEmpty()
            ? st.translate(QStringLiteral("definition %1")).arg(position + 1)
            : QStringLiteral("\"%1\"").arg(name);
        refused->append(st.translate(QStringLiteral("Rhodes catalogue \"%1\": the definition %2 "
                                                    "was left out: %3"))
                            .arg(shown(shownPath), who, why));
    };

    if (!xml.readNextStartElement()) {
        if (!xml.hasError())
            xml.raiseError(st.translate(QStringLiteral("the document has no element")));
    } else {
        int position = 0;
        while (xml.readNextStartElement()) {
            const QXmlStreamAttributes a = xml.attributes();
            auto r = std::make_unique<TRhode>();
            r->name = a.value(QStringLiteral("name")).toString();
            QString problem;
            const auto w = intAttribute(a, "width");
            const auto h = intAttribute(a, "height");
            const auto original = boolAttribute(a, "original");
            if (!w || !h || !original) {
                const char* bad = !w ? "width" : !h ? "height" : "original";
                problem = st.translate(QStringLiteral("the attribute \"%1\" is missing or not "
                                                      "a valid value"))
                              .arg(QString::fromLatin1(bad));
            } else if (*w < 1 || *w > kMaxCells || *h < 1 || *h > kMaxCells) {
                problem = st.translate(QStringLiteral("its size %1 x %2 is outside 1 .. %3"))
                              .arg(*w).arg(*h).arg(kMaxCells);
            } else {
                r->width = *w;
                r->height = *h;
                r->original = *original;
            }
            // The first "stitches" child holds the stitches; other children are skipped.
            bool seenStitches = false;
            while (xml.readNextStartElement()) {
                if (seenStitches || xml.name() != QLatin1String("stitches")) {
                    xml.skipCurrentElement();
                    continue;
                }
                seenStitches = true;
                while (xml.readNextStartElement()) {
                    const QXmlStreamAttributes sa = xml.attributes();
                    const auto fx = intAttribute(sa, "fromx"), fy = intAttribute(sa, "fromy");
                    const auto tx = intAttribute(sa, "tox"), ty = intAttribute(sa, "toy");
                    xml.skipCurrentElement();
                    if (!problem.isEmpty())
                        continue;
                    if (!fx || !fy || !tx || !ty) {
                        problem = st.translate(QStringLiteral("stitch %1 has a missing or "
                                                              "invalid end point"))
                                      .arg(r->stitches.size() + 1);
                        continue;
                    }
                    const QPoint from(*fx, *fy), to(*tx, *ty);
                    auto inside = [&](QPoint p) {
                        return p.x() >= 0 && p.y() >= 0 && p.x() <= 2 * r->width
                            && p.y() <= 2 * r->height;
                    };
                    if (!inside(from) || !inside(to)) {
                        problem = st.translate(QStringLiteral("stitch %1 from (%2, %3) to "
                                                              "(%4, %5) leaves its grid of "
                                                              "0 .. %6 x 0 .. %7"))
                                      .arg(r->stitches.size() + 1)
                                      .arg(from.x()).arg(from.y()).arg(to.x()).arg(to.y())
                                      .arg(2 * r->width).arg(2 * r->height);
                        continue;
                    }
                    r->stitches.append(TBackStitch{from, to, 0, 0});
                }
            }
            if (xml.hasError())
                break;
            if (problem.isEmpty())
                out.push_back(std::move(r));
            else
                refuse(position, r->name, problem);
            ++position;
        }
    }
    // Anything after the document element must still be well-formed.
    while (!xml.atEnd() && !xml.hasError())
        xml.readNext();
    if (xml.hasError())
        throw QuillError(st.translate(QStringLiteral("The Rhodes catalogue \"%1\" is damaged at "
                                                     "line %2, column %3: %4"))
                             .arg(shown(shownPath))
                             .arg(xml.lineNumber())
                             .arg(xml.columnNumber())
                             .arg(xml.errorString()));
    return out;
}

QByteArray serialize(const TRhodeList& catalogue)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument(QStringLiteral("1.0"));
    xml.writeStartElement(QStringLiteral("rhodes"));
    for (const auto& r : catalogue) {
        xml.writeStartElement(QStringLiteral("rhode"));
        xml.writeAttribute(QStringLiteral("name"), r->name);
        xml.writeAttribute(QStringLiteral("width"), QString::number(r->width));
        xml.writeAttribute(QStringLiteral("height"), QString::number(r->height));
        xml.writeAttribute(QStringLiteral("original"),
                           r->original ? QStringLiteral("True") : QStringLiteral("False"));
        xml.writeStartElement(QStringLiteral("stitches"));
        for (const TBackStitch& s : r->stitches) {
            xml.writeEmptyElement(QStringLiteral("stitch"));
            xml.writeAttribute(QStringLiteral("fromx"), QString::number(s.FromPoint.x()));
            xml.writeAttribute(QStringLiteral("fromy"), QString::number(s.FromPoint.y()));
            xml.writeAttribute(QStringLiteral("tox"), QString::number(s.ToPoint.x()));
            xml.writeAttribute(QStringLiteral("toy"), QString::number(s.ToPoint.y()));
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

TRhodeList shipped(TStitch& st)
{
    QFile f(QStringLiteral(":/rhodes/rhodes.xml"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    try {
        return parse(f.readAll(), f.fileName(), st, nullptr);
    } catch (const QuillError&) {
        return {};
    }
}

QStringList loadRhodes(TStitch& st)
{
    st.RhodeCatalogue.clear();
    st.RhodesFileDamaged = false;
    if (st.RhodesPath.isEmpty())
        return {};
    const QString path = QDir(st.RhodesPath).filePath(fileName());
    if (!QFileInfo::exists(path))
        return {};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        st.RhodesFileDamaged = true;
        st.RhodeCatalogue = shipped(st);
        return {st.translate(QStringLiteral("Cannot read the Rhodes catalogue \"%1\": %2"))
                    .arg(shown(path), f.errorString())};
    }
    QStringList problems;
    try {
        st.RhodeCatalogue = parse(f.readAll(), path, st, &problems);
    } catch (const QuillError& e) {
        st.RhodeCatalogue = shipped(st);
        problems = {e.message()};
    }
    st.RhodesFileDamaged = !problems.isEmpty();
    return problems;
}

void saveRhodes(TStitch& st)
{
    const QString path = QDir(st.RhodesPath).filePath(fileName());
    if (st.RhodesFileDamaged && QFileInfo::exists(path)) {
        const QString backup = path + QStringLiteral(".bak");
        QFile::remove(backup);
        if (!QFile::copy(path, backup))
            throw QuillError(st.translate(QStringLiteral("Cannot keep the damaged Rhodes "
                                                         "catalogue \"%1\" as \"%2\"; it was "
                                                         "not replaced."))
                                 .arg(shown(path), shown(backup)));
    }
    writeFileSafely(path, serialize(st.RhodeCatalogue),
                    st.translate(QStringLiteral("Rhodes catalogue")));
    st.RhodesFileDamaged = false;
}

} // namespace RhodesFile
