#include "tools/host/session/TestSignal.h"

#include <cmath>

namespace ombrelhost
{

namespace
{

constexpr double kPluckFrequency = 220.0; // A3
constexpr double kPluckDecaySeconds = 0.12;
constexpr double kPluckAttackSeconds = 0.002;
constexpr double kPluckLengthSeconds = 0.8;

// A plucked string, roughly: a few harmonics whose upper partials die away faster.
void AddPluck(juce::AudioBuffer<float>& buffer, int start, double sampleRate)
{
    const int length =
        std::min(buffer.getNumSamples() - start, static_cast<int>(kPluckLengthSeconds * sampleRate));
    constexpr double harmonicLevels[] = {1.0, 0.5, 0.3, 0.15};
    double levelSum = 0.0;
    for (double level : harmonicLevels)
        levelSum += level;
    for (int i = 0; i < length; ++i)
    {
        const double t = i / sampleRate;
        const double attack = std::min(1.0, t / kPluckAttackSeconds);
        double value = 0.0;
        for (int h = 0; h < 4; ++h)
        {
            const double decay = std::exp(-t * (h + 1) / kPluckDecaySeconds);
            value += harmonicLevels[h] * decay *
                     std::sin(2.0 * juce::MathConstants<double>::pi * kPluckFrequency * (h + 1) * t);
        }
        const float sample = static_cast<float>(TestSignal::kPluckPeak * attack * value / levelSum);
        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
            buffer.addSample(channel, start + i, sample);
    }
}

} // namespace

juce::AudioBuffer<float> TestSignal::Generate(const TestSignalSettings& settings)
{
    const int length = std::max(1, static_cast<int>(std::lround(settings.seconds * settings.sampleRate)));
    juce::AudioBuffer<float> buffer(settings.channels, length);
    buffer.clear();
    for (double at = settings.firstAt; at < settings.seconds; at += settings.every)
    {
        const int start = static_cast<int>(std::lround(at * settings.sampleRate));
        if (start >= length)
            break;
        if (settings.kind == TestSignalKind::Clicks)
            for (int channel = 0; channel < settings.channels; ++channel)
                buffer.setSample(channel, start, kClickAmplitude);
        else
            AddPluck(buffer, start, settings.sampleRate);
        if (settings.every <= 0.0)
            break;
    }
    return buffer;
}

} // namespace ombrelhost
