// Feeds arbitrary bytes to the chunk reader as the data of a chunk allocated exactly as a host
// does, and checks that whatever it read is written and read back unchanged.

#include "aax_library/AAX_CChunkDataParser.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

namespace
{
constexpr uint8_t kDefaultChunkMarker[4] = {1, 1, 1, 1};

std::unique_ptr<uint8_t[]> MakeChunk(const uint8_t* prefix, size_t prefixSize, const uint8_t* data,
                                     size_t size)
{
    std::unique_ptr<uint8_t[]> memory(new uint8_t[AAX_SPlugInChunkHeaderSize + prefixSize + size]());
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(memory.get());
    chunk->fSize = static_cast<int32_t>(prefixSize + size);
    if (prefixSize > 0)
        std::memcpy(memory.get() + AAX_SPlugInChunkHeaderSize, prefix, prefixSize);
    if (size > 0)
        std::memcpy(memory.get() + AAX_SPlugInChunkHeaderSize + prefixSize, data, size);
    return memory;
}

void LoadAndRewrite(const uint8_t* prefix, size_t prefixSize, const uint8_t* data, size_t size)
{
    const std::unique_ptr<uint8_t[]> input = MakeChunk(prefix, prefixSize, data, size);
    AAX_CChunkDataParser parser;
    parser.LoadChunk(reinterpret_cast<const AAX_SPlugInChunk*>(input.get()));

    int32_t typed = 0;
    for (int32_t i = 0; i < parser.GetNumEntries(); ++i)
        if (parser.GetEntryType(i) != AAX_CChunkDataParser::kType_None)
            ++typed;

    const int32_t size2 = parser.GetChunkDataSize();
    OMBREL_FUZZ_CHECK(size2 >= 4);
    std::unique_ptr<uint8_t[]> output(new uint8_t[AAX_SPlugInChunkHeaderSize + static_cast<size_t>(size2)]());
    auto* written = reinterpret_cast<AAX_SPlugInChunk*>(output.get());
    OMBREL_FUZZ_CHECK(parser.GetChunkData(written) == AAX_SUCCESS);
    OMBREL_FUZZ_CHECK(written->fSize == size2);

    AAX_CChunkDataParser reread;
    reread.LoadChunk(written);
    OMBREL_FUZZ_CHECK(reread.GetNumEntries() == typed);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max()) - sizeof kDefaultChunkMarker)
        return 0;
    // The raw bytes, and the same bytes behind a valid marker so that most runs reach the entries.
    LoadAndRewrite(nullptr, 0, data, size);
    LoadAndRewrite(kDefaultChunkMarker, sizeof kDefaultChunkMarker, data, size);
    return 0;
}
