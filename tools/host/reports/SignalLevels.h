#pragma once
// Peak and RMS level of each channel of a buffer, and their text in dBFS.

#include <juce_audio_basics/juce_audio_basics.h>

#include <string>
#include <vector>

namespace ombrelhost
{

struct ChannelLevel
{
    double peak = 0.0; // largest absolute sample
    double rms = 0.0;  // root mean square over the whole channel
};

class SignalLevels
{
public:
    static std::vector<ChannelLevel> Measure(const juce::AudioBuffer<float>& samples);
    // "-6.02 dBFS", "-inf dBFS" for silence.
    static std::string DecibelText(double linear);
};

} // namespace ombrelhost
