#include "effect_bridge/QuennetAudioProcessorEditor.h"

#include "effect_bridge/QuennetAudioProcessor.h"

QuennetAudioProcessorEditor::QuennetAudioProcessorEditor(QuennetAudioProcessor& owner)
    : juce::AudioProcessorEditor(&owner), processor(&owner)
{
    setSize(kWidth, kHeight);
}
