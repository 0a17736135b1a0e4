#pragma once
// Keeps the host thread's state operations and the audio thread's blocks apart, without the audio
// thread waiting for long work. The host thread holds the effect for either one short effect call
// (a chunk-form save or restore: effects expect those one at a time with processing, so a block
// waits for it) or a sweep (the parameter form's walk through programs and parameters, which may
// take long: a block arriving then does not call the effect at all and passes its input through).
//
// A block costs one sequentially consistent store and load and one release store; no lock is taken
// and nothing waited for unless a single call is under way. The block and the holder each announce themselves
// before looking at the other (both sequentially consistent), so at least one of them sees the other.

#include "platform/NonCopyable.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

class ProcessingExclusion : private NonCopyable
{
public:
    enum class Hold : int32_t
    {
        none = 0,
        singleCall = 1, // blocks wait for it
        sweep = 2,      // blocks pass through
    };

    // [audio thread] One block's admission: the effect may be called until it ends when admitted.
    class Block : private NonCopyable
    {
    public:
        explicit Block(ProcessingExclusion& exclusion) : exclusion(exclusion)
        {
            for (;;)
            {
                exclusion.inBlock.store(true);
                const Hold hold = exclusion.hold.load();
                if (hold == Hold::none)
                {
                    admitted = true;
                    if (exclusion.blockWaiting.load(std::memory_order_relaxed))
                        exclusion.blockWaiting.store(false, std::memory_order_relaxed);
                    return;
                }
                exclusion.inBlock.store(false);
                if (hold == Hold::sweep)
                {
                    exclusion.blockWaiting.store(false);
                    return;
                }
                // Waits for that one call only: the next holder lets this block in first, and should
                // a sweep follow anyway, the next round passes the block through.
                exclusion.blockWaiting.store(true);
                while (exclusion.hold.load() == Hold::singleCall)
                    std::this_thread::yield();
            }
        }
        ~Block()
        {
            if (admitted)
                exclusion.inBlock.store(false, std::memory_order_release);
        }

        bool isAdmitted() const { return admitted; }

    private:
        ProcessingExclusion& exclusion;
        bool admitted = false;
    };

    // [host thread] or [message thread]: holds the effect until destroyed, once the block under way
    // (if any) has ended. One holder at a time; a second waits for the first.
    class Holder : private NonCopyable
    {
    public:
        Holder(ProcessingExclusion& exclusion, Hold hold) : exclusion(exclusion)
        {
            exclusion.holderLock.lock();
            // A block waiting for the previous holder's call goes first, so that holders following
            // each other closely cannot keep it out.
            while (exclusion.blockWaiting.load())
                std::this_thread::yield();
            exclusion.hold.store(hold);
            while (exclusion.inBlock.load())
                std::this_thread::yield();
        }
        ~Holder()
        {
            exclusion.hold.store(Hold::none);
            exclusion.holderLock.unlock();
        }

    private:
        ProcessingExclusion& exclusion;
    };

private:
    std::atomic<bool> inBlock{false};
    // Set by a block that waits for a single call, until it is admitted or passes through.
    std::atomic<bool> blockWaiting{false};
    std::atomic<Hold> hold{Hold::none};
    std::mutex holderLock;
};
