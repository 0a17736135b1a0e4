#include "aax_adapter/ProcessorParameterFactory.h"

#include "aax_adapter/AAX_CLinearTaperNoRounding.h"
#include "aax_adapter/AAX_CVSTDisplayDelegate.h"
#include "aax_adapter/ParameterIdentifiers.h"
#include "aax_library/AAX_CBinary2TaperDelegate.h"
#include "aax_library/AAX_CBinaryDisplayDelegate.h"
#include "aax_library/AAX_CParameter.h"
#include "aax_library/AAX_CUnitDisplayDelegateDecorator.h"

#include <algorithm>
#include <cmath>

namespace AAXClasses
{

namespace
{

// A switch has two steps, as the processor answers for it and as the host is told; every other
// parameter is published with a hundred.
constexpr uint32_t kTwoStateSteps = 2;
constexpr uint32_t kContinuousSteps = 100;

// The host shows a switch with the texts at 0.00 and 0.99 (the text at 1.00 can belong to an end
// position the switch never shows).
constexpr int kTwoStateOffEntry = 0;
constexpr int kTwoStateOnEntry = 99;

// The effect's value as a published continuous parameter's starting value: inside 0 .. 1, and NaN
// (which no taper or saved session can carry) as 0.
float continuousStartingValue(float effectValue)
{
    if (std::isnan(effectValue))
        return 0.0f;
    return std::clamp(effectValue, 0.0f, 1.0f);
}

// The two-state taper's threshold: normalized values above it are on.
constexpr float kTwoStateOnThreshold = 0.5f;

} // namespace

bool switchIsOn(float effectValue)
{
    return effectValue > kTwoStateOnThreshold;
}

double publishedValueOf(float effectValue, bool isSwitch)
{
    if (isSwitch)
        return switchIsOn(effectValue) ? 1.0 : 0.0;
    return static_cast<double>(continuousStartingValue(effectValue));
}

// The index-based parameter operations are deprecated in JUCE 7 but are the ones that reach the
// effect's parameters: the processor has no parameter objects.
juce::String processorParameterName(QuennetAudioProcessor& processor, int index, int maximumLength)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return processor.getParameterName(index, maximumLength);
#pragma GCC diagnostic pop
}

PublishedProcessorParameter makeProcessorParameter(QuennetAudioProcessor& processor, int index)
{
    // Probing the effect's texts fills the row the display delegates read, so it comes first.
    const int steps = processor.getParameterNumSteps(index);

    // The processor clears the whole text buffer it is given, so it gets a full one.
    char label[QuennetAudioProcessor::kEffectTextSize];
    processor.getEffectParameterLabel(index, label);

    const IndexText identifier(index);
    const AAX_CString name(processorParameterName(processor, index, kParameterNameLength).toRawUTF8());
    const AAX_CString shortName(
        processorParameterName(processor, index, kParameterShortNameLength).toRawUTF8());
    const bool automatable = processor.isParameterAutomatable(index);
    // The processor keeps no default of its own (it would answer 0 for everything), so each
    // published parameter starts, and resets, where the effect actually is: otherwise the host
    // shows a text the effect is not at, and the controls chunk saves (and later restores into
    // the effect) values nobody chose. Read after the text probe, which puts the effect's value
    // back.
    const float effectValue = processor.getEffectParameter(index);

    PublishedProcessorParameter published;
    if (steps == static_cast<int>(kTwoStateSteps))
    {
        const bool defaultOn = switchIsOn(effectValue);
        published.defaultValue = defaultOn ? 1.0f : 0.0f;
        published.isSwitch = true;
        published.parameter = std::make_unique<AAX_CParameter<bool>>(
            identifier.text, name, defaultOn, AAX_CBinary2TaperDelegate<bool>(),
            AAX_CBinaryDisplayDelegate<bool>(processor.getParameterTexts().entry(index, kTwoStateOffEntry),
                                             processor.getParameterTexts().entry(index, kTwoStateOnEntry)),
            automatable);
        published.parameter->SetNumberOfSteps(kTwoStateSteps);
        published.parameter->SetType(AAX_eParameterType_Discrete);
    }
    else
    {
        published.defaultValue = continuousStartingValue(effectValue);
        const AAX_VSTParameterTextRow* row = processor.getParameterTexts().row(index);
        published.parameter = std::make_unique<AAX_CParameter<float>>(
            identifier.text, name, published.defaultValue, AAX_CLinearTaperNoRounding<float, 0>(0.0f, 1.0f),
            AAX_CUnitDisplayDelegateDecorator<float>(AAX_CVSTDisplayDelegate<float>(row), AAX_CString(label)),
            automatable);
        published.parameter->SetNumberOfSteps(kContinuousSteps);
        published.parameter->SetType(AAX_eParameterType_Continuous);
    }
    published.parameter->AddShortenedName(shortName);
    return published;
}

} // namespace AAXClasses
