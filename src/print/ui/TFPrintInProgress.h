#pragma once
// The progress window of a print job ("Print In Progress"): stays on top and has no window
// buttons; a page bar with "Page n/m" and a back-stitch bar, and a Cancel button that asks
// the job to stop after the page it is drawing.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class TStitch;

class TFPrintInProgress : public QDialog
{
    Q_OBJECT
public:
    explicit TFPrintInProgress(TStitch& stitch, QWidget* parent = nullptr);

    // A job of `pages` pages begins: both bars at 0, Cancel not requested.
    void start(int pages);
    // The page bar at `done` pages drawn; the label shows the page being drawn.
    void setPage(int done);
    // The back-stitch bar at `done` of `total`.
    void setBackStitches(int done, int total);
    bool cancelRequested() const { return m_cancelled; }
    QProgressBar* pageBar() const { return m_pageBar; }
    QProgressBar* backBar() const { return m_backBar; }
    QLabel* pageLabel() const { return m_pageLabel; }
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    // Cancel was pressed (once per job).
    void cancelled();

protected:
    // The window cannot be closed while a job runs; Escape asks for the cancel.
    void reject() override;

private:
    TStitch& m_stitch;
    QProgressBar* m_pageBar;
    QLabel* m_pageLabel;
    QProgressBar* m_backBar;
    QLabel* m_backLabel;
    QPushButton* m_cancel;
    bool m_cancelled = false;
};
