#pragma once
// The audio side of the small stereo test effects whose point lies elsewhere (their editors): one
// parameter, index 0, a gain applied to both channels. Effect is the effect's own type, with its
// AEffect record first (the host's AEffect* is the object's address) and a float `gain`.

#include "vst2/Vst2Interface.h"

template <class Effect> struct GainEffectAudio
{
    static Effect& Of(AEffect* effect) { return *reinterpret_cast<Effect*>(effect); }

    // [audio thread]
    static void Process(AEffect* effect, float** inputs, float** outputs, int32_t frames)
    {
        const float gain = Of(effect).gain;
        for (int channel = 0; channel < 2; ++channel)
            for (int32_t i = 0; i < frames; ++i)
                outputs[channel][i] = inputs[channel][i] * gain;
    }

    // [any thread]
    static void SetParameter(AEffect* effect, int32_t index, float value)
    {
        if (index == 0)
            Of(effect).gain = value;
    }

    // [any thread]
    static float GetParameter(AEffect* effect, int32_t index)
    {
        return index == 0 ? static_cast<float>(Of(effect).gain) : 0.0f;
    }
};
