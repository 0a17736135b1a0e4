#include "effect_bridge/EffectStateSerializer.h"

#include <algorithm>
#include <cstring>

namespace EffectStateSerializer
{

using namespace EffectStateBlock;

void appendEmptyState(juce::MemoryBlock& destination)
{
    const uint8_t empty[kEmptyStateSize] = {};
    destination.append(empty, sizeof(empty));
}

void appendChunkForm(juce::MemoryBlock& destination, const void* chunk, intptr_t length)
{
    if (chunk != nullptr && length > 0)
        destination.append(chunk, static_cast<size_t>(length));
    uint8_t trailer[kTrailerSize];
    writeUint32(trailer, kChunkFormMarker);
    writeUint32(trailer + 4, kChunkFormMarker);
    destination.append(trailer, sizeof(trailer));
}

//==============================================================================
ParameterFormWriter::ParameterFormWriter(juce::MemoryBlock& block, int32_t parameters, int32_t programs)
    : destination(block), start(block.getSize()), numParameters(std::max<int32_t>(0, parameters)),
      numPrograms(std::max<int32_t>(0, programs))
{
    destination.setSize(start + parameterFormSize(numParameters, numPrograms), true);
    uint8_t* header = static_cast<uint8_t*>(destination.getData()) + start;
    writeInt32(header, numParameters);
    writeInt32(header + 4, numPrograms);
}

uint8_t* ParameterFormWriter::recordAt(int32_t program) const
{
    return static_cast<uint8_t*>(destination.getData()) + start + kHeaderSize +
           static_cast<size_t>(program) * programRecordSize(numParameters);
}

void ParameterFormWriter::writeProgramName(int32_t program, const char* name)
{
    if (program < 0 || program >= numPrograms || name == nullptr)
        return;
    std::memcpy(recordAt(program), name, strnlen(name, kProgramNameSize));
}

void ParameterFormWriter::writeValue(int32_t program, int32_t parameter, float value)
{
    if (program < 0 || program >= numPrograms || parameter < 0 || parameter >= numParameters)
        return;
    writeFloat(recordAt(program) + kProgramNameSize + kValueSize * static_cast<size_t>(parameter), value);
}

void ParameterFormWriter::finish(int32_t currentProgram)
{
    uint8_t* trailer = recordAt(numPrograms);
    writeUint32(trailer, kParameterFormMarker);
    writeInt32(trailer + 4, currentProgram);
}

//==============================================================================
Reader::Reader(const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes < static_cast<int>(kMinimumRestorableSize))
        return;
    bytes = static_cast<const uint8_t*>(data);
    size = static_cast<size_t>(sizeInBytes);
    const uint32_t marker = readUint32(bytes + size - kTrailerSize);
    if (marker == kChunkFormMarker)
        blockForm = Form::chunk;
    else if (marker == kParameterFormMarker || marker == kLegacyParameterFormMarker)
        blockForm = Form::parameters;
}

size_t Reader::chunkSize() const
{
    return blockForm == Form::unreadable ? 0 : size - kTrailerSize;
}

int32_t Reader::storedParameterCount() const
{
    return blockForm == Form::unreadable ? 0 : readInt32(bytes);
}

int32_t Reader::storedProgramCount() const
{
    return blockForm == Form::unreadable ? 0 : readInt32(bytes + 4);
}

int32_t Reader::storedCurrentProgram() const
{
    return blockForm == Form::unreadable ? 0 : readInt32(bytes + size - kTrailerSize + 4);
}

int32_t Reader::readableProgramCount() const
{
    const int32_t parameters = storedParameterCount();
    const int32_t programs = storedProgramCount();
    const size_t trailer = size - kTrailerSize;
    // Negative counts locate no record at all; a block without room for a header holds none.
    if (blockForm == Form::unreadable || parameters < 0 || programs < 0 || trailer < kHeaderSize)
        return 0;
    const size_t fitting = (trailer - kHeaderSize) / programRecordSize(parameters);
    return static_cast<int32_t>(std::min(fitting, static_cast<size_t>(programs)));
}

const uint8_t* Reader::record(int32_t program) const
{
    return bytes + kHeaderSize + static_cast<size_t>(program) * programRecordSize(storedParameterCount());
}

void Reader::programName(int32_t program, char (&name)[kProgramNameSize + 1]) const
{
    name[0] = '\0';
    if (program < 0 || program >= readableProgramCount())
        return;
    std::memcpy(name, record(program), kProgramNameSize);
    name[kProgramNameSize] = '\0';
}

float Reader::value(int32_t program, int32_t parameter) const
{
    if (program < 0 || program >= readableProgramCount() || parameter < 0 ||
        parameter >= storedParameterCount())
        return 0.0f;
    return readFloat(record(program) + kProgramNameSize + kValueSize * static_cast<size_t>(parameter));
}

} // namespace EffectStateSerializer
