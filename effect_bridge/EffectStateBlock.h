#pragma once
// The byte layout of the saved effect state. Saved sessions hold these blocks, so the layout never
// changes: every number big-endian; the last eight bytes tell the form.
//
// Chunk form (effects with effFlagsProgramChunks): the effect's chunk, then the chunk-form marker
// twice.
// Parameter form: P and N (signed 32-bit), then per program a 64-byte zero-padded name and P
// single-precision values, then the parameter-form marker and the current program (signed 32-bit).

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace EffectStateBlock
{

constexpr uint32_t kChunkFormMarker = 0x00003000;
constexpr uint32_t kParameterFormMarker = 0x00002001;
// Written by earlier versions; read as the parameter form.
constexpr uint32_t kLegacyParameterFormMarker = 0x00002000;

constexpr size_t kHeaderSize = 8;
constexpr size_t kTrailerSize = 8;
constexpr size_t kProgramNameSize = 64;
constexpr size_t kValueSize = 4;
// Smaller blocks are ignored: they cannot hold a trailer and a header count.
constexpr size_t kMinimumRestorableSize = 12;
// What saving writes when no effect is loaded: too short to be restored.
constexpr size_t kEmptyStateSize = 8;

inline void writeUint32(uint8_t* destination, uint32_t value)
{
    destination[0] = static_cast<uint8_t>(value >> 24);
    destination[1] = static_cast<uint8_t>(value >> 16);
    destination[2] = static_cast<uint8_t>(value >> 8);
    destination[3] = static_cast<uint8_t>(value);
}

inline uint32_t readUint32(const uint8_t* source)
{
    return (static_cast<uint32_t>(source[0]) << 24) | (static_cast<uint32_t>(source[1]) << 16) |
           (static_cast<uint32_t>(source[2]) << 8) | static_cast<uint32_t>(source[3]);
}

inline void writeInt32(uint8_t* destination, int32_t value)
{
    writeUint32(destination, static_cast<uint32_t>(value));
}

inline int32_t readInt32(const uint8_t* source)
{
    return static_cast<int32_t>(readUint32(source));
}

inline void writeFloat(uint8_t* destination, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    writeUint32(destination, bits);
}

inline float readFloat(const uint8_t* source)
{
    const uint32_t bits = readUint32(source);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

// Size of one program record for P parameters (P >= 0).
inline size_t programRecordSize(int32_t numParameters)
{
    return kProgramNameSize + kValueSize * static_cast<size_t>(numParameters);
}

// Size of the parameter form for P parameters and N programs (both >= 0).
inline size_t parameterFormSize(int32_t numParameters, int32_t numPrograms)
{
    return kHeaderSize + static_cast<size_t>(numPrograms) * programRecordSize(numParameters) + kTrailerSize;
}

} // namespace EffectStateBlock
