#pragma once
// Per effect parameter, the value the host last saw: the one last reported to it or last written
// by it. A refresh reports only values that differ from it, so that a host writing automation does
// not record a point for every parameter at every display update; and a count of host writes lets
// a refresh that read a value before the host wrote another see that the host's value is newer.
// Every operation after allocate is lock-free, so any thread may use the record.

#include "platform/NonCopyable.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

class HostValueRecord : private NonCopyable
{
public:
    // [host thread] Before any other use: count entries, each holding no value yet.
    void allocate(int32_t count);

    // [any thread] The host was told value. Out of range: nothing.
    void noteReported(int32_t index, float value);
    // [any thread] The host wrote value and the effect took it. Out of range: nothing.
    void noteHostWrite(int32_t index, float value);

    // [any thread] Whether value differs from what the host last saw (bit for bit, so that an
    // effect holding NaN is not reported again and again); true while the host has seen nothing.
    // Out of range: false.
    bool differs(int32_t index, float value) const;
    // [any thread] The value the host last saw into value; false (value untouched) while it has
    // seen none, and out of range.
    bool lastSeen(int32_t index, float& value) const;
    // [any thread] The effect's value was sent to the host: the host has seen it, and its answer
    // will bring it back. The last kAnswersDue such values are kept. Out of range: nothing.
    void noteSentToHost(int32_t index, float value);
    // [any thread] Whether value is the answer to one sent (bit for bit), which is then no longer
    // due. Out of range: false.
    bool takeAnswer(int32_t index, float value);
    // [any thread] How many host writes the parameter has had; 0 out of range.
    uint32_t hostWrites(int32_t index) const;

private:
    static constexpr size_t kAnswersDue = 16;
    struct Entry
    {
        // The float's bits in the low half and kKnown once the host has seen a value.
        std::atomic<uint64_t> seen{0};
        std::atomic<uint32_t> writes{0};
        // Values whose answers are due, in the same form (0: none), written round in turn.
        std::atomic<uint64_t> answersDue[kAnswersDue]{};
        std::atomic<uint32_t> nextAnswer{0};
    };
    static constexpr uint64_t kKnown = uint64_t{1} << 32;

    bool inRange(int32_t index) const { return index >= 0 && index < count; }

    std::unique_ptr<Entry[]> entries;
    int32_t count = 0;
};
