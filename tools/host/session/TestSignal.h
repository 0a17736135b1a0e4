#pragma once
// Short test signals for trying an effect: clicks (single-sample impulses, where echoes are easy to
// find) or plucked tones (where they are easy to hear), repeated at a fixed interval.

#include <juce_audio_basics/juce_audio_basics.h>

#include <string>

namespace ombrelhost
{

enum class TestSignalKind
{
    Clicks,
    Pluck,
};

struct TestSignalSettings
{
    TestSignalKind kind = TestSignalKind::Pluck;
    double seconds = 4.0;
    double sampleRate = 48000.0;
    int channels = 2;
    double firstAt = 0.1; // seconds: a little room before the first event, so nothing starts mid-ramp
    double every = 2.0;   // seconds between events
};

class TestSignal
{
public:
    static juce::AudioBuffer<float> Generate(const TestSignalSettings& settings);

    // Amplitude of a click, and the peak of a pluck.
    static constexpr float kClickAmplitude = 1.0f;
    static constexpr float kPluckPeak = 0.5f;
};

} // namespace ombrelhost
