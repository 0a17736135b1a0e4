#pragma once
// A picture of a render: the input and output waveforms channel by channel, and their average
// spectra, written as a PNG through JUCE's image classes.

#include <juce_audio_basics/juce_audio_basics.h>

#include <string>
#include <vector>

namespace ombrelhost
{

// A vertical line across the waveforms at a time, with a short label (a parameter change, say).
struct PlotMarker
{
    double seconds = 0.0;
    std::string label;
};

class SignalPlot
{
public:
    // title may hold several lines; the first is drawn larger.
    static bool Write(const std::string& path, const std::string& title,
                      const juce::AudioBuffer<float>& input, const juce::AudioBuffer<float>& output,
                      double sampleRate, const std::vector<PlotMarker>& markers, std::string& error);

    static constexpr int kWidth = 1400;
    static constexpr int kWaveformRowHeight = 140;
    static constexpr int kSpectrumHeight = 260;
};

} // namespace ombrelhost
