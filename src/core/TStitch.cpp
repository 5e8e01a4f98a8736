#include "TStitch.h"

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

QString TStitch::translate(const QString& s)
{
    if (const QString* t = Language.find(s))
        return *t;
    Language.insert(s, s);
    return s;
}

int TStitch::paletteSize(const QString& name) const
{
    const ColorTable* p = ColorPalettes.find(name);
    return p ? p->size() : -1;
}
