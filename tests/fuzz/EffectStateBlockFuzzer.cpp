// Feeds arbitrary bytes to the reader of the saved effect state, in both forms, as a restore does:
// whatever it reads must lie inside the block, and whatever it reads must be written again by the
// serializer into a block that reads back the same.

#include "effect_bridge/EffectStateSerializer.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace
{

using EffectStateSerializer::Reader;
using namespace EffectStateBlock;

// The bytes a value is stored as, so that a NaN compares equal to itself.
uint32_t BitsOf(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void CheckChunkForm(const Reader& block, size_t size)
{
    OMBREL_FUZZ_CHECK(block.chunkSize() == size - kTrailerSize);
    juce::MemoryBlock written;
    EffectStateSerializer::appendChunkForm(written, block.chunkData(), static_cast<intptr_t>(block.chunkSize()));
    const Reader reread(written.getData(), static_cast<int>(written.getSize()));
    OMBREL_FUZZ_CHECK(reread.form() == Reader::Form::chunk);
    OMBREL_FUZZ_CHECK(reread.chunkSize() == block.chunkSize());
    OMBREL_FUZZ_CHECK(std::memcmp(reread.chunkData(), block.chunkData(), block.chunkSize()) == 0);
}

// Every block that is not unreadable is also read as the parameter form (an effect without chunks
// takes a chunk-form block that way).
void CheckParameterForm(const Reader& block, size_t size)
{
    const int32_t parameters = block.storedParameterCount();
    const int32_t readable = block.readableProgramCount();
    OMBREL_FUZZ_CHECK(readable >= 0 && readable <= std::max(0, block.storedProgramCount()));
    if (readable > 0)
        OMBREL_FUZZ_CHECK(parameterFormSize(parameters, readable) <= size);

    juce::MemoryBlock written;
    EffectStateSerializer::ParameterFormWriter writer(written, parameters, readable);
    char name[kProgramNameSize + 1];
    for (int32_t program = 0; program < readable; ++program)
    {
        block.programName(program, name);
        OMBREL_FUZZ_CHECK(name[kProgramNameSize] == '\0');
        writer.writeProgramName(program, name);
        for (int32_t parameter = 0; parameter < parameters; ++parameter)
            writer.writeValue(program, parameter, block.value(program, parameter));
    }
    writer.finish(block.storedCurrentProgram());

    // Reads out of range answer nothing rather than reading beside the records.
    block.programName(readable, name);
    OMBREL_FUZZ_CHECK(name[0] == '\0');
    OMBREL_FUZZ_CHECK(BitsOf(block.value(readable, 0)) == 0);
    OMBREL_FUZZ_CHECK(BitsOf(block.value(0, std::max(0, parameters))) == 0);

    if (written.getSize() > static_cast<size_t>(std::numeric_limits<int>::max()))
        return;
    const Reader reread(written.getData(), static_cast<int>(written.getSize()));
    OMBREL_FUZZ_CHECK(reread.form() == Reader::Form::parameters);
    OMBREL_FUZZ_CHECK(reread.storedParameterCount() == std::max(0, parameters));
    OMBREL_FUZZ_CHECK(reread.storedProgramCount() == readable);
    OMBREL_FUZZ_CHECK(reread.readableProgramCount() == readable);
    OMBREL_FUZZ_CHECK(reread.storedCurrentProgram() == block.storedCurrentProgram());
    char rereadName[kProgramNameSize + 1];
    for (int32_t program = 0; program < readable; ++program)
    {
        block.programName(program, name);
        reread.programName(program, rereadName);
        // The name field keeps what comes before the first zero byte.
        OMBREL_FUZZ_CHECK(std::strcmp(name, rereadName) == 0);
        for (int32_t parameter = 0; parameter < parameters; ++parameter)
            OMBREL_FUZZ_CHECK(BitsOf(reread.value(program, parameter)) == BitsOf(block.value(program, parameter)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > static_cast<size_t>(std::numeric_limits<int>::max()))
        return 0;
    // The input lies in an allocation of its own size, so the sanitizer sees any read beyond it.
    const Reader block(data, static_cast<int>(size));
    switch (block.form())
    {
    case Reader::Form::unreadable:
        OMBREL_FUZZ_CHECK(block.chunkSize() == 0 && block.readableProgramCount() == 0);
        break;
    case Reader::Form::chunk:
        OMBREL_FUZZ_CHECK(size >= kMinimumRestorableSize);
        CheckChunkForm(block, size);
        CheckParameterForm(block, size);
        break;
    case Reader::Form::parameters:
        OMBREL_FUZZ_CHECK(size >= kMinimumRestorableSize);
        CheckParameterForm(block, size);
        break;
    }
    return 0;
}
