#pragma once
// JUCE's message manager and its dispatch loop on a thread of their own, for processes in which
// nobody else pumps JUCE's messages: every POSIX host, and the tests. Timers and asynchronous
// calls of the JUCE code in this module run there.

#include "platform/NonCopyable.h"

#include <condition_variable>
#include <mutex>
#include <thread>

class MessageThread : private NonCopyable
{
public:
    MessageThread() = default;
    // Stops the thread if it still runs.
    ~MessageThread();

    // [any thread but the message thread] Starts the thread, which creates the message manager and
    // dispatches its messages; returns once it does. False (and nothing started) when this object's
    // thread already runs or another message manager exists in the process. JUCE objects registered
    // for deletion at shutdown that were made without a message manager are deleted first (a timer
    // thread made then never runs).
    bool start();

    // [any thread but the message thread] Stops the dispatch loop; on the message thread, deletes
    // JUCE's objects registered for deletion at shutdown (its timer thread among them) and the
    // message manager; joins the thread. Does nothing when not running. Start and stop may repeat.
    void stop();

    // [any thread]
    bool isRunning() const;

private:
    void run();

    mutable std::mutex lock;
    std::condition_variable dispatching;
    bool started = false;       // guarded by lock
    bool stopRequested = false; // guarded by lock: the stopping thread is done posting
    std::thread thread;
};
