#pragma once
// The editor JUCE's processor interface asks for. The effect draws its own editor into the host's
// window through the GUI object; this component stays empty and is never shown.

#include <juce_audio_processors/juce_audio_processors.h>

class QuennetAudioProcessor;

class QuennetAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;

    // [message thread] An empty component of 400 x 300 pixels for the processor (borrowed).
    explicit QuennetAudioProcessorEditor(QuennetAudioProcessor& owner);

private:
    // Nothing reads it; the editor is declared as holding its processor. Borrowed: the processor
    // outlives its editor.
    [[maybe_unused]] QuennetAudioProcessor* processor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(QuennetAudioProcessorEditor)
};
