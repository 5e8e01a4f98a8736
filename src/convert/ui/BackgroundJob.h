#pragma once
// One kind of recomputation run off the user-interface thread, the newest request winning.
// A request made while another runs waits (replacing any request already waiting), so at most
// one computation runs and one waits; a result whose request has been superseded or cancelled
// is dropped. The work runs on its own thread and must touch nothing but its captured values;
// what it returns is run on the owner's thread, and only while this object lives, so a
// dialog that owns the job may capture itself in that returned function.

#include <QObject>

#include <functional>

class BackgroundJob : public QObject
{
public:
    using Apply = std::function<void()>;
    using Work = std::function<Apply()>;

    // `changed` runs (on the owner's thread) whenever isPending() may have changed.
    BackgroundJob(QObject* parent, std::function<void()> changed);

    void request(Work work);
    // Drops the running request's result and the waiting request.
    void cancel();
    // True while a request not yet superseded or cancelled still has to deliver its result.
    bool isPending() const;

    // Worker threads still running, of every job (a dropped job's thread runs to its end).
    static int runningThreads();
    // Waits until no worker thread runs; false when `msecs` ran out first.
    static bool waitForThreads(int msecs);

private:
    void start(Work work);
    void finished(quint64 generation, const Apply& apply);

    std::function<void()> m_changed;
    Work m_waiting;
    quint64 m_generation = 0;        // of the newest request
    quint64 m_runningGeneration = 0; // of the request on the worker thread
    bool m_running = false;
};
