#include "aax_library/AAX_CMutex.h"
#include "tests/support/TestWaiting.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
// Generous bounds: the other thread must be seen waiting for a while, and must get the lock well
// within this once it is free.
constexpr auto kObserveBlocked = std::chrono::milliseconds(100);
constexpr auto kAcquireTimeout = std::chrono::seconds(10);
} // namespace

TEST(Mutex, OwnerReentersAndOnlyTheOutermostLockTakesIt)
{
    AAX_CMutex mutex;
    EXPECT_TRUE(mutex.Lock());
    EXPECT_FALSE(mutex.Lock());
    {
        AAX_StLock_Guard nested(mutex);
    }
    // The nested guard took nothing, so it released nothing: another thread still cannot get in.
    bool otherGotIt = true;
    std::thread([&] { otherGotIt = mutex.Try_Lock(); }).join();
    EXPECT_FALSE(otherGotIt);
    mutex.Unlock();
    std::thread(
        [&]
        {
            otherGotIt = mutex.Try_Lock();
            if (otherGotIt)
                mutex.Unlock();
        })
        .join();
    EXPECT_TRUE(otherGotIt);
}

TEST(Mutex, AnotherThreadWaitsUntilTheOwnerUnlocks)
{
    AAX_CMutex mutex;
    ASSERT_TRUE(mutex.Lock());
    std::atomic<bool> acquired{false};
    std::thread other(
        [&]
        {
            AAX_StLock_Guard guard(mutex);
            acquired = true;
        });
    std::this_thread::sleep_for(kObserveBlocked);
    EXPECT_FALSE(acquired.load());
    mutex.Unlock();
    EXPECT_TRUE(waitFor([&] { return acquired.load(); }, kAcquireTimeout));
    other.join();
}
