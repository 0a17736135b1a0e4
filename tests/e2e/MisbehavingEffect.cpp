// A small VST 2 effect built to behave oddly in one way, for the validator's and the state
// command's tests: built once per MISBEHAVIOUR (1 crashes in processReplacing, 2 hangs there,
// 3 writes NaN, 4 saves a state that never round-trips, 5 rewrites its state once by putting its
// values in another order after a restore, which is harmless, 6 throws from setParameter at the
// top of its second parameter, 7 crashes when asked its name, 8 delays its output by the latency
// it reports, 9 reports a latency but delays nothing; from 20 on, the rates and buffers: 20 writes
// past the end of its outputs, working in groups of eight samples and rounding the count up one
// group too far, 21 runs a long feedback path that never flushes denormal numbers, 22 crashes on
// the fourth change of its sample rate once it runs; from 30 on, the parameters: 30 shows no text
// over part of its Tone, 31 switches the numeric locale, 32 shows its Tone, a choice of three, by
// rounding and saves it truncated, 33 does the same with a count of 40 beats; 40 crashes on a
// rare sequence only: a short block of odd length, 3 to 99 samples, while the transport plays,
// once Tone has been set above 0.95 with Gain below 0.05). Otherwise a plain stereo gain with two
// parameters.

#include "tests/test_effects/EffectRecord.h"
#include "vst2/Vst2Interface.h"

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
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
// The feedback path of the denormalising effect: one-pole filters in a row per channel, and what
// each denormal value they produce costs it (see processReplacing).
constexpr int32_t kFeedbackStages = 8;
constexpr int64_t kAssistNanoseconds = 100;
// The crashing effect's rate changes while it runs.
constexpr int32_t kCrashingRateChange = 4;
// The rounding effects' Tone: three choices (Low, Mid, High), or a count of beats from 0 to 39.
constexpr float kLastBeat = 39.0f;
#if MISBEHAVIOUR == 33
constexpr float kToneSteps = kLastBeat;
#else
constexpr float kToneSteps = 2.0f;
#endif
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
    float feedback[2][kFeedbackStages] = {};
    float sampleRate = 0.0f;
    bool running = false;
    int32_t rateChanges = 0;
};

MisbehavingEffect* self(AEffect* effect)
{
    return reinterpret_cast<MisbehavingEffect*>(effect);
}

intptr_t dispatcher(AEffect* record, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
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
    case effSetSampleRate:
    {
        const float rate = opt;
        if (effect.running && rate != effect.sampleRate)
            ++effect.rateChanges;
        effect.sampleRate = rate;
#if MISBEHAVIOUR == 22
        // Like an effect whose tables for the new rate are freed twice on the way.
        if (effect.rateChanges == kCrashingRateChange)
            std::raise(SIGSEGV);
#endif
        return 0;
    }
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
#if MISBEHAVIOUR == 30
        // 30: like an effect whose table of texts has a hole, nothing written for its Tone between
        // 0.3 and 0.6.
        if (index == 1 && effect.values[1] >= 0.3f && effect.values[1] < 0.6f)
        {
            static_cast<char*>(ptr)[0] = '\0';
            return 0;
        }
#elif MISBEHAVIOUR == 32
        // 32: its Tone is a choice of three, shown by rounding, saved by truncating (below).
        if (index == 1)
        {
            static const char* const choices[] = {"Low", "Mid", "High"};
            std::snprintf(static_cast<char*>(ptr), 8, "%s", choices[std::lround(effect.values[1] * 2.0f)]);
            return 0;
        }
#elif MISBEHAVIOUR == 33
        // 33: its Tone is a count of beats in many steps, shown by rounding, saved by truncating.
        if (index == 1)
        {
            std::snprintf(static_cast<char*>(ptr), 8, "%ldbeat", std::lround(effect.values[1] * kLastBeat));
            return 0;
        }
#endif
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
#elif MISBEHAVIOUR == 32 || MISBEHAVIOUR == 33
        // The choice or the count as its number, truncated: a value shown as "Mid" just above 0.25 is
        // saved as "Low", as some real effects do.
        std::snprintf(effect.chunk, sizeof(effect.chunk), "A=%.4f;B=%d;", static_cast<double>(effect.values[0]),
                      static_cast<int>(effect.values[1] * kToneSteps));
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
#elif MISBEHAVIOUR == 32 || MISBEHAVIOUR == 33
    {
        const std::string text(static_cast<const char*>(ptr),
                               static_cast<size_t>(std::max<intptr_t>(0, value)));
        const size_t gain = text.find("A=");
        const size_t choice = text.find(";B=");
        if (gain != std::string::npos && choice != std::string::npos)
        {
            effect.values[0] = std::strtof(text.c_str() + gain + 2, nullptr);
            effect.values[1] = static_cast<float>(std::atoi(text.c_str() + choice + 3)) / kToneSteps;
        }
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
    effect.running = true;
    const float gain = 2.0f * effect.values[0];
#if MISBEHAVIOUR == 20
    // Eight samples at a time, the count rounded up from frames + 1 instead of frames: one group
    // too many whenever frames is a multiple of eight, a part of one otherwise.
    const int32_t rounded = (frames + 8) / 8 * 8;
    for (int32_t c = 0; c < 2; ++c)
        for (int32_t i = 0; i < rounded; ++i)
            outputs[c][i] = i < frames ? gain * inputs[c][i] : 0.0f;
    return;
#elif MISBEHAVIOUR == 21
    // A smoothing chain in the feedback path, without flushing: once the input fades out, every
    // stage holds denormal numbers. Processors that take a microcode assist for each operation on
    // one (most x86 ones) spend some hundred cycles on it, tens of times a normal operation; the
    // processors this is tested on take almost none, so the effect charges the assist itself.
    int64_t denormals = 0;
    for (int32_t c = 0; c < 2; ++c)
        for (int32_t i = 0; i < frames; ++i)
        {
            float x = inputs[c][i];
            for (float& state : effect.feedback[c])
            {
                state += 0.3f * (x - state);
                denormals += std::fpclassify(state) == FP_SUBNORMAL ? 1 : 0;
                x = state;
            }
            outputs[c][i] = gain * inputs[c][i] + 0.01f * x;
        }
    const auto assisted = std::chrono::steady_clock::now() + std::chrono::nanoseconds(denormals * kAssistNanoseconds);
    while (std::chrono::steady_clock::now() < assisted)
    {
    }
    return;
#endif
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

#if MISBEHAVIOUR == 31
// 31: like an effect that sets the locale of its own language for its texts, for the whole process:
// the first numeric locale of these that this system has and the host is not in.
void switchNumericLocale()
{
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string host = current != nullptr ? current : "";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8", "C"})
    {
        if (host == name)
            continue;
        if (std::setlocale(LC_NUMERIC, name) != nullptr)
            return;
    }
}
#endif

} // namespace

// C++ reserves the name main for the program's entry, so the export gets it as its symbol name.
MISBEHAVING_EFFECT_EXPORT AEffect* misbehavingEffectMain(audioMasterCallback host) __asm__("main");
AEffect* misbehavingEffectMain(audioMasterCallback host)
{
#if MISBEHAVIOUR == 31
    switchNumericLocale();
#endif
    auto* effect = new MisbehavingEffect();
    effect->host = host;
    effect->number = ++instancesMade;
    fillEffectRecord(
        effect->record,
        {dispatcher, setParameter, getParameter, processReplacing, 1, kParameters, 2, 2,
         effFlagsCanReplacing |
             ((MISBEHAVIOUR >= 4 && MISBEHAVIOUR <= 6) || MISBEHAVIOUR == 32 || MISBEHAVIOUR == 33 ? effFlagsProgramChunks : 0),
         vstFourCC('O', 'M', 'I', 'S')});
    if (MISBEHAVIOUR == 8 || MISBEHAVIOUR == 9)
        effect->record.initialDelay = kLatency;
    return &effect->record;
}
