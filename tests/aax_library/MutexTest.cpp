#include "aax_library/AAX_CMutex.h"
#include "tests/support/TestWaiting.h"

#include <gtest/gtest.h>

#include <thread>

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
    const BlockedUntilReleased other =
        runBlockedUntilReleased([&] { const AAX_StLock_Guard guard(mutex); }, [&] { mutex.Unlock(); });
    EXPECT_FALSE(other.finishedBeforeRelease) << "took the lock its owner holds";
    EXPECT_TRUE(other.finishedAfterRelease) << "never took the lock once it was free";
}
