#include "effect_bridge/HostValueRecord.h"

#include <cstring>
#include <new>

namespace
{

uint32_t bitsOf(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

void HostValueRecord::allocate(int32_t numEntries)
{
    count = 0;
    entries.reset(numEntries > 0 ? new (std::nothrow) Entry[static_cast<size_t>(numEntries)] : nullptr);
    if (entries != nullptr)
        count = numEntries;
}

void HostValueRecord::noteReported(int32_t index, float value)
{
    if (inRange(index))
        entries[static_cast<size_t>(index)].seen.store(kKnown | bitsOf(value));
}

void HostValueRecord::noteHostWrite(int32_t index, float value)
{
    if (!inRange(index))
        return;
    Entry& entry = entries[static_cast<size_t>(index)];
    entry.writes.fetch_add(1);
    entry.seen.store(kKnown | bitsOf(value));
}

bool HostValueRecord::differs(int32_t index, float value) const
{
    if (!inRange(index))
        return false;
    const uint64_t seen = entries[static_cast<size_t>(index)].seen.load();
    return (seen & kKnown) == 0 || static_cast<uint32_t>(seen) != bitsOf(value);
}

bool HostValueRecord::lastSeen(int32_t index, float& value) const
{
    if (!inRange(index))
        return false;
    const uint64_t seen = entries[static_cast<size_t>(index)].seen.load();
    if ((seen & kKnown) == 0)
        return false;
    const auto bits = static_cast<uint32_t>(seen);
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

void HostValueRecord::noteSentToHost(int32_t index, float value)
{
    if (!inRange(index))
        return;
    noteReported(index, value);
    Entry& entry = entries[static_cast<size_t>(index)];
    entry.answersDue[entry.nextAnswer.fetch_add(1) % kAnswersDue].store(kKnown | bitsOf(value));
}

bool HostValueRecord::takeAnswer(int32_t index, float value)
{
    if (!inRange(index))
        return false;
    const uint64_t answer = kKnown | bitsOf(value);
    for (std::atomic<uint64_t>& due : entries[static_cast<size_t>(index)].answersDue)
    {
        uint64_t expected = answer;
        if (due.compare_exchange_strong(expected, 0))
            return true;
    }
    return false;
}

uint32_t HostValueRecord::hostWrites(int32_t index) const
{
    return inRange(index) ? entries[static_cast<size_t>(index)].writes.load() : 0;
}
