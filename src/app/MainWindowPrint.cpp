// The main window's "Print ..." command: the print dialog for the current design.
#include "MainWindow.h"

#include "print/ui/TFPrintOptions.h"

TFPrintOptions* MainWindow::printDialog()
{
    if (!m_printOptions) {
        m_printOptions = new TFPrintOptions(stitch(), this);
        m_printOptions->applyProductMode();
    }
    return m_printOptions;
}

void MainWindow::MenuPrintClick()
{
    printDialog()->Execute(document());
}
