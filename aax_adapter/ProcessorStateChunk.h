#pragma once
// The 'All ' chunk: the processor's whole state as the opaque bytes its getStateInformation
// produces, with no header of the adapter's own. A save is a size query then a read; the state is
// produced once by the query and handed over by the read, so the host receives exactly the bytes
// it was told the size of.

#include "aax_library/AAX_Types.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdint>

namespace AAXClasses
{

// [host thread] Produces the state into pendingState (emptied first) and answers its size.
AAX_Result sizeProcessorState(juce::AudioProcessor& processor, juce::MemoryBlock& pendingState,
                              uint32_t* size);

// [host thread] Hands pendingState over into the chunk, producing it first when no size query came
// before, and leaves pendingState empty.
AAX_Result readProcessorState(juce::AudioProcessor& processor, juce::MemoryBlock& pendingState,
                              AAX_SPlugInChunk* chunk);

// [host thread] Gives the chunk's bytes to the processor unchanged.
AAX_Result writeProcessorState(juce::AudioProcessor& processor, const AAX_SPlugInChunk* chunk);

} // namespace AAXClasses
