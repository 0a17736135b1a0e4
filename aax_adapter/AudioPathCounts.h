#pragma once
// What the audio path counts and a developer's host reads: blocks that passed their input through
// because the host thread was sweeping the effect's programs (a parameter-form save or restore),
// and MIDI events dropped because a piece's buffer was full. The data-model object hands them out
// as one custom data block; this pair of functions is that block's only writer and reader.

#include "aax_library/AAX_Types.h"

#include <cstdint>

namespace AAXClasses
{

// The custom data block (GetCustomData) that holds the counts: two unsigned 64-bit numbers, most
// significant byte first, in the order of the record below.
constexpr uint32_t kAudioPathCountsBlock = AAX_FourCC('O', 'm', 'c', 't');
constexpr uint32_t kAudioPathCountsSize = 16;

struct AudioPathCounts
{
    uint64_t passedThroughBlocks = 0;
    uint64_t droppedMidiEvents = 0;
};

// [any thread] The counts into destination, which holds size bytes: the bytes written, or 0 when
// they do not fit.
uint32_t writeAudioPathCounts(const AudioPathCounts& counts, void* destination, uint32_t size);

// [any thread] The counts from size bytes at source; false (counts untouched) when they are not
// the whole block.
bool readAudioPathCounts(const void* source, uint32_t size, AudioPathCounts& counts);

} // namespace AAXClasses
