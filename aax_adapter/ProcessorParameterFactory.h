#pragma once
// Turns one of the processor's parameters into the AAX parameter the host sees: a switch for a
// parameter whose probed texts change once, a continuous parameter showing the effect's own texts
// for every other one. Each starts, and resets, where the effect actually is.

#include "aax_library/AAX_IParameter.h"
#include "effect_bridge/QuennetAudioProcessor.h"

#include <juce_core/juce_core.h>

#include <memory>

namespace AAXClasses
{

// A published name keeps at most this many characters; the shortened name this many.
constexpr int kParameterNameLength = 31;
constexpr int kParameterShortNameLength = 4;

// [host thread] The processor's name for a parameter, cut to maximumLength characters.
juce::String processorParameterName(QuennetAudioProcessor& processor, int index, int maximumLength);

struct PublishedProcessorParameter
{
    std::unique_ptr<AAX_IParameter> parameter;
    // Its default as a normalized value: the effect's own value when it was made.
    float defaultValue = 0.0f;
    // Published as a switch (two states) rather than a continuous parameter.
    bool isSwitch = false;
};

// [any thread] Whether a switch is on at an effect value, as its two-state taper puts it: strictly
// above one half.
bool switchIsOn(float effectValue);

// [any thread] The normalized value a published parameter holds for an effect value: a switch's 0
// or 1, a continuous parameter's value inside 0 .. 1 (NaN as 0).
double publishedValueOf(float effectValue, bool isSwitch);

// [host thread] The AAX parameter for the processor's parameter at index. Probes the effect's texts
// first (the display delegates read them), so the effect's parameter moves and is put back.
PublishedProcessorParameter makeProcessorParameter(QuennetAudioProcessor& processor, int index);

} // namespace AAXClasses
