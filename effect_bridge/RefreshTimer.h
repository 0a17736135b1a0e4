#pragma once
// The timer that drives the processor's parameter refresh on the message thread. It is separate
// from the processor so that it can outlive it: JUCE's timer thread may already have picked the
// timer for a tick when another thread stops it, so the timer object is deleted on the message
// thread, after any such tick, while the processor goes at once.

#include "effect_bridge/UseGate.h"

#include <juce_events/juce_events.h>

#include <functional>
#include <memory>

class RefreshTimer : public juce::Timer
{
public:
    // [host thread] onTick runs on every tick until the timer is retired.
    explicit RefreshTimer(std::function<void()> onTick);

    // [message thread]
    void timerCallback() override;

    // [host thread] Never from inside a tick. Stops the ticks, waits for a tick under way to
    // return, and gives the timer to the message thread to delete. After it returns, onTick never
    // runs again.
    static void retire(std::unique_ptr<RefreshTimer> timer);

    // [host thread] For a timer whose tick owns everything it uses and may wait long in a host
    // call: stops the ticks without waiting for one under way, which finishes on the message
    // thread; the timer is deleted there after it. onTick never starts again once this returns.
    static void retireWithoutWaiting(std::unique_ptr<RefreshTimer> timer);

private:
    // [host thread] Gives a stopped and closed timer to the message thread to delete.
    static void deleteAfterTicks(std::unique_ptr<RefreshTimer> timer);

    UseGate tickGate;
    std::function<void()> onTick;
};
