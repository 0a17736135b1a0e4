#include "aax_adapter/MessageThread.h"

#include <juce_events/juce_events.h>

MessageThread::~MessageThread()
{
    stop();
}

bool MessageThread::start()
{
    if (isRunning() || juce::MessageManager::getInstanceWithoutCreating() != nullptr)
        return false;
    // JUCE's timer thread starts itself through a message. One created while no message manager
    // existed (a processor constructed before any message thread) never started and would keep
    // every timer silent, so such leftovers go before the new manager is made.
    juce::DeletedAtShutdown::deleteAll();
    std::unique_lock<std::mutex> guard(lock);
    started = false;
    stopRequested = false;
    thread = std::thread([this] { run(); });
    dispatching.wait(guard, [this] { return started; });
    return true;
}

void MessageThread::run()
{
    juce::MessageManager* messageManager = juce::MessageManager::getInstance();
    messageManager->setCurrentThreadAsMessageThread();
    {
        const std::lock_guard<std::mutex> guard(lock);
        started = true;
    }
    dispatching.notify_all();

    messageManager->runDispatchLoop();

    // The stopping thread may still be inside JUCE's posting of the quit message, which touches the
    // manager's queue after the message is already delivered: the manager stays until it is out.
    {
        std::unique_lock<std::mutex> guard(lock);
        dispatching.wait(guard, [this] { return stopRequested; });
    }

    // JUCE's timer thread and other shutdown-registered objects go before the manager they post to.
    juce::DeletedAtShutdown::deleteAll();
    juce::MessageManager::deleteInstance();
}

void MessageThread::stop()
{
    if (!thread.joinable())
        return;
    if (juce::MessageManager* messageManager = juce::MessageManager::getInstanceWithoutCreating())
        messageManager->stopDispatchLoop();
    {
        const std::lock_guard<std::mutex> guard(lock);
        stopRequested = true;
    }
    dispatching.notify_all();
    thread.join();
    const std::lock_guard<std::mutex> guard(lock);
    started = false;
}

bool MessageThread::isRunning() const
{
    const std::lock_guard<std::mutex> guard(lock);
    return started && thread.joinable();
}
