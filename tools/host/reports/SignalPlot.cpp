#include "tools/host/reports/SignalPlot.h"

#include "tools/host/formats/PngFile.h"

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <complex>
#include <memory>

namespace ombrelhost
{

namespace
{

constexpr int kMarginLeft = 70;
constexpr int kMarginRight = 20;
constexpr int kTitleLineHeight = 20;
constexpr int kMarkerLabelWidth = 160;
constexpr int kMarkerLabelHeight = 15;
constexpr int kRowGap = 8;
constexpr int kAxisHeight = 26;
constexpr int kFftOrder = 12; // 4096-point frames
constexpr double kSpectrumFloorDb = -120.0;
constexpr double kSpectrumLowestHz = 20.0;

const juce::Colour kBackground(0xff101418);
const juce::Colour kPanel(0xff1a2027);
const juce::Colour kGrid(0xff2c343d);
const juce::Colour kText(0xffc8d0d8);
const juce::Colour kInputColour(0xff4fa3e0);
const juce::Colour kOutputColour(0xfff0a040);
const juce::Colour kMarkerColour(0xffe05060);

// In-place iterative radix-2 FFT; size must be a power of two.
void Fft(std::vector<std::complex<double>>& data)
{
    const size_t n = data.size();
    for (size_t i = 1, j = 0; i < n; ++i)
    {
        size_t bit = n >> 1;
        for (; (j & bit) != 0; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(data[i], data[j]);
    }
    for (size_t length = 2; length <= n; length <<= 1)
    {
        const double angle = -2.0 * juce::MathConstants<double>::pi / static_cast<double>(length);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t start = 0; start < n; start += length)
        {
            std::complex<double> w(1.0, 0.0);
            for (size_t k = 0; k < length / 2; ++k)
            {
                const std::complex<double> even = data[start + k];
                const std::complex<double> odd = data[start + k + length / 2] * w;
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
}

// Average power spectrum over all channels and Hann-windowed frames, in dB relative to a
// full-scale sine. Index k is frequency k * rate / frameSize.
std::vector<double> AverageSpectrumDb(const juce::AudioBuffer<float>& samples)
{
    const int frameSize = 1 << kFftOrder;
    const int hop = frameSize / 2;
    std::vector<double> window(static_cast<size_t>(frameSize));
    double windowSum = 0.0;
    for (int i = 0; i < frameSize; ++i)
    {
        window[static_cast<size_t>(i)] =
            0.5 - 0.5 * std::cos(2.0 * juce::MathConstants<double>::pi * i / (frameSize - 1));
        windowSum += window[static_cast<size_t>(i)];
    }
    std::vector<double> power(static_cast<size_t>(frameSize / 2 + 1), 0.0);
    int frames = 0;
    std::vector<std::complex<double>> data(static_cast<size_t>(frameSize));
    const int length = samples.getNumSamples();
    for (int channel = 0; channel < samples.getNumChannels(); ++channel)
    {
        const float* source = samples.getReadPointer(channel);
        for (int start = 0; start == 0 || start + frameSize <= length; start += hop)
        {
            for (int i = 0; i < frameSize; ++i)
            {
                const int at = start + i;
                const double sample = at < length ? source[at] : 0.0;
                data[static_cast<size_t>(i)] = sample * window[static_cast<size_t>(i)];
            }
            Fft(data);
            for (size_t k = 0; k < power.size(); ++k)
                power[k] += std::norm(data[k]);
            ++frames;
        }
    }
    std::vector<double> decibels(power.size());
    const double scale = 2.0 / windowSum;
    for (size_t k = 0; k < power.size(); ++k)
    {
        const double magnitude = std::sqrt(power[k] / std::max(frames, 1)) * scale;
        decibels[k] =
            magnitude > 0.0 ? std::max(kSpectrumFloorDb, 20.0 * std::log10(magnitude)) : kSpectrumFloorDb;
    }
    return decibels;
}

juce::String SecondsText(double seconds)
{
    return juce::String(seconds, seconds < 10.0 ? 2 : 1) + " s";
}

// One channel's waveform, min and max per pixel column.
void DrawWaveform(juce::Graphics& g, juce::Rectangle<int> area, const float* samples, int length,
                  juce::Colour colour)
{
    const float middle = area.getCentreY();
    const float halfHeight = area.getHeight() * 0.5f - 2.0f;
    g.setColour(kGrid);
    g.drawHorizontalLine(static_cast<int>(middle), static_cast<float>(area.getX()),
                         static_cast<float>(area.getRight()));
    g.setColour(colour);
    const int width = area.getWidth();
    for (int x = 0; x < width; ++x)
    {
        const int first = static_cast<int>(static_cast<juce::int64>(x) * length / width);
        const int last =
            std::max(first + 1, static_cast<int>(static_cast<juce::int64>(x + 1) * length / width));
        float low = 0.0f, high = 0.0f;
        for (int i = first; i < last && i < length; ++i)
        {
            const float sample = std::isfinite(samples[i]) ? juce::jlimit(-1.0f, 1.0f, samples[i]) : 0.0f;
            low = std::min(low, sample);
            high = std::max(high, sample);
        }
        const float top = middle - high * halfHeight;
        const float bottom = middle - low * halfHeight;
        g.drawVerticalLine(area.getX() + x, top, std::max(bottom, top + 1.0f));
    }
}

void DrawSpectrum(juce::Graphics& g, juce::Rectangle<int> area, const std::vector<double>& decibels,
                  double sampleRate, juce::Colour colour)
{
    const double nyquist = sampleRate * 0.5;
    const double logLow = std::log10(kSpectrumLowestHz);
    const double logHigh = std::log10(nyquist);
    const double binHz = sampleRate / (1 << kFftOrder);
    juce::Path path;
    bool started = false;
    for (size_t k = 1; k < decibels.size(); ++k)
    {
        const double hz = k * binHz;
        if (hz < kSpectrumLowestHz)
            continue;
        const float x = area.getX() +
                        static_cast<float>((std::log10(hz) - logLow) / (logHigh - logLow)) * area.getWidth();
        const float y = area.getY() + static_cast<float>(decibels[k] / kSpectrumFloorDb) * area.getHeight();
        if (!started)
            path.startNewSubPath(x, y);
        else
            path.lineTo(x, y);
        started = true;
    }
    g.setColour(colour);
    g.strokePath(path, juce::PathStrokeType(1.5f));
}

} // namespace

bool SignalPlot::Write(const std::string& path, const std::string& title,
                       const juce::AudioBuffer<float>& input, const juce::AudioBuffer<float>& output,
                       double sampleRate, const std::vector<PlotMarker>& markers, std::string& error)
{
    struct Row
    {
        const juce::AudioBuffer<float>* buffer;
        int channel;
        juce::String label;
        juce::Colour colour;
    };
    std::vector<Row> rows;
    for (int c = 0; c < input.getNumChannels(); ++c)
        rows.push_back({&input, c, "in " + juce::String(c + 1), kInputColour});
    for (int c = 0; c < output.getNumChannels(); ++c)
        rows.push_back({&output, c, "out " + juce::String(c + 1), kOutputColour});

    const juce::StringArray titleLines = juce::StringArray::fromLines(juce::String(title));
    const int waveformsTop = 10 + titleLines.size() * kTitleLineHeight + 4;
    const int waveformsHeight = static_cast<int>(rows.size()) * (kWaveformRowHeight + kRowGap);
    const int spectrumTop = waveformsTop + waveformsHeight + kAxisHeight + kRowGap;
    const int height = spectrumTop + kSpectrumHeight + kAxisHeight + 4;
    const int plotWidth = kWidth - kMarginLeft - kMarginRight;

    juce::Image image(juce::Image::RGB, kWidth, height, true);
    juce::Graphics g(image);
    g.fillAll(kBackground);
    g.setFont(15.0f);
    g.setColour(kText);
    for (int line = 0; line < titleLines.size(); ++line)
    {
        g.setFont(line == 0 ? 15.0f : 13.0f);
        g.drawText(titleLines[line], kMarginLeft, 6 + line * kTitleLineHeight, plotWidth, kTitleLineHeight,
                   juce::Justification::centredLeft);
    }

    const int length = std::max(input.getNumSamples(), output.getNumSamples());
    const double seconds = length / sampleRate;
    g.setFont(12.0f);
    for (size_t r = 0; r < rows.size(); ++r)
    {
        const juce::Rectangle<int> area(kMarginLeft,
                                        waveformsTop + static_cast<int>(r) * (kWaveformRowHeight + kRowGap),
                                        plotWidth, kWaveformRowHeight);
        g.setColour(kPanel);
        g.fillRect(area);
        const Row& row = rows[r];
        const int rowLength = row.buffer->getNumSamples();
        // Scale the row's width to its own length on the common time axis.
        const int rowWidth =
            length > 0 ? static_cast<int>(static_cast<juce::int64>(plotWidth) * rowLength / length) : 0;
        DrawWaveform(g, area.withWidth(std::max(rowWidth, 1)), row.buffer->getReadPointer(row.channel),
                     rowLength, row.colour);
        g.setColour(row.colour);
        g.drawText(row.label, 4, area.getY(), kMarginLeft - 8, 20, juce::Justification::centredRight);
    }

    // Time axis and markers.
    const int axisY = waveformsTop + waveformsHeight;
    const double tickStep = seconds <= 2.0 ? 0.25 : seconds <= 10.0 ? 1.0 : seconds <= 60.0 ? 5.0 : 30.0;
    g.setColour(kText);
    for (double t = 0.0; t <= seconds + 1e-9; t += tickStep)
    {
        const int x = kMarginLeft + static_cast<int>(t / std::max(seconds, 1e-9) * plotWidth);
        g.setColour(kGrid);
        g.drawVerticalLine(x, static_cast<float>(waveformsTop), static_cast<float>(axisY));
        g.setColour(kText);
        g.drawText(SecondsText(t), x - 40, axisY + 2, 80, 18, juce::Justification::centred);
    }
    // Labels of markers close together are stacked instead of written over each other.
    int lastX = -1000;
    int stacked = 0;
    for (const PlotMarker& marker : markers)
    {
        if (marker.seconds < 0.0 || marker.seconds > seconds)
            continue;
        const int x = kMarginLeft + static_cast<int>(marker.seconds / std::max(seconds, 1e-9) * plotWidth);
        stacked = x - lastX < kMarkerLabelWidth ? stacked + 1 : 0;
        lastX = x;
        g.setColour(kMarkerColour);
        const float dashes[] = {4.0f, 4.0f};
        g.drawDashedLine(juce::Line<float>(static_cast<float>(x), static_cast<float>(waveformsTop),
                                           static_cast<float>(x), static_cast<float>(axisY)),
                         dashes, 2, 1.0f);
        g.drawText(juce::String(marker.label), x + 4, waveformsTop + 2 + stacked * kMarkerLabelHeight,
                   kMarkerLabelWidth, kMarkerLabelHeight, juce::Justification::centredLeft);
    }

    // Spectrum of input and output.
    const juce::Rectangle<int> spectrumArea(kMarginLeft, spectrumTop, plotWidth, kSpectrumHeight);
    g.setColour(kPanel);
    g.fillRect(spectrumArea);
    const double nyquist = sampleRate * 0.5;
    const double logLow = std::log10(kSpectrumLowestHz);
    const double logHigh = std::log10(nyquist);
    for (double hz : {20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0})
    {
        if (hz > nyquist)
            break;
        const int x =
            kMarginLeft + static_cast<int>((std::log10(hz) - logLow) / (logHigh - logLow) * plotWidth);
        g.setColour(kGrid);
        g.drawVerticalLine(x, static_cast<float>(spectrumTop), static_cast<float>(spectrumArea.getBottom()));
        g.setColour(kText);
        const juce::String label =
            hz >= 1000.0 ? juce::String(hz / 1000.0, 0) + " kHz" : juce::String(hz, 0) + " Hz";
        g.drawText(label, x - 40, spectrumArea.getBottom() + 2, 80, 18, juce::Justification::centred);
    }
    for (double db = 0.0; db >= kSpectrumFloorDb; db -= 20.0)
    {
        const int y = spectrumTop + static_cast<int>(db / kSpectrumFloorDb * kSpectrumHeight);
        g.setColour(kGrid);
        g.drawHorizontalLine(y, static_cast<float>(kMarginLeft), static_cast<float>(spectrumArea.getRight()));
        g.setColour(kText);
        g.drawText(juce::String(db, 0) + " dB", 4, y - 8, kMarginLeft - 8, 16,
                   juce::Justification::centredRight);
    }
    DrawSpectrum(g, spectrumArea, AverageSpectrumDb(input), sampleRate, kInputColour);
    DrawSpectrum(g, spectrumArea, AverageSpectrumDb(output), sampleRate, kOutputColour);
    g.setColour(kInputColour);
    g.drawText("input spectrum", spectrumArea.getRight() - 260, spectrumTop + 4, 120, 16,
               juce::Justification::centredRight);
    g.setColour(kOutputColour);
    g.drawText("output spectrum", spectrumArea.getRight() - 130, spectrumTop + 4, 120, 16,
               juce::Justification::centredRight);

    return PngFile::Write(path, image, error);
}

} // namespace ombrelhost
