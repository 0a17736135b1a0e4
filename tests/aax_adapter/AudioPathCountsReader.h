#pragma once
// Reads the module's audio-path counts as a developer's host does: the data-model object's custom
// data block 'Omct', two unsigned 64-bit numbers most significant byte first (blocks passed
// through during a program sweep, then MIDI events dropped). Decoded here on its own, so that the
// tests check the module's byte layout rather than reuse its reader.

#include "host_kit/DataModelInstance.h"

#include <cstdint>

constexpr uint32_t kModuleAudioPathCountsBlock =
    (uint32_t{'O'} << 24) | (uint32_t{'m'} << 16) | (uint32_t{'c'} << 8) | uint32_t{'t'};

struct ModuleAudioPathCounts
{
    bool answered = false;
    uint64_t passedThroughBlocks = 0;
    uint64_t droppedMidiEvents = 0;
};

inline ModuleAudioPathCounts readModuleAudioPathCounts(testhost::DataModelInstance& dataModel)
{
    uint8_t bytes[32] = {};
    uint32_t written = 0;
    ModuleAudioPathCounts counts;
    if (dataModel->GetCustomData(kModuleAudioPathCountsBlock, sizeof bytes, bytes, &written) != AAX_SUCCESS ||
        written != 16)
        return counts;
    const auto number = [&](int offset)
    {
        uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value = (value << 8) | bytes[offset + i];
        return value;
    };
    counts.answered = true;
    counts.passedThroughBlocks = number(0);
    counts.droppedMidiEvents = number(8);
    return counts;
}
