#include "PrintJobRunner.h"

#include "core/QuillError.h"

#include <QThread>

PrintJobRunner::PrintJobRunner(QObject* parent) : QObject(parent) {}

PrintJobRunner::~PrintJobRunner()
{
    cancel();
    wait();
    delete m_thread;
}

bool PrintJobRunner::isRunning() const
{
    return m_busy;
}

bool PrintJobRunner::start(Work work)
{
    if (isRunning())
        return false;
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
    }
    m_cancel = false;
    m_busy = true;
    m_thread = QThread::create([this, work = std::move(work)] {
        const PrintJob::Progress progress = [this](int page, int pages) {
            if (m_cancel)
                return false;
            emit this->progress(page, pages);
            return !m_cancel.load();
        };
        bool completed = false;
        QString error;
        try {
            completed = work(progress);
        } catch (const QuillError& e) {
            error = e.message();
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        }
        // Over before the signal, so that a receiver may start the next job at once.
        m_busy = false;
        emit finished(completed, error);
    });
    m_thread->start();
    return true;
}

void PrintJobRunner::wait()
{
    if (m_thread)
        m_thread->wait();
}
