#include "aax_library/AAX_CMutex.h"

#include <atomic>
#include <mutex>
#include <new>
#include <thread>

struct AAX_CMutex::Record
{
    // Written only by the thread that holds mutex; read by others to learn that they are not the
    // owner, which any value but their own id tells them.
    std::atomic<std::thread::id> owner{};
    std::mutex mutex;

    bool HeldBy(std::thread::id thread) const { return owner.load(std::memory_order_acquire) == thread; }
};

AAX_CMutex::AAX_CMutex() : mRecord(new (std::nothrow) Record) {}

AAX_CMutex::~AAX_CMutex() = default;

bool AAX_CMutex::Lock()
{
    const std::thread::id self = std::this_thread::get_id();
    if (!mRecord || mRecord->HeldBy(self))
        return false;
    mRecord->mutex.lock();
    mRecord->owner.store(self, std::memory_order_release);
    return true;
}

void AAX_CMutex::Unlock()
{
    if (!mRecord || !mRecord->HeldBy(std::this_thread::get_id()))
        return;
    mRecord->owner.store(std::thread::id(), std::memory_order_release);
    mRecord->mutex.unlock();
}

bool AAX_CMutex::Try_Lock()
{
    const std::thread::id self = std::this_thread::get_id();
    if (!mRecord || mRecord->HeldBy(self) || !mRecord->mutex.try_lock())
        return false;
    mRecord->owner.store(self, std::memory_order_release);
    return true;
}
