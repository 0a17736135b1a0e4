#pragma once
// A play head whose transport the test sets directly.

#include <juce_audio_processors/juce_audio_processors.h>

class TestPlayHead : public juce::AudioPlayHead
{
public:
    double bpm = 120.0;
    double ppqPosition = 0.0;
    bool playing = false;
    bool available = true; // false: the host reports no position at all

    juce::Optional<PositionInfo> getPosition() const override
    {
        if (!available)
            return {};
        PositionInfo position;
        position.setBpm(bpm);
        position.setPpqPosition(ppqPosition);
        position.setIsPlaying(playing);
        return position;
    }
};
