#pragma once
// A lock that its owner thread may take again: the packet dispatcher's handlers run under it and
// may update parameters, which takes it once more from the same thread.

#include "platform/NonCopyable.h"

#include <memory>

class AAX_CMutex : private NonCopyable
{
public:
    AAX_CMutex();
    ~AAX_CMutex();

    // [any thread] Waits without time limit unless the caller owns the lock already. True when
    // this call took the lock, false when the caller held it before (and then nothing changes).
    bool Lock();
    // [any thread] Releases the lock, but only when the caller is its owner.
    void Unlock();
    // [any thread] Takes the lock only if it is free; true when this call took it.
    bool Try_Lock();

private:
    struct Record;
    // Null when the lock could not be made; every operation is then a no-op.
    std::unique_ptr<Record> mRecord;
};

// Locks for a scope and unlocks at exit only if its own Lock took the lock, so nested guards on the
// owner thread leave it to the outermost.
class AAX_StLock_Guard : private NonCopyable
{
public:
    explicit AAX_StLock_Guard(AAX_CMutex& mutex) : mMutex(mutex), mTook(mutex.Lock()) {}
    ~AAX_StLock_Guard()
    {
        if (mTook)
            mMutex.Unlock();
    }

private:
    AAX_CMutex& mMutex;
    const bool mTook;
};
