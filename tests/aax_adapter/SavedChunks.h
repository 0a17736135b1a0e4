#pragma once
// The module's two chunks as the tests name and build them: 'elck' holds the published
// parameters' values, 'All ' the processor's state block.

#include "aax_library/AAX_Types.h"
#include "host_kit/DataModelInstance.h"

#include <cstdint>
#include <utility>
#include <vector>

constexpr AAX_CTypeID kAllChunk = AAX_FourCC('A', 'l', 'l', ' ');
constexpr AAX_CTypeID kControlsChunk = AAX_FourCC('e', 'l', 'c', 'k');

// An 'All ' chunk holding `data`, as a host hands a saved one back.
inline testhost::SavedChunk allChunk(std::vector<uint8_t> data)
{
    testhost::SavedChunk chunk;
    chunk.id = kAllChunk;
    chunk.data = std::move(data);
    return chunk;
}
