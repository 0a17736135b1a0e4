#include "aax_adapter/AudioPathCounts.h"

#include "platform/BigEndian.h"

namespace AAXClasses
{

namespace
{

constexpr uint32_t kHalfBits = 32;

void writeUint64(uint8_t* destination, uint64_t value)
{
    BigEndian::writeUint32(destination, static_cast<uint32_t>(value >> kHalfBits));
    BigEndian::writeUint32(destination + sizeof(uint32_t), static_cast<uint32_t>(value));
}

uint64_t readUint64(const uint8_t* source)
{
    return (static_cast<uint64_t>(BigEndian::readUint32(source)) << kHalfBits) |
           BigEndian::readUint32(source + sizeof(uint32_t));
}

} // namespace

uint32_t writeAudioPathCounts(const AudioPathCounts& counts, void* destination, uint32_t size)
{
    if (destination == nullptr || size < kAudioPathCountsSize)
        return 0;
    auto* bytes = static_cast<uint8_t*>(destination);
    writeUint64(bytes, counts.passedThroughBlocks);
    writeUint64(bytes + sizeof(uint64_t), counts.droppedMidiEvents);
    return kAudioPathCountsSize;
}

bool readAudioPathCounts(const void* source, uint32_t size, AudioPathCounts& counts)
{
    if (source == nullptr || size != kAudioPathCountsSize)
        return false;
    const auto* bytes = static_cast<const uint8_t*>(source);
    counts.passedThroughBlocks = readUint64(bytes);
    counts.droppedMidiEvents = readUint64(bytes + sizeof(uint64_t));
    return true;
}

} // namespace AAXClasses
