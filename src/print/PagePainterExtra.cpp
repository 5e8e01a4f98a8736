// The pages after the table: title page, stitch-steps list, label sheets, table of contents
// and information page.
#include "PagePainter.h"
#include "PagePainterState.h"

void PagePainter::drawTitlePage() {}
void PagePainter::drawStitchSteps() {}
void PagePainter::drawLabels() {}
void PagePainter::drawContents() {}
void PagePainter::drawInfoPage() {}
