#include "tools/host/reports/SignalLevels.h"

#include <cmath>
#include <cstdio>

namespace ombrelhost
{

std::vector<ChannelLevel> SignalLevels::Measure(const juce::AudioBuffer<float>& samples)
{
    std::vector<ChannelLevel> levels;
    const int length = samples.getNumSamples();
    for (int channel = 0; channel < samples.getNumChannels(); ++channel)
    {
        const float* data = samples.getReadPointer(channel);
        ChannelLevel level;
        double sumOfSquares = 0.0;
        for (int i = 0; i < length; ++i)
        {
            const double sample = data[i];
            level.peak = std::max(level.peak, std::abs(sample));
            sumOfSquares += sample * sample;
        }
        level.rms = length > 0 ? std::sqrt(sumOfSquares / length) : 0.0;
        levels.push_back(level);
    }
    return levels;
}

std::string SignalLevels::DecibelText(double linear)
{
    if (!(linear > 0.0))
        return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f dBFS", 20.0 * std::log10(linear));
    return text;
}

} // namespace ombrelhost
