// A light VST 2 effect for the benchmarks: 14 first-order all-pass sections in series on each of two
// channels, about 40 ns per stereo frame. Light enough that a block of 32 or 64 samples costs only a
// few microseconds, so what the module adds per block stands out from what the effect does; and
// with nothing but arithmetic inside, it costs the same in every block. It has no parameters and no
// programs, and answers every dispatcher call with 0.

#include "vst2/Vst2Interface.h"

#include <array>
#include <cstdint>
#include <new>

#define LIGHT_EFFECT_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{

constexpr int32_t kChannels = 2;
constexpr int kSections = 14;
constexpr int32_t kUniqueId = vstFourCC('O', 'm', 'L', 't');
constexpr int32_t kVersion = 1;

// One section per coefficient, spread over the range so that the chain shifts phase over the whole
// audible band, as a phaser's chain does.
constexpr std::array<float, kSections> kCoefficients = {
    -0.90f, -0.75f, -0.60f, -0.45f, -0.30f, -0.15f, 0.00f, 0.10f, 0.25f, 0.40f, 0.55f, 0.70f, 0.80f, 0.90f};

struct Section
{
    float previousInput = 0.0f;
    float previousOutput = 0.0f;
};

struct LightEffect
{
    AEffect record{};
    std::array<std::array<Section, kSections>, kChannels> sections{};

    void reset() { sections = {}; }

    // In place is allowed: each sample is read before it is written.
    void process(float** inputs, float** outputs, int32_t frames)
    {
        for (int32_t channel = 0; channel < kChannels; ++channel)
        {
            const float* in = inputs[channel];
            float* out = outputs[channel];
            auto& chain = sections[static_cast<size_t>(channel)];
            for (int32_t n = 0; n < frames; ++n)
            {
                float sample = in[n];
                for (int s = 0; s < kSections; ++s)
                {
                    Section& section = chain[static_cast<size_t>(s)];
                    const float a = kCoefficients[static_cast<size_t>(s)];
                    const float output = a * (sample - section.previousOutput) + section.previousInput;
                    section.previousInput = sample;
                    section.previousOutput = output;
                    sample = output;
                }
                out[n] = sample;
            }
        }
    }
};

LightEffect* fromRecord(AEffect* record)
{
    return static_cast<LightEffect*>(record->object);
}

intptr_t dispatcher(AEffect* record, int32_t opcode, int32_t, intptr_t value, void*, float)
{
    switch (opcode)
    {
    case effClose:
        delete fromRecord(record);
        return 1;
    case effMainsChanged:
        // Resuming starts from silence, as after a transport jump.
        if (value != 0)
            fromRecord(record)->reset();
        return 0;
    default:
        return 0;
    }
}

void processReplacing(AEffect* record, float** inputs, float** outputs, int32_t frames)
{
    fromRecord(record)->process(inputs, outputs, frames);
}

void setParameter(AEffect*, int32_t, float) {}

float getParameter(AEffect*, int32_t)
{
    return 0.0f;
}

AEffect* createEffect(audioMasterCallback host)
{
    if (host == nullptr)
        return nullptr;
    auto* effect = new (std::nothrow) LightEffect;
    if (effect == nullptr)
        return nullptr;
    AEffect& record = effect->record;
    record.magic = kEffectMagic;
    record.dispatcher = dispatcher;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.processReplacing = processReplacing;
    record.numInputs = kChannels;
    record.numOutputs = kChannels;
    record.flags = effFlagsCanReplacing;
    record.uniqueID = kUniqueId;
    record.version = kVersion;
    record.object = effect;
    return &record;
}

} // namespace

// C++ reserves the name main for the program's entry, so the export gets it as its symbol name.
LIGHT_EFFECT_EXPORT AEffect* lightEffectMain(audioMasterCallback host) __asm__("main");
AEffect* lightEffectMain(audioMasterCallback host)
{
    return createEffect(host);
}

LIGHT_EFFECT_EXPORT AEffect* VSTPluginMain(audioMasterCallback host)
{
    return createEffect(host);
}
