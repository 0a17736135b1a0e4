#pragma once
// Waiting for what another thread does (the module's message thread, a thread blocked on a lock):
// generous upper bounds, polled, so that a slow machine still passes and a broken module still fails.

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
