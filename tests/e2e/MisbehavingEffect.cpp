// A small VST 2 effect built to behave oddly in one way, for the validator's and the state
// command's tests: built once per MISBEHAVIOUR (1 crashes in processReplacing, 2 hangs there,
// 3 writes NaN, 4 saves a state that never round-trips, 5 rewrites its state once by putting its
// values in another order after a restore, which is harmless, 6 throws from setParameter at the
// top of its second parameter, 7 crashes when asked its name, 8 delays its output by the latency
// it reports, 9 reports a latency but delays nothing; 40 crashes on a rare sequence only: a short
// block of odd length, 3 to 99 samples, while the transport plays, once Tone has been set above
// 0.95 with Gain below 0.05). Otherwise a plain stereo gain with two parameters.

#include "tests/test_effects/EffectRecord.h"
#include "vst2/Vst2Interface.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>
#include <thread>

#define MISBEHAVING_EFFECT_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{

constexpr int32_t kParameters = 2;
// The latency the last two report, in samples.
constexpr int32_t kLatency = 64;
int32_t instancesMade = 0;

struct MisbehavingEffect
{
    AEffect record{}; // first: the host's AEffect* is this object's address
    audioMasterCallback host = nullptr;
    float values[kParameters] = {0.5f, 0.25f};
    int32_t number = 0;
    bool restored = false;
    char chunk[64] = {};
    float delayLine[2][kLatency] = {};
    int32_t delayPosition = 0;
};

MisbehavingEffect* self(AEffect* effect)
{
    return reinterpret_cast<MisbehavingEffect*>(effect);
}

intptr_t dispatcher(AEffect* record, int32_t opcode, int32_t index, intptr_t value, void* ptr, float)
{
    MisbehavingEffect& effect = *self(record);
    (void)value; // the chunk's length, read only by the effect that takes its state back
    switch (opcode)
    {
    case effClose:
        delete &effect;
        return 0;
    case effMainsChanged:
        // Like most effects: its values are read again once it runs.
        effect.host(record, audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
        return 0;
    case effGetEffectName:
#if MISBEHAVIOUR == 7
        std::raise(SIGSEGV);
#endif
        std::snprintf(static_cast<char*>(ptr), 32, "Misbehaving");
        return 1;
    case effGetParamName:
        std::snprintf(static_cast<char*>(ptr), 8, index == 0 ? "Gain" : "Tone");
        return 0;
    case effGetParamDisplay:
        if (index >= 0 && index < kParameters)
            std::snprintf(static_cast<char*>(ptr), 8, "%.2f", static_cast<double>(effect.values[index]));
        return 0;
    case effGetChunk:
#if MISBEHAVIOUR == 5
        if (effect.restored)
            std::snprintf(effect.chunk, sizeof(effect.chunk), "B=%.4f;A=%.4f;",
                          static_cast<double>(effect.values[1]), static_cast<double>(effect.values[0]));
        else
            std::snprintf(effect.chunk, sizeof(effect.chunk), "A=%.4f;B=%.4f;",
                          static_cast<double>(effect.values[0]), static_cast<double>(effect.values[1]));
#else
        // Each instance saves its own number and never takes a state back: no restored instance
        // saves what it was given.
        std::snprintf(effect.chunk, sizeof(effect.chunk), "instance number %d", effect.number);
#endif
        *static_cast<void**>(ptr) = effect.chunk;
        return static_cast<intptr_t>(std::strlen(effect.chunk));
    case effSetChunk:
#if MISBEHAVIOUR == 5
    {
        const std::string text(static_cast<const char*>(ptr),
                               static_cast<size_t>(std::max<intptr_t>(0, value)));
        for (const char name : {'A', 'B'})
        {
            const size_t at = text.find(std::string(1, name) + "=");
            if (at != std::string::npos)
                effect.values[name - 'A'] = std::strtof(text.c_str() + at + 2, nullptr);
        }
        effect.restored = true;
    }
#endif
        return 0;
    default:
        return 0;
    }
}

void setParameter(AEffect* record, int32_t index, float value)
{
#if MISBEHAVIOUR == 6
    // Like a real effect that fails to allocate a table for the top of its Tone range.
    if (index == 1 && value >= 0.99f)
        throw std::bad_alloc();
#endif
    if (index >= 0 && index < kParameters)
        self(record)->values[index] = value;
}

float getParameter(AEffect* record, int32_t index)
{
    return index >= 0 && index < kParameters ? self(record)->values[index] : 0.0f;
}

void processReplacing(AEffect* record, float** inputs, float** outputs, int32_t frames)
{
#if MISBEHAVIOUR == 1
    // A real fault signal, not a null write: the undefined-behaviour sanitizer would stop a null
    // write before it faults, and the validator is to see the crash a user's build would have.
    if (frames > 0)
        std::raise(SIGSEGV);
#elif MISBEHAVIOUR == 2
    while (frames > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
#endif
    MisbehavingEffect& effect = *self(record);
#if MISBEHAVIOUR == 40
    // A fault a single pass of checks does not meet, and random host sequences do now and then.
    if (effect.values[1] > 0.95f && effect.values[0] < 0.05f && frames % 2 == 1 && frames > 1 && frames < 100)
    {
        const auto* time = reinterpret_cast<const VstTimeInfo*>(
            effect.host(record, audioMasterGetTime, 0, kVstTransportPlaying, nullptr, 0.0f));
        if (time != nullptr && (time->flags & kVstTransportPlaying) != 0)
            std::raise(SIGSEGV);
    }
#endif
    const float gain = 2.0f * effect.values[0];
#if MISBEHAVIOUR == 8
    for (int32_t i = 0; i < frames; ++i)
    {
        for (int32_t c = 0; c < 2; ++c)
        {
            float& delayed = effect.delayLine[c][effect.delayPosition];
            const float in = inputs[c][i];
            outputs[c][i] = gain * delayed;
            delayed = in;
        }
        effect.delayPosition = (effect.delayPosition + 1) % kLatency;
    }
    return;
#endif
    for (int32_t c = 0; c < 2; ++c)
        for (int32_t i = 0; i < frames; ++i)
        {
#if MISBEHAVIOUR == 3
            outputs[c][i] = i % 7 == 3 ? std::numeric_limits<float>::quiet_NaN() : gain * inputs[c][i];
#else
            outputs[c][i] = gain * inputs[c][i];
#endif
        }
}

} // namespace

// C++ reserves the name main for the program's entry, so the export gets it as its symbol name.
MISBEHAVING_EFFECT_EXPORT AEffect* misbehavingEffectMain(audioMasterCallback host) __asm__("main");
AEffect* misbehavingEffectMain(audioMasterCallback host)
{
    auto* effect = new MisbehavingEffect();
    effect->host = host;
    effect->number = ++instancesMade;
    fillEffectRecord(
        effect->record,
        {dispatcher, setParameter, getParameter, processReplacing, 1, kParameters, 2, 2,
         effFlagsCanReplacing | (MISBEHAVIOUR >= 4 && MISBEHAVIOUR <= 6 ? effFlagsProgramChunks : 0),
         vstFourCC('O', 'M', 'I', 'S')});
    if (MISBEHAVIOUR == 8 || MISBEHAVIOUR == 9)
        effect->record.initialDelay = kLatency;
    return &effect->record;
}
