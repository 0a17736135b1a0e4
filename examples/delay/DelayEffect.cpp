#include "examples/delay/DelayEffect.h"

#include "examples/delay/DelayChunk.h"
#include "examples/delay/DelayParameters.h"
#include "examples/delay/DelayVstExtras.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
// Texts go into host buffers whose size the call does not carry; these are the VST conventions' sizes.
constexpr size_t kParameterTextBytes = kVstMaxParamStrLen + 1;
constexpr size_t kProgramNameBytes = kVstMaxProgNameLen + 1;
constexpr size_t kEffectNameBytes = 32;
constexpr size_t kVendorTextBytes = 64;

constexpr double kMinTempo = 1.0;
constexpr double kMaxTempo = 1000.0;
constexpr int32_t kMaxMetreValue = 64;
constexpr double kMsPerSecond = 1000.0;
constexpr double kMsPerMinute = 60000.0;
constexpr double kQuartersPerWholeNote = 4.0;

constexpr const char* kEffectName = "Ombrel Delay";
constexpr const char* kVendorName = "Ombrel";

void copyText(const char* text, void* ptr, size_t size)
{
    if (ptr == nullptr || size == 0)
        return;
    char* dest = static_cast<char*>(ptr);
    size_t n = 0;
    while (n + 1 < size && text[n] != '\0')
    {
        dest[n] = text[n];
        ++n;
    }
    dest[n] = '\0';
}
} // namespace

DelayEffect::DelayEffect(audioMasterCallback hostCallback) : host(hostCallback)
{
    effect.magic = kEffectMagic;
    effect.dispatcher = &DelayEffect::dispatcherProc;
    // The accumulating call is obsolete in VST 2.4; a host that still uses it gets the replacing one.
    effect.process = &DelayEffect::processReplacingProc;
    effect.setParameter = &DelayEffect::setParameterProc;
    effect.getParameter = &DelayEffect::getParameterProc;
    effect.numPrograms = DelayProgramBank::kNumPrograms;
    effect.numParams = kNumDelayParameters;
    effect.numInputs = kNumChannels;
    effect.numOutputs = kNumChannels;
    effect.flags = effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks;
    effect.initialDelay = 0;
    effect.ioRatio = 1.0f;
    effect.object = this;
    effect.uniqueID = kUniqueId;
    effect.version = kVersion;
    effect.processReplacing = &DelayEffect::processReplacingProc;
    effect.processDoubleReplacing = nullptr;
}

DelayEffect* DelayEffect::owner(AEffect* record)
{
    return record != nullptr ? static_cast<DelayEffect*>(record->object) : nullptr;
}

intptr_t DelayEffect::dispatcherProc(AEffect* record, int32_t opcode, int32_t index, intptr_t value,
                                     void* ptr, float opt)
{
    DelayEffect* self = owner(record);
    if (self == nullptr)
        return 0;
    try
    {
        if (opcode == effClose)
        {
            // The record lives inside the effect: the host may not touch it after this.
            delete self;
            return 1;
        }
        return self->dispatch(opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        // Nothing may unwind into the host; the only thing that can throw here is running out of memory.
        return 0;
    }
}

void DelayEffect::processReplacingProc(AEffect* record, float** inputs, float** outputs, int32_t frames)
{
    if (DelayEffect* self = owner(record))
        self->processReplacing(inputs, outputs, frames);
}

void DelayEffect::setParameterProc(AEffect* record, int32_t index, float value)
{
    if (DelayEffect* self = owner(record))
        self->programs.setValue(index, value);
}

float DelayEffect::getParameterProc(AEffect* record, int32_t index)
{
    DelayEffect* self = owner(record);
    return self != nullptr ? self->programs.value(index) : 0.0f;
}

intptr_t DelayEffect::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    switch (opcode)
    {
    case effOpen:
        return 0;

    case effSetProgram:
        if (value >= 0 && value < DelayProgramBank::kNumPrograms &&
            programs.select(static_cast<int32_t>(value)))
            requestDisplayUpdate();
        return 0;
    case effGetProgram:
        return programs.current();
    case effSetProgramName:
        if (ptr != nullptr)
        {
            // Read at most the conventional name length, whether or not the host terminated its text.
            char name[DelayProgramBank::kNameBytes] = {};
            const char* text = static_cast<const char*>(ptr);
            for (size_t n = 0; n + 1 < sizeof(name) && text[n] != '\0'; ++n)
                name[n] = text[n];
            programs.setName(programs.current(), name);
        }
        return 0;
    case effGetProgramName:
        if (ptr != nullptr)
            programs.copyName(programs.current(), static_cast<char*>(ptr), kProgramNameBytes);
        return 0;
    case effGetProgramNameIndexed:
        if (ptr == nullptr)
            return 0;
        static_cast<char*>(ptr)[0] = '\0';
        if (index < 0 || index >= DelayProgramBank::kNumPrograms)
            return 0;
        programs.copyName(index, static_cast<char*>(ptr), kProgramNameBytes);
        return 1;

    case effGetParamLabel:
        copyText(DelayParameters::label(index), ptr, kParameterTextBytes);
        return 0;
    case effGetParamDisplay:
        if (ptr != nullptr)
            DelayParameters::formatDisplay(index, programs.value(index), static_cast<char*>(ptr),
                                           kParameterTextBytes);
        return 0;
    case effGetParamName:
        copyText(DelayParameters::name(index), ptr, kParameterTextBytes);
        return 0;
    case effCanBeAutomated:
        return DelayParameters::isValidIndex(index) ? 1 : 0;
    case effString2Parameter:
    {
        if (!DelayParameters::isValidIndex(index))
            return 0;
        if (ptr == nullptr)
            return 1; // a query: every parameter reads texts
        float parsed = 0.0f;
        if (!DelayParameters::parseDisplay(index, static_cast<const char*>(ptr), parsed))
            return 0;
        programs.setValue(index, parsed);
        return 1;
    }
    case effGetParameterProperties:
        return getParameterProperties(index, ptr);

    case effSetSampleRate:
        // A rate the engine refuses leaves the previous one in force.
        engine.prepare(static_cast<double>(opt));
        return 0;
    case effSetBlockSize:
        return 0; // the engine works on any block length
    case effMainsChanged:
        // Our host resumes us whenever its block length changes, so resuming keeps the echoes; only a
        // new sample rate clears them. On resume we ask the host to re-read our values, which is what
        // lets a host that follows the effect's values only after a display update start doing so.
        if (value != 0)
            requestDisplayUpdate();
        return 0;

    case effEditGetRect:
        if (ptr == nullptr)
            return 0;
        *static_cast<ERect**>(ptr) = &editorRect;
        return 1;
    case effEditOpen:
        // Nothing is drawn (no toolkit here), but the state follows the host's calls.
        if (ptr == nullptr)
            return 0;
        editorOpen = true;
        return 1;
    case effEditClose:
        if (!editorOpen)
            return 0;
        editorOpen = false;
        return 1;
    case effEditIdle:
        return 0;

    case effGetChunk:
        return getChunk(index, ptr);
    case effSetChunk:
        return setChunk(index, value, ptr);

    case effProcessEvents:
        return 0; // MIDI is not used
    case effGetPlugCategory:
        return kPlugCategEffect;
    case effSetSpeakerArrangement:
        return setSpeakerArrangement(value, ptr);
    case effGetEffectName:
        copyText(kEffectName, ptr, kEffectNameBytes);
        return ptr != nullptr ? 1 : 0;
    case effGetVendorString:
        copyText(kVendorName, ptr, kVendorTextBytes);
        return ptr != nullptr ? 1 : 0;
    case effGetProductString:
        copyText(kEffectName, ptr, kVendorTextBytes);
        return ptr != nullptr ? 1 : 0;
    case effGetVendorVersion:
        return kVersion;
    case effCanDo:
        return canDo(static_cast<const char*>(ptr));
    case effGetVstVersion:
        return kVstVersion2400;

    default:
        return 0;
    }
}

intptr_t DelayEffect::getChunk(int32_t index, void* ptr)
{
    if (ptr == nullptr)
        return 0;
    *static_cast<void**>(ptr) = nullptr;
    DelayChunk::write(programs, index == 0 ? DelayChunk::Scope::Bank : DelayChunk::Scope::Program, chunk);
    *static_cast<void**>(ptr) = chunk.data();
    return static_cast<intptr_t>(chunk.size());
}

intptr_t DelayEffect::setChunk(int32_t index, intptr_t size, const void* data)
{
    if (data == nullptr || size <= 0)
        return 0;
    const auto scope = index == 0 ? DelayChunk::Scope::Bank : DelayChunk::Scope::Program;
    if (!DelayChunk::read(static_cast<const uint8_t*>(data), static_cast<size_t>(size), scope, programs))
        return 0;
    requestDisplayUpdate();
    return 1;
}

intptr_t DelayEffect::getParameterProperties(int32_t index, void* ptr) const
{
    if (ptr == nullptr || !DelayParameters::isValidIndex(index))
        return 0;
    auto* properties = static_cast<VstParameterProperties*>(ptr);
    std::memset(properties, 0, sizeof(*properties));
    copyText(DelayParameters::name(index), properties->label, sizeof(properties->label));
    copyText(DelayParameters::name(index), properties->shortLabel, sizeof(properties->shortLabel));
    switch (index)
    {
    case kParamSync:
        properties->flags = kVstParameterIsSwitch;
        break;
    case kParamNote:
        properties->flags = kVstParameterUsesIntegerMinMax;
        properties->minInteger = 0;
        properties->maxInteger = DelayParameters::kNumNotes - 1;
        break;
    default:
        properties->flags = kVstParameterCanRamp;
        break;
    }
    return 1;
}

intptr_t DelayEffect::setSpeakerArrangement(intptr_t input, void* output) const
{
    const auto* in = reinterpret_cast<const VstSpeakerArrangement*>(input);
    const auto* out = static_cast<const VstSpeakerArrangement*>(output);
    if (in == nullptr || out == nullptr)
        return 0;
    // Mono and stereo both work: a mono host hands the same channel twice.
    const auto supported = [](int32_t channels) { return channels == 1 || channels == kNumChannels; };
    return supported(in->numChannels) && supported(out->numChannels) ? 1 : 0;
}

intptr_t DelayEffect::canDo(const char* capability) const
{
    if (capability == nullptr)
        return kCanDoUnknown;
    if (std::strcmp(capability, "receiveVstTimeInfo") == 0)
        return kCanDoYes;
    if (std::strcmp(capability, "receiveVstEvents") == 0 ||
        std::strcmp(capability, "receiveVstMidiEvent") == 0)
        return kCanDoNo;
    return kCanDoUnknown;
}

void DelayEffect::requestDisplayUpdate()
{
    if (host != nullptr)
        host(&effect, audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
}

void DelayEffect::readHostTempo()
{
    if (host == nullptr)
        return;
    const intptr_t answer =
        host(&effect, audioMasterGetTime, 0, kVstTempoValid | kVstTimeSigValid, nullptr, 0.0f);
    const auto* info = reinterpret_cast<const VstTimeInfo*>(answer);
    if (info == nullptr)
        return;
    if ((info->flags & kVstTempoValid) != 0 && info->tempo >= kMinTempo && info->tempo <= kMaxTempo)
        tempo = info->tempo;
    if ((info->flags & kVstTimeSigValid) != 0 && info->timeSigNumerator > 0 &&
        info->timeSigNumerator <= kMaxMetreValue && info->timeSigDenominator > 0 &&
        info->timeSigDenominator <= kMaxMetreValue)
        quartersPerBar = kQuartersPerWholeNote * info->timeSigNumerator / info->timeSigDenominator;
}

DelayEngine::Targets DelayEffect::blockTargets()
{
    DelayEngine::Targets targets;
    double delayMs = 0.0;
    if (DelayParameters::syncOn(programs.value(kParamSync)))
    {
        readHostTempo();
        const int32_t note = DelayParameters::noteIndex(programs.value(kParamNote));
        delayMs = DelayParameters::noteQuarters(note, quartersPerBar) * kMsPerMinute / tempo;
    }
    else
    {
        delayMs = DelayParameters::timeMs(programs.value(kParamTime));
    }
    const double samples = std::round(delayMs * engine.sampleRate() / kMsPerSecond);
    targets.delaySamples =
        static_cast<int32_t>(std::clamp(samples, 1.0, static_cast<double>(engine.maxDelaySamples())));
    targets.feedback = DelayParameters::feedbackGain(programs.value(kParamFeedback));
    targets.mix = DelayParameters::mixAmount(programs.value(kParamMix));
    const float highCut = programs.value(kParamHighCut);
    targets.highCutOpen = DelayParameters::highCutOpen(highCut);
    targets.highCutHz = DelayParameters::highCutHz(highCut);
    return targets;
}

void DelayEffect::processReplacing(float** inputs, float** outputs, int32_t frames)
{
    if (frames <= 0 || inputs == nullptr || outputs == nullptr)
        return;
    engine.process(inputs, outputs, frames, blockTargets());
}
