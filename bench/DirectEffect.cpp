#include "bench/DirectEffect.h"

#include <dlfcn.h>

namespace
{

constexpr int32_t kEffectResumed = 1;
constexpr int32_t kEffectSuspended = 0;
constexpr double kHostSampleRate = 48000.0;
constexpr double kHostTempo = 120.0;
constexpr int32_t kHostBeatsPerBar = 4;
constexpr int32_t kHostBeatUnit = 4;

// What the effect learns about this host: a VST 2.4 host at a steady 120 bpm, playing. The rate
// and block size reach the effect through its dispatcher, as from any host.
VstTimeInfo& fixedTimeInfo()
{
    static VstTimeInfo timeInfo = []
    {
        VstTimeInfo info{};
        info.sampleRate = kHostSampleRate;
        info.tempo = kHostTempo;
        info.timeSigNumerator = kHostBeatsPerBar;
        info.timeSigDenominator = kHostBeatUnit;
        info.flags = kVstTransportPlaying | kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid;
        return info;
    }();
    return timeInfo;
}

// [any thread] The whole host side of the baseline: version, time, and 0 for everything else.
intptr_t minimalHostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    switch (opcode)
    {
    case audioMasterVersion:
        return kVstVersion2400;
    case audioMasterGetTime:
        return reinterpret_cast<intptr_t>(&fixedTimeInfo());
    default:
        return 0;
    }
}

} // namespace

DirectEffect::DirectEffect(const std::string& libraryPath, float sampleRate, int32_t blockSize)
{
    library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
    {
        const char* reason = dlerror();
        failure = "cannot open " + libraryPath + ": " + (reason != nullptr ? reason : "unknown error");
        return;
    }
    void* entry = dlsym(library, kVstEntryName);
    if (entry == nullptr)
        entry = dlsym(library, kVstStandardEntryName);
    if (entry == nullptr)
    {
        failure = libraryPath + " has no VST 2 entry";
        return;
    }
    AEffect* created = reinterpret_cast<VstPluginEntry>(entry)(&minimalHostCallback);
    if (created == nullptr || created->magic != kEffectMagic || created->dispatcher == nullptr ||
        created->processReplacing == nullptr)
    {
        failure = libraryPath + " created no effect with single-precision processing";
        return;
    }
    effect = created;
    // The same configuration steps, in the same order, as the bridge takes after creating an
    // effect, so that both start from the same state.
    dispatch(effMainsChanged, kEffectSuspended, kEffectSuspended);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, kEffectResumed, kEffectResumed);
}

DirectEffect::~DirectEffect()
{
    if (effect != nullptr)
    {
        dispatch(effMainsChanged, kEffectSuspended, kEffectSuspended);
        dispatch(effClose);
        effect = nullptr;
    }
    if (library != nullptr)
        dlclose(library);
}

intptr_t DirectEffect::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) const
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}
