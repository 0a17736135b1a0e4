#include "aax_adapter/AutomationQueue.h"

#include <algorithm>
#include <cstring>

namespace AAXClasses
{

namespace
{

uint32_t powerOfTwoAtLeast(uint32_t count)
{
    uint32_t capacity = 1;
    while (capacity < count && capacity < (1u << 30))
        capacity <<= 1;
    return capacity;
}

} // namespace

AutomationQueue::AutomationQueue(int32_t parameters, uint32_t ringCapacity)
    : parameterCount(std::max(0, parameters)), ringMask(powerOfTwoAtLeast(ringCapacity) - 1),
      ring(new Entry[static_cast<size_t>(ringMask) + 1]()),
      latest(new std::atomic<uint64_t>[static_cast<size_t>(parameterCount)]),
      overflowed(new std::atomic<bool>[static_cast<size_t>(parameterCount)]),
      lastHandedOn(new uint32_t[static_cast<size_t>(parameterCount)]()),
      handedOn(new bool[static_cast<size_t>(parameterCount)]())
{
    for (int32_t index = 0; index < parameterCount; ++index)
    {
        latest[static_cast<size_t>(index)].store(0, std::memory_order_relaxed);
        overflowed[static_cast<size_t>(index)].store(false, std::memory_order_relaxed);
    }
}

uint64_t AutomationQueue::pack(float value, uint32_t sequence)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return (static_cast<uint64_t>(sequence) << 32) | bits;
}

float AutomationQueue::valueOf(uint64_t packed)
{
    const auto bits = static_cast<uint32_t>(packed);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

void AutomationQueue::push(int32_t index, float value)
{
    if (index < 0 || index >= parameterCount)
        return;
    const auto slot = static_cast<size_t>(index);
    const uint32_t sequence = nextSequence++;
    const uint32_t written = writePosition.load(std::memory_order_relaxed);
    if (written - readPosition.load(std::memory_order_acquire) > ringMask)
    {
        latest[slot].store(pack(value, sequence), std::memory_order_release);
        if (!overflowed[slot].exchange(true, std::memory_order_acq_rel))
            overflowCount.fetch_add(1, std::memory_order_release);
        overflowTotal.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    ring[written & ringMask] = Entry{index, value, sequence};
    writePosition.store(written + 1, std::memory_order_release);
}

} // namespace AAXClasses
