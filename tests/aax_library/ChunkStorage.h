#pragma once
// A plug-in chunk allocated exactly as a host does: the 56-byte header and fSize data bytes, not
// one byte more, so that the address sanitizer sees any access past the promised size.

#include "aax_library/AAX_Types.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

class ChunkStorage
{
public:
    explicit ChunkStorage(int32_t dataBytes)
        : mBytes(AAX_SPlugInChunkHeaderSize + static_cast<size_t>(std::max(dataBytes, 0))),
          mMemory(new uint8_t[mBytes]())
    {
        chunk()->fSize = dataBytes;
    }

    ChunkStorage(int32_t dataBytes, const std::vector<uint8_t>& data) : ChunkStorage(dataBytes)
    {
        const size_t count = std::min(data.size(), capacity());
        if (count > 0)
            std::memcpy(this->data(), data.data(), count);
    }

    AAX_SPlugInChunk* chunk() { return reinterpret_cast<AAX_SPlugInChunk*>(mMemory.get()); }
    uint8_t* data() { return mMemory.get() + AAX_SPlugInChunkHeaderSize; }
    size_t capacity() const { return mBytes - AAX_SPlugInChunkHeaderSize; }
    std::vector<uint8_t> dataBytes() { return std::vector<uint8_t>(data(), data() + capacity()); }

private:
    size_t mBytes;
    std::unique_ptr<uint8_t[]> mMemory;
};
