#pragma once
// Runs a print or export job on a worker thread so that the dialog's progress window repaints
// and its Cancel button works: the job's progress arrives as a signal on the thread that
// owns the runner, and cancel() makes the job's next progress question answer "stop".

#include "PrintJob.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

class PrintJobRunner : public QObject
{
    Q_OBJECT
public:
    // The work: draws and writes, asking `progress` before each page; returns false when it
    // was cancelled; throws QuillError when it fails. It runs on the worker thread, so it
    // makes its page target there (a QImage, a QPdfWriter or a QPrinter).
    using Work = std::function<bool(const PrintJob::Progress& progress)>;

    explicit PrintJobRunner(QObject* parent = nullptr);
    ~PrintJobRunner() override; // waits for a running job

    // Starts `work`; false when a job is running already.
    bool start(Work work);
    void cancel() { m_cancel = true; }
    bool isRunning() const;
    // Blocks until the job has ended (tests, and closing the window).
    void wait();

signals:
    // Before each page: the page about to be drawn (1-based) and the number of pages.
    void progress(int page, int pages);
    // Once per job: completed (false when cancelled or failed) and the failure's message
    // (empty when it completed or was cancelled).
    void finished(bool completed, const QString& error);

private:
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_busy{false};
    QThread* m_thread = nullptr;
};
