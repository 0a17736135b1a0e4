#include "aax_adapter/ProcessorStateChunk.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace AAXClasses
{

AAX_Result sizeProcessorState(juce::AudioProcessor& processor, juce::MemoryBlock& pendingState,
                              uint32_t* size)
{
    if (size == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    pendingState.reset();
    processor.getStateInformation(pendingState);
    if (pendingState.getSize() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    {
        pendingState.reset();
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    }
    *size = static_cast<uint32_t>(pendingState.getSize());
    return AAX_SUCCESS;
}

AAX_Result readProcessorState(juce::AudioProcessor& processor, juce::MemoryBlock& pendingState,
                              AAX_SPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    if (pendingState.getSize() == 0)
    {
        // A read without a size query: the host cannot have sized its record for this state, so
        // a record it says is smaller is not written past.
        processor.getStateInformation(pendingState);
        const size_t produced = pendingState.getSize();
        if (produced > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ||
            (chunk->fSize > 0 && static_cast<size_t>(chunk->fSize) < produced))
        {
            pendingState.reset();
            return AAX_ERROR_INCORRECT_CHUNK_SIZE;
        }
    }
    chunk->fSize = static_cast<int32_t>(pendingState.getSize());
    if (pendingState.getSize() > 0)
        std::memcpy(chunk->fData, pendingState.getData(), pendingState.getSize());
    pendingState.reset();
    return AAX_SUCCESS;
}

AAX_Result writeProcessorState(juce::AudioProcessor& processor, const AAX_SPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    // A negative size carries no bytes; the processor ignores blocks too short to read.
    processor.setStateInformation(chunk->fData, std::max(chunk->fSize, 0));
    return AAX_SUCCESS;
}

} // namespace AAXClasses
