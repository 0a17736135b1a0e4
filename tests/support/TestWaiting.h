#pragma once
// Waiting for what another thread does (the module's message thread, a thread blocked on a lock):
// generous upper bounds, polled, so that a slow machine still passes and a broken module still fails.

#include <atomic>
#include <chrono>
#include <thread>

// Polls condition every 10 ms until it holds or timeout has passed; true when it held.
template <typename Condition>
bool waitFor(Condition condition, std::chrono::milliseconds timeout = std::chrono::milliseconds(5000))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// How long a thread is watched to see that it stays blocked. Seeing that something does NOT happen is
// the one place for a fixed wait: no condition says when to stop looking.
constexpr auto kObserveBlocked = std::chrono::milliseconds(100);

// What became of an action run on another thread that must block until it is released.
struct BlockedUntilReleased
{
    bool finishedBeforeRelease;
    bool finishedAfterRelease; // within the timeout
};

// Runs action on a new thread, watches it for kObserveBlocked, calls release(), then waits up to
// timeout for the action to finish.
template <typename Action, typename Release>
BlockedUntilReleased runBlockedUntilReleased(Action action, Release release,
                                             std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    std::atomic<bool> finished{false};
    std::thread other(
        [&]
        {
            action();
            finished = true;
        });
    std::this_thread::sleep_for(kObserveBlocked);
    const bool finishedBeforeRelease = finished.load();
    release();
    const bool finishedAfterRelease = waitFor([&] { return finished.load(); }, timeout);
    other.join();
    return {finishedBeforeRelease, finishedAfterRelease};
}
