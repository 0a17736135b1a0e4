#include "effect_bridge/HostCallback.h"

#include "effect_bridge/QuennetAudioProcessor.h"

#include <cmath>
#include <cstring>

namespace
{

struct HostCapability
{
    const char* text;
    intptr_t answer; // negative closes the table
};

// Searched in order by exact, case-sensitive comparison; the closing entry is never compared.
constexpr HostCapability hostCapabilities[] = {
    {"sendVstEvents", 1},
    {"sendVstMidiEvent", 1},
    {"sendVstTimeInfo", 1},
    {"receiveVstEvents", 0},
    {"receiveVstMidiEvent", 0},
    {"receiveVstTimeInfo", 0},
    {"reportConnectionChanges", 0},
    {"acceptIOChanges", 0},
    {"sizeWindow", 0},
    {"asyncProcessing", 0},
    {"offline", 0},
    {"supplyIdle", 1},
    {"supportShell", 0},
    {"<end>", -1},
};

QuennetAudioProcessor* processorOf(const AEffect* effect)
{
    if (effect == nullptr || effect->resvd1 == 0)
        return nullptr;
    return reinterpret_cast<QuennetAudioProcessor*>(effect->resvd1);
}

intptr_t sampleRateAnswer(double rate)
{
    // Truncated like any conversion to an integer; a rate that has no integer form answers the
    // default rather than an undefined conversion, and so does the rate 0 of a processor not yet
    // prepared, which the effect would divide by.
    if (!std::isfinite(rate) || rate < 1.0 || rate > 1.0e9)
        return kHostDefaultSampleRate;
    return static_cast<intptr_t>(rate);
}

} // namespace

intptr_t hostCanDo(const char* capability)
{
    if (capability == nullptr)
        return 0;
    for (const HostCapability& entry : hostCapabilities)
    {
        if (entry.answer < 0)
            break;
        if (std::strcmp(entry.text, capability) == 0)
            return entry.answer;
    }
    return 0;
}

intptr_t hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    (void)value; // audioMasterGetTime's wanted fields: the whole record is brought up to date
    QuennetAudioProcessor* processor = processorOf(effect);
    switch (opcode)
    {
    case audioMasterAutomate:
        // NaN fails both comparisons and is ignored with every other value outside 0..1.
        if (processor != nullptr && opt >= 0.0f && opt <= 1.0f)
            processor->setParameterFromEffect(index, opt);
        return 0;
    case audioMasterVersion:
        return kHostVstVersion;
    case audioMasterCurrentId:
        return kHostCurrentId;
    case audioMasterPinConnected:
        return index < kHostConnectedPins ? 0 : 1;
    case audioMasterGetTime:
        return processor != nullptr ? reinterpret_cast<intptr_t>(processor->getTimeInfo()) : 0;
    case audioMasterSizeWindow:
        if (processor != nullptr && processor->isEffectReady())
            processor->editorResizePending = true;
        return 1;
    case audioMasterGetSampleRate:
        return processor != nullptr ? sampleRateAnswer(processor->getSampleRate()) : kHostDefaultSampleRate;
    case audioMasterGetBlockSize:
        return processor != nullptr ? static_cast<intptr_t>(effectBlockSize(processor->getBlockSize()))
                                    : kHostDefaultBlockSize;
    case audioMasterGetVendorString:
        if (ptr != nullptr)
            std::memcpy(ptr, kHostVendorString, std::strlen(kHostVendorString) + 1);
        return 0;
    case audioMasterGetProductString:
        if (ptr != nullptr)
            std::memcpy(ptr, kHostProductString, std::strlen(kHostProductString) + 1);
        return 0;
    case audioMasterVendorSpecific:
        return 1;
    case audioMasterCanDo:
        return hostCanDo(static_cast<const char*>(ptr));
    case audioMasterIOChanged:
        // The effect changed its delay (or channels): the processor reads it again off this thread,
        // which may be the audio thread.
        if (processor == nullptr)
            return 0;
        processor->announceEffectInputOutputChange();
        return 1;
    case audioMasterUpdateDisplay:
        if (processor != nullptr && processor->isEffectReady())
            processor->requestRefresh();
        return 0;
    default:
        return 0;
    }
}
