#include "effect_bridge/RefreshTimer.h"

#include "effect_bridge/ThreadChecks.h"

RefreshTimer::RefreshTimer(std::function<void()> tick) : onTick(std::move(tick))
{
    tickGate.open();
}

void RefreshTimer::timerCallback()
{
    OMBREL_ASSERT_MESSAGE_THREAD();
    const UseGate::Use use(tickGate);
    if (use.isAdmitted())
        onTick();
}

void RefreshTimer::retire(std::unique_ptr<RefreshTimer> timer)
{
    if (timer == nullptr)
        return;
    timer->stopTimer();
    // Waits without bound for a tick that is running: its caller may be inside the effect, which
    // must stay loaded until it returns. A tick takes no lock that this thread could hold.
    timer->tickGate.closeAndWait();
    deleteAfterTicks(std::move(timer));
}

void RefreshTimer::retireWithoutWaiting(std::unique_ptr<RefreshTimer> timer)
{
    if (timer == nullptr)
        return;
    timer->stopTimer();
    timer->tickGate.close();
    deleteAfterTicks(std::move(timer));
}

void RefreshTimer::deleteAfterTicks(std::unique_ptr<RefreshTimer> timer)
{
    // A tick the timer thread picked before the stop may still be delivered, or be under way; the
    // message thread handles one message at a time, so a message posted now is handled after it,
    // and the timer (closed, so a later tick does nothing) is deleted then. On the message thread,
    // or without a message loop, no tick can be under way.
    std::shared_ptr<RefreshTimer> closed(std::move(timer));
    juce::MessageManager* messageManager = juce::MessageManager::getInstanceWithoutCreating();
    if (messageManager != nullptr && !messageManager->isThisTheMessageThread())
        juce::MessageManager::callAsync([closed] {});
}
