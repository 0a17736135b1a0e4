#pragma once
// Writes and reads the saved effect state in the layout of EffectStateBlock.h. It touches bytes
// only: the processor asks the effect and hands the answers over (saving), or takes the stored
// values and hands them to the effect (restoring), so the order of the effect's calls stays the
// processor's business.

#include "effect_bridge/EffectStateBlock.h"

#include <juce_core/juce_core.h>

#include <cstddef>
#include <cstdint>

namespace EffectStateSerializer
{

// What saving writes without an effect: eight zero bytes, too short to be restored.
void appendEmptyState(juce::MemoryBlock& destination);

// The chunk form: the effect's chunk, then the chunk-form marker twice. A null chunk or a length
// below 1 offers no data, and only the markers are written.
void appendChunkForm(juce::MemoryBlock& destination, const void* chunk, intptr_t length);

// The parameter form, laid out zeroed at once behind what the destination holds and filled program
// by program. The destination must not change size until finish().
class ParameterFormWriter
{
public:
    // numParameters and numPrograms: 0 or more.
    ParameterFormWriter(juce::MemoryBlock& destination, int32_t numParameters, int32_t numPrograms);

    // Keeps the first 64 bytes of the zero-terminated name, zero-padded. Out of range: nothing.
    void writeProgramName(int32_t program, const char* name);
    // Out of range: nothing.
    void writeValue(int32_t program, int32_t parameter, float value);
    // The marker and the current program.
    void finish(int32_t currentProgram);

private:
    uint8_t* recordAt(int32_t program) const;

    juce::MemoryBlock& destination;
    size_t start;
    int32_t numParameters;
    int32_t numPrograms;
};

// One saved block, read in place: the caller keeps the bytes alive while it reads.
class Reader
{
public:
    enum class Form
    {
        unreadable, // too short, no data, or an unknown marker: the block is ignored
        chunk,      // ends in the chunk-form marker
        parameters  // ends in a parameter-form marker (either of the two)
    };

    // A negative size reads as no data.
    Reader(const void* data, int sizeInBytes);

    Form form() const { return blockForm; }

    // The chunk form: the bytes before the trailer.
    const uint8_t* chunkData() const { return bytes; }
    size_t chunkSize() const;

    // The parameter form; a chunk-form block is read this way too, for an effect without chunks.
    int32_t storedParameterCount() const;
    int32_t storedProgramCount() const;
    int32_t storedCurrentProgram() const;
    // The program records that lie wholly before the trailer, at most the stored count; none when
    // either stored count is negative. Records are stepped by the stored parameter count.
    int32_t readableProgramCount() const;
    // The 64-byte name field of a readable record, terminated after 64 bytes at the latest.
    void programName(int32_t program, char (&name)[EffectStateBlock::kProgramNameSize + 1]) const;
    // Value `parameter` (below the stored count) of a readable record.
    float value(int32_t program, int32_t parameter) const;

private:
    const uint8_t* record(int32_t program) const;

    const uint8_t* bytes = nullptr;
    size_t size = 0;
    Form blockForm = Form::unreadable;
};

} // namespace EffectStateSerializer
