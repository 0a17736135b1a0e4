#pragma once
// The delay's saved state as the host stores it (effGetChunk / effSetChunk): a versioned, big-endian
// byte layout written and read by one pair of functions.
//
//   offset  size  content
//   0       4     'OmDl'
//   4       4     format version (1)
//   8       4     'bank' (every program) or 'prog' (the current program only)
//   12      4     P, parameters per program
//   16      4     N, programs in the chunk (1 for 'prog')
//   20      4     the current program when saved
//   24      ...   N records of a 24-byte zero-padded name and P IEEE-754 single-precision values
//
// A chunk is read only when it is complete and exactly as long as its header says; anything else is
// refused before a single value changes. Counts that differ from this build's are cut to the smaller.

#include "examples/delay/DelayProgramBank.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class DelayChunk
{
public:
    enum class Scope
    {
        Bank,   // every program and the current program's number
        Program // the current program's name and values only
    };

    static constexpr uint32_t kFormatVersion = 1;
    static constexpr size_t kHeaderBytes = 24;

    // [host thread] replaces out's contents with the chunk of the given scope.
    static void write(const DelayProgramBank& bank, Scope scope, std::vector<uint8_t>& out);
    // [host thread] restores a chunk of the given scope into bank; false, with bank untouched, when the
    // data is not such a chunk. A program chunk restores into the current program.
    static bool read(const uint8_t* data, size_t size, Scope scope, DelayProgramBank& bank);
};
