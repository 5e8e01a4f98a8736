#include "PrinterTarget.h"

#include "core/QuillError.h"

#include <QPrinter>

namespace {
QPrinter& named(QPrinter& printer, const QString& title)
{
    printer.setDocName(title);
    return printer;
}
} // namespace

PrinterTarget::PrinterTarget(QPrinter& printer, const QString& title)
    : PagedDeviceTarget(named(printer, title)), m_printer(printer)
{
}

PrinterTarget::~PrinterTarget()
{
    if (!m_ended && m_painter.isActive()) {
        m_printer.abort();
        m_painter.end();
    }
}

void PrinterTarget::end()
{
    m_ended = true;
    finish();
    if (m_printer.printerState() == QPrinter::Error || m_printer.printerState() == QPrinter::Aborted)
        throw QuillError(QStringLiteral("The printer reported a failure."));
}

TPageDevice pageDeviceOf(const QPrinter& printer)
{
    TPageDevice d;
    const QRectF mm = printer.pageRect(QPrinter::Millimeter);
    const QRect px = printer.pageRect(QPrinter::DevicePixel).toAlignedRect();
    d.widthMM = mm.width();
    d.heightMM = mm.height();
    d.widthPx = px.width();
    d.heightPx = px.height();
    d.pixelsPerInch = printer.logicalDpiX();
    return d;
}
