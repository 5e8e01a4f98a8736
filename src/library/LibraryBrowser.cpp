#include "LibraryBrowser.h"

#include "core/QuillError.h"
#include "core/TStitch.h"

#include <QDir>

void LibraryBrowser::refresh(bool designOpen)
{
    m_designOpen = designOpen;
    m_files = MotifLibrary::listMotifs(m_stitch.libraryPath);
    select(-1);
}

QString LibraryBrowser::folderNote() const
{
    if (!m_stitch.libraryPath.isEmpty() && QDir(m_stitch.libraryPath).exists())
        return {};
    return QuillError::fill(m_stitch.translate(QStringLiteral("The library folder %1 does not exist yet.")),
                            {QDir::toNativeSeparators(m_stitch.libraryPath)});
}

bool LibraryBrowser::select(int row)
{
    m_selected.reset();
    m_error.clear();
    m_needsConversion = false;
    if (row < 0 || row >= m_files.size())
        return false;
    try {
        m_selected = MotifLibrary::readMotif(m_stitch.libraryPath, m_files.at(row));
    } catch (const QuillError& e) {
        m_error = e.translated(m_stitch);
        return false;
    }
    m_needsConversion = m_designOpen && MotifLibrary::needsConversion(*m_selected, m_stitch);
    return true;
}

TClipboard LibraryBrowser::clipboard() const
{
    if (!canLoad())
        return {};
    return MotifLibrary::motifClipboard(*m_selected, m_stitch, m_needsConversion);
}

void LibraryBrowser::deleteSelected()
{
    if (!m_selected)
        return;
    MotifLibrary::deleteMotif(m_stitch.libraryPath, m_selected->fileName);
    refresh(m_designOpen);
}
