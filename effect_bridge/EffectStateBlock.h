#pragma once
// The byte layout of the saved effect state. Saved sessions hold these blocks, so the layout never
// changes: every number big-endian; the last eight bytes tell the form.
//
// Chunk form (effects with effFlagsProgramChunks): the effect's chunk, then the chunk-form marker
// twice.
// Parameter form: P and N (signed 32-bit), then per program a 64-byte zero-padded name and P
// single-precision values, then the parameter-form marker and the current program (signed 32-bit).

#include "platform/BigEndian.h"

#include <cstddef>
#include <cstdint>

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

// Every number of every form, in the one byte order saved data uses.
using BigEndian::readFloat;
using BigEndian::readInt32;
using BigEndian::readUint32;
using BigEndian::writeFloat;
using BigEndian::writeInt32;
using BigEndian::writeUint32;

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
