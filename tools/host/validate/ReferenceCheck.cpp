#include "tools/host/validate/ReferenceCheck.h"

#include "tools/host/formats/AudioFile.h"
#include "tools/host/session/Renderer.h"
#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationInstance.h"

#include <algorithm>
#include <cmath>

namespace ombrelhost
{

namespace
{

// The reference input: fixed for good, or every stored reference would stop matching.
constexpr uint32_t kNoiseSeed = 2021;
constexpr int kNoiseSamples = 24000;
constexpr int kLength = 48000;
constexpr int kBlockLength = 512;
// Written as 32-bit float, so that the file holds the render exactly.
constexpr int kReferenceBits = 32;

juce::AudioBuffer<float> ReferenceInput(int channels)
{
    juce::AudioBuffer<float> input(channels, kLength);
    input.clear();
    const SignalSource noise = Noise(kNoiseSeed);
    for (int channel = 0; channel < channels; ++channel)
        for (int sample = 0; sample < kNoiseSamples; ++sample)
            input.setSample(channel, sample, noise(channel, sample));
    return input;
}

ChannelLayout ReferenceLayout(const std::vector<ChannelLayout>& layouts)
{
    return std::find(layouts.begin(), layouts.end(), ChannelLayout::Stereo) != layouts.end() ? ChannelLayout::Stereo
                                                                                            : layouts.front();
}

std::string Sample(float value)
{
    return FormatFigure("%.9g", value);
}

} // namespace

void RunReferenceCheck(GroupContext& context, const std::string& path, double tolerance)
{
    ModuleSession session;
    if (!context.OpenModule(session, kReferenceCheckName))
        return;
    const ChannelLayout layout = ReferenceLayout(context.Layouts());
    const std::string layoutName = ChannelLayoutName(layout);
    context.Step("instantiating " + layoutName + " for the reference render");
    std::string error;
    testhost::DataModelInstance* dataModel = session.NewDataModel(layout, kValidationRate, error);
    if (dataModel == nullptr)
    {
        context.Fail(kReferenceCheckName, layoutName + " at 48 kHz: " + error);
        return;
    }
    context.Step("rendering the reference input through " + layoutName);
    RenderSettings settings;
    settings.layout = layout;
    settings.blockSize = kBlockLength;
    RenderResult render;
    if (!Renderer::Run(session, *dataModel, ReferenceInput(InputChannels(layout)), kValidationRate, settings,
                       render, error))
    {
        context.Fail(kReferenceCheckName, layoutName + " at 48 kHz in blocks of 512: " + error);
        return;
    }
    const juce::AudioBuffer<float>& output = render.output;
    const std::string what = layoutName + ", " + std::to_string(output.getNumChannels()) + " channels of " +
                             std::to_string(output.getNumSamples()) + " samples at 48 kHz";
    if (render.nonFiniteSamples > 0)
    {
        context.Fail(kReferenceCheckName,
                     std::to_string(render.nonFiniteSamples) + " output samples of the render are not finite",
                     what);
        return;
    }

    if (!juce::File::getCurrentWorkingDirectory().getChildFile(juce::String(path)).existsAsFile())
    {
        context.Step("writing the reference " + path);
        if (!AudioFile::Write(path, output, kValidationRate, kReferenceBits, error))
            context.Fail(kReferenceCheckName, error);
        else
            context.Skip(kReferenceCheckName, "reference written to " + path + " (" + what + ")");
        return;
    }
    context.Step("comparing with the reference " + path);
    AudioData stored;
    if (!AudioFile::Read(path, stored, error))
    {
        context.Fail(kReferenceCheckName, error);
        return;
    }
    const juce::AudioBuffer<float>& expected = stored.samples;
    if (expected.getNumChannels() != output.getNumChannels() || expected.getNumSamples() != output.getNumSamples() ||
        stored.sampleRate != kValidationRate)
    {
        context.Fail(kReferenceCheckName,
                     "the reference holds " + std::to_string(expected.getNumChannels()) + " channels of " +
                         std::to_string(expected.getNumSamples()) + " samples at " +
                         FormatFigure("%g", stored.sampleRate) + " Hz; the render " +
                         std::to_string(output.getNumChannels()) + " of " +
                         std::to_string(output.getNumSamples()) + " at 48000 Hz",
                     what);
        return;
    }
    int64_t differing = 0;
    int firstChannel = 0;
    int firstSample = 0;
    double largest = 0.0;
    for (int channel = 0; channel < output.getNumChannels(); ++channel)
        for (int sample = 0; sample < output.getNumSamples(); ++sample)
        {
            const double difference =
                std::fabs(static_cast<double>(output.getSample(channel, sample)) - expected.getSample(channel, sample));
            largest = std::max(largest, difference);
            if (difference > tolerance && differing++ == 0)
            {
                firstChannel = channel;
                firstSample = sample;
            }
        }
    const std::string figures = "largest difference " + FormatFigure("%.3g", largest) + ", tolerance " +
                                FormatFigure("%g", tolerance) + "; " + what;
    if (differing == 0)
    {
        context.Pass(kReferenceCheckName, figures);
        return;
    }
    context.Fail(kReferenceCheckName,
                 std::to_string(differing) + (differing == 1 ? " sample differs from " : " samples differ from ") +
                     path + " by more than the tolerance, first " +
                     "channel " + std::to_string(firstChannel + 1) + ", sample index " + std::to_string(firstSample) +
                     ": " + Sample(output.getSample(firstChannel, firstSample)) + " rendered, " +
                     Sample(expected.getSample(firstChannel, firstSample)) + " in the reference",
                 figures);
}

} // namespace ombrelhost
