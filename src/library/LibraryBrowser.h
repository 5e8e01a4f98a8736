#pragma once
// What the library's browser shows and does, without its widgets: the list of the folder's
// motifs, the chosen motif read (or the error of reading it), whether it must be converted
// to the design's colours, and the clipboard "Load" gives. The browser keeps the chosen
// motif after it closes, for "Load".

#include "MotifLibrary.h"

#include <QStringList>
#include <optional>

class TStitch;

class LibraryBrowser
{
public:
    explicit LibraryBrowser(TStitch& stitch) : m_stitch(stitch) {}

    // Lists the library folder afresh; the chosen motif is dropped. `designOpen`: "Load" can
    // put a motif into a design.
    void refresh(bool designOpen = true);
    const QStringList& files() const { return m_files; }
    // Empty, or the (translated) note that the library folder does not exist.
    QString folderNote() const;

    // Chooses the motif of list row `row` and reads it; false (with error() set and nothing
    // chosen) when it cannot be read. A row of -1 removes the choice.
    bool select(int row);
    const std::optional<MotifLibrary::TMotif>& selected() const { return m_selected; }
    // The reading error of the last choice, translated; empty after a successful one.
    const QString& error() const { return m_error; }
    bool needsConversion() const { return m_needsConversion; }
    bool canLoad() const { return m_selected.has_value() && m_designOpen; }

    // The chosen motif as the floating block's clipboard for the open design.
    TClipboard clipboard() const;
    // Deletes the chosen motif's file and lists the folder again; throws QuillError.
    void deleteSelected();

private:
    TStitch& m_stitch;
    QStringList m_files;
    std::optional<MotifLibrary::TMotif> m_selected;
    QString m_error;
    bool m_needsConversion = false;
    bool m_designOpen = true;
};
