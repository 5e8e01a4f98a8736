#include "BackgroundJob.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <atomic>
#include <memory>

namespace {

std::atomic<int> s_running{0};

// At the application's end a worker may still be computing a dropped result: let it finish
// before the process tears down what it might still use.
void waitAtExit()
{
    BackgroundJob::waitForThreads(60000);
}

} // namespace

BackgroundJob::BackgroundJob(QObject* parent, std::function<void()> changed)
    : QObject(parent), m_changed(std::move(changed))
{
    static const bool registered = [] {
        qAddPostRoutine(waitAtExit);
        return true;
    }();
    Q_UNUSED(registered);
}

void BackgroundJob::request(Work work)
{
    ++m_generation;
    if (m_running)
        m_waiting = std::move(work);
    else
        start(std::move(work));
    if (m_changed)
        m_changed();
}

void BackgroundJob::cancel()
{
    ++m_generation;
    m_waiting = nullptr;
    if (m_changed)
        m_changed();
}

bool BackgroundJob::isPending() const
{
    return bool(m_waiting) || (m_running && m_runningGeneration == m_generation);
}

void BackgroundJob::start(Work work)
{
    m_running = true;
    m_runningGeneration = m_generation;
    const quint64 generation = m_generation;
    // The result travels in a slot shared by the thread and the completion handler; the thread
    // never sees this object, so it may outlive it.
    auto slot = std::make_shared<Apply>();
    ++s_running;
    QThread* thread = QThread::create([work = std::move(work), slot] {
        try {
            *slot = work();
        } catch (...) {
            *slot = nullptr; // nothing to install: the previous picture stays
        }
        --s_running;
    });
    // Queued to this object's thread; the connection ends when this object is destroyed.
    connect(thread, &QThread::finished, this, [this, generation, slot] { finished(generation, *slot); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void BackgroundJob::finished(quint64 generation, const Apply& apply)
{
    m_running = false;
    if (generation == m_generation) {
        if (apply)
            apply();
    } else if (m_waiting) {
        start(std::exchange(m_waiting, nullptr));
    }
    if (m_changed)
        m_changed();
}

int BackgroundJob::runningThreads()
{
    return s_running.load();
}

bool BackgroundJob::waitForThreads(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (s_running.load() > 0) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(2);
    }
    return true;
}
