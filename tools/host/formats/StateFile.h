#pragma once
// The reference host's saved state: every chunk of one plug-in instance in one file, with the
// identifiers of the plug-in it came from, so that a state of another plug-in (or any other file)
// is recognised as such instead of being fed to the module.
//
// Layout, all integers big-endian:
//   0  8 bytes   "OMBSTATE"
//   8  4         format version (1)
//   12 4         manufacturer id, 16 4 product id, 20 4 native plug-in id of the saved instance
//   24 4         number of chunks (at most kMaximumChunks)
//   then per chunk: 4 chunk id, 4 chunk version (signed), 32 name (zero-padded), 4 data size,
//   data bytes. Nothing follows the last chunk.

#include "host_kit/DataModelInstance.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ombrelhost
{

struct SavedState
{
    uint32_t manufacturerId = 0;
    uint32_t productId = 0;
    uint32_t plugInId = 0;
    std::vector<testhost::SavedChunk> chunks;
};

class StateFile
{
public:
    static std::vector<uint8_t> Encode(const SavedState& state);
    // False with a reason when the bytes are not a complete state of this format.
    static bool Decode(const std::vector<uint8_t>& bytes, SavedState& state, std::string& error);

    static bool Write(const std::string& path, const SavedState& state, std::string& error);
    static bool Read(const std::string& path, SavedState& state, std::string& error);

    static constexpr char kMagic[8] = {'O', 'M', 'B', 'S', 'T', 'A', 'T', 'E'};
    static constexpr uint32_t kFormatVersion = 1;
    static constexpr uint32_t kMaximumChunks = 64;
    static constexpr size_t kNameBytes = 32;
    static constexpr uint32_t kMaximumChunkBytes = 256u * 1024u * 1024u;
};

} // namespace ombrelhost
