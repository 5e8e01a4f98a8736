#pragma once
// A printer as the page target of a print job: one document named after the design, a
// printer page per page; a cancelled or failed job is aborted on the printer. And the
// printable page the layout reads from a printer.

#include "print/PdfPageTarget.h"
#include "print/PrintTypes.h"

#include <QString>

class QPrinter;

class PrinterTarget : public PagedDeviceTarget
{
public:
    // Begins the document `title`; throws QuillError when the printer refuses it.
    PrinterTarget(QPrinter& printer, const QString& title);
    // A document not finished is aborted (a failure there is ignored).
    ~PrinterTarget() override;
    // Ends the document; throws QuillError when the printer reports a failure.
    void end();

private:
    QPrinter& m_printer;
    bool m_ended = false;
};

// The printable page of `printer` in its current orientation: millimetres, device pixels and
// the horizontal resolution.
TPageDevice pageDeviceOf(const QPrinter& printer);
