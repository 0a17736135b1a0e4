#pragma once
// The automation an effect reports from inside its processing, on its way from the audio thread to
// the message thread, which hands it to the host. The audio thread only writes into memory sized in
// advance: a bounded ring of reports, kept in order, and beside it one slot per parameter for when
// the ring is full, which keeps only that parameter's latest value. Writing and reading never wait.
// Every report carries a sequence number, so that the reader never hands on a parameter's value
// older than one it already handed on (a report still in the ring behind a newer one in its slot).

#include "platform/NonCopyable.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace AAXClasses
{

class AutomationQueue : private NonCopyable
{
public:
    struct Report
    {
        int32_t index;
        float value;
    };

    // [host thread] A queue for parameters 0 .. parameterCount - 1 and a ring of ringCapacity
    // reports (rounded up to a power of two).
    AutomationQueue(int32_t parameterCount, uint32_t ringCapacity);

    // [audio thread] One report; an index outside the parameters is ignored. From one thread at a
    // time: the host runs one instance's blocks one after the other.
    void push(int32_t index, float value);

    // [message thread] Hands every waiting report to deliver: the ring's reports in the order they
    // were made, then the latest value of each parameter that overflowed, skipping any value older
    // than one already handed on for its parameter. From one thread at a time. Returns how many
    // were handed over.
    template <typename Deliver> int32_t drain(Deliver&& deliver)
    {
        int32_t delivered = 0;
        uint32_t read = readPosition.load(std::memory_order_relaxed);
        const uint32_t written = writePosition.load(std::memory_order_acquire);
        for (; read != written; ++read)
        {
            const Entry entry = ring[read & ringMask];
            delivered += handOn(entry.index, entry.value, entry.sequence, deliver);
        }
        readPosition.store(read, std::memory_order_release);
        if (overflowCount.exchange(0, std::memory_order_acq_rel) == 0)
            return delivered;
        for (int32_t index = 0; index < parameterCount; ++index)
        {
            const auto slot = static_cast<size_t>(index);
            if (!overflowed[slot].exchange(false, std::memory_order_acq_rel))
                continue;
            const uint64_t packed = latest[slot].load(std::memory_order_acquire);
            delivered += handOn(index, valueOf(packed), sequenceOf(packed), deliver);
        }
        return delivered;
    }

    // [any thread] Reports that found the ring full since construction.
    uint64_t overflows() const { return overflowTotal.load(std::memory_order_relaxed); }

private:
    struct Entry
    {
        int32_t index;
        float value;
        uint32_t sequence;
    };

    static uint64_t pack(float value, uint32_t sequence);
    static float valueOf(uint64_t packed);
    static uint32_t sequenceOf(uint64_t packed) { return static_cast<uint32_t>(packed >> 32); }

    // [message thread] Hands the report on unless its parameter already went on with a newer one.
    template <typename Deliver>
    int32_t handOn(int32_t index, float value, uint32_t sequence, Deliver& deliver)
    {
        const auto slot = static_cast<size_t>(index);
        if (handedOn[slot] && static_cast<int32_t>(sequence - lastHandedOn[slot]) <= 0)
            return 0;
        handedOn[slot] = true;
        lastHandedOn[slot] = sequence;
        deliver(Report{index, value});
        return 1;
    }

    const int32_t parameterCount;
    const uint32_t ringMask;
    std::unique_ptr<Entry[]> ring;
    // Per parameter: the overflow slot (value and sequence in one word) and whether it waits.
    std::unique_ptr<std::atomic<uint64_t>[]> latest;
    std::unique_ptr<std::atomic<bool>[]> overflowed;
    // The reader's own: the sequence of each parameter's last value handed on.
    std::unique_ptr<uint32_t[]> lastHandedOn;
    std::unique_ptr<bool[]> handedOn;
    // The writer's own.
    uint32_t nextSequence = 0;
    std::atomic<uint32_t> writePosition{0};
    std::atomic<uint32_t> readPosition{0};
    // Overflowed parameters not yet delivered, so that a reader with none skips the per-parameter walk.
    std::atomic<uint32_t> overflowCount{0};
    std::atomic<uint64_t> overflowTotal{0};
};

} // namespace AAXClasses
