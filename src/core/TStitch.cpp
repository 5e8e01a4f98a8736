#include "TStitch.h"

#include <QFile>

TStitch::TStitch(QObject* parent) : QObject(parent) {}

TStitch::~TStitch() = default;

void TStitch::setFileSaved(bool saved)
{
    ffilesaved = saved;
    emit fileSavedChanged(saved);
}

void TStitch::setFilename(const QString& name)
{
    ffilename = name;
    emit filenameChanged(name);
}

void TStitch::setColorsname(const QString& name)
{
    fcolorsName = name;
    emit colorsnameChanged(name);
}

void TStitch::setDrawcolor(ColorKey c)
{
    // The pipette sets the colour on every move: nothing to tell while it stays the same.
    if (fdrawcolor == c)
        return;
    fdrawcolor = c;
    emit drawcolorChanged(c);
}

void TStitch::setPensize(qint32 size)
{
    fPenSize = qBound(1, size, 4);
    emit pensizeChanged(fPenSize);
}

void TStitch::NewFile()
{
    setFileSaved(false);
    FileNameAssigned = false;
}

void TStitch::OpenFile(const QString& name)
{
    setFileSaved(true);
    setFilename(name);
    FileNameAssigned = true;
}

namespace {

// With QUILLMARK_KEY_LOG naming a file, every text asked for that the table did not hold is
// appended to it, one per line (UTF-8): the list of keys that the language files still lack,
// for tools/check-languages.py --missing.
void logUnknownKey(const QString& s)
{
    static const QString path = qEnvironmentVariable("QUILLMARK_KEY_LOG");
    if (path.isEmpty() || s.trimmed().isEmpty())
        return;
    QFile log(path);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append))
        log.write(QString(s).replace(QLatin1Char('\n'), QStringLiteral("\\n")).toUtf8() + '\n');
}

} // namespace

QString TStitch::translate(const QString& s)
{
    if (const QString* t = Language.find(s))
        return *t;
    logUnknownKey(s);
    Language.insert(s, s);
    return s;
}

int TStitch::paletteSize(const QString& name) const
{
    const ColorTable* p = ColorPalettes.find(name);
    return p ? p->size() : -1;
}
