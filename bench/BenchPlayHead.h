#pragma once
// The transport a host reports while it plays: a steady tempo and a position that moves on by one
// block after every block, as the processor sees it from a playing host.

#include <juce_audio_processors/juce_audio_processors.h>

class BenchPlayHead : public juce::AudioPlayHead
{
public:
    static constexpr double kTempo = 120.0;
    static constexpr double kSecondsPerMinute = 60.0;

    explicit BenchPlayHead(double sampleRate) : rate(sampleRate) {}

    // [audio thread] allocates nothing.
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo position;
        position.setBpm(kTempo);
        position.setTimeInSamples(samples);
        position.setPpqPosition(static_cast<double>(samples) / rate * kTempo / kSecondsPerMinute);
        position.setIsPlaying(true);
        return position;
    }

    // [audio thread] after each block.
    void advance(int frames) { samples += frames; }

private:
    double rate;
    int64_t samples = 0;
};
