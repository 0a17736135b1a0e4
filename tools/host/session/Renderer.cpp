#include "tools/host/session/Renderer.h"

#include "aax_library/AAX_ITransport.h"
#include "host_kit/HostController.h"
#include "host_kit/HostString.h"
#include "host_kit/ProcessingContext.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

namespace ombrelhost
{

bool Renderer::Run(ModuleSession& session, testhost::DataModelInstance& dataModel,
                   const juce::AudioBuffer<float>& input, double sampleRate, const RenderSettings& settings,
                   RenderResult& result, std::string& error)
{
    const testhost::ComponentDescription* component = session.Component(settings.layout);
    if (component == nullptr || component->process == nullptr)
    {
        error = std::string("the module gives no native process procedure for the ") +
                ChannelLayoutName(settings.layout) + " layout";
        return false;
    }
    if (settings.blockSize < 1 || settings.blockSize > kMaximumBlockSize)
    {
        error = "the block size must be from 1 to " + std::to_string(kMaximumBlockSize);
        return false;
    }
    const int inputs = InputChannels(settings.layout);
    const int outputs = OutputChannels(settings.layout);
    if (input.getNumChannels() != inputs)
    {
        error = "the input has " + std::to_string(input.getNumChannels()) + " channels, the " +
                ChannelLayoutName(settings.layout) + " layout takes " + std::to_string(inputs);
        return false;
    }

    testhost::ProcessingContext context(*component, settings.blockSize);
    if (context.InputCount() != inputs || context.OutputCount() != outputs)
    {
        error = "the component's context does not match its stem formats";
        return false;
    }
    context.SetSampleRate(static_cast<float>(sampleRate));
    context.SetBlockLength(settings.blockSize);
    if (const AAX_Result reset = context.ResetPrivateData(dataModel.Get()); reset != AAX_SUCCESS)
    {
        error = "the data-model object refused to fill its private data (" + std::to_string(reset) + ")";
        return false;
    }

    testhost::HostConfig& config = session.Host().config;
    config.tempo = settings.tempo;
    config.meterNumerator = settings.meterNumerator;
    config.meterDenominator = settings.meterDenominator;
    config.playing = settings.playing;
    config.nativeSampleLocation = 0;
    config.tickPosition = 0;
    config.selectionStart = 0;

    std::vector<ParameterAssignment> changes = settings.changes;
    std::stable_sort(changes.begin(), changes.end(),
                     [](const ParameterAssignment& a, const ParameterAssignment& b)
                     { return a.seconds < b.seconds; });
    size_t nextChange = 0;

    const int64_t inputLength = input.getNumSamples();
    const int64_t total = inputLength + static_cast<int64_t>(std::llround(settings.tailSeconds * sampleRate));
    if (total > std::numeric_limits<int>::max())
    {
        error = "the input and tail are too long";
        return false;
    }
    result.output.setSize(outputs, static_cast<int>(total));
    result.output.clear();
    result.applied.clear();
    result.nonFiniteSamples = 0;
    result.processSeconds = 0.0;

    testhost::HostController& controller = *dataModel.Controller();
    const int block = settings.blockSize;
    for (int64_t start = 0; start < total; start += block)
    {
        // Host writes land on the first block boundary at or after their time, never early.
        while (nextChange < changes.size() &&
               static_cast<int64_t>(std::ceil(changes[nextChange].seconds * sampleRate - 1e-9)) <= start)
        {
            AppliedChange applied;
            applied.change = changes[nextChange++];
            applied.sample = start;
            applied.result =
                ModuleSession::WriteParameter(dataModel, applied.change.id, applied.change.value);
            testhost::HostString text;
            dataModel->GetParameterValueString(applied.change.id.c_str(), &text, 32);
            applied.text = text.Text();
            result.applied.push_back(std::move(applied));
        }
        // Requests the module posted since (values its effect reported) are accepted as a host does.
        dataModel.DeliverAutomation(AAX_eUpdateSource_Unspecified);
        // As a host does before every cycle: coefficients (packets) first, then the ports.
        dataModel->GenerateCoefficients();
        context.DeliverPackets(controller);

        if (settings.playing)
        {
            config.nativeSampleLocation = start;
            config.tickPosition = static_cast<int64_t>(
                std::llround(start / sampleRate * settings.tempo / 60.0 * kAAX_TicksPerQuarterNote));
        }

        // The host's buffers: input copied in (silence past its end); outputs cleared, since the
        // module leaves output channels without an input as the host gave them.
        const int count = static_cast<int>(std::min<int64_t>(block, total - start));
        for (int c = 0; c < inputs; ++c)
        {
            float* destination = context.Input(c);
            std::fill(destination, destination + block, 0.0f);
            const int available = static_cast<int>(std::clamp<int64_t>(inputLength - start, 0, count));
            if (available > 0)
                std::copy_n(input.getReadPointer(c) + start, available, destination);
        }
        for (int c = 0; c < outputs; ++c)
            std::fill(context.Output(c), context.Output(c) + block, 0.0f);

        // The last block is padded to the full size: a host keeps its block length.
        const auto before = std::chrono::steady_clock::now();
        testhost::RunProcess(component->process, {&context});
        result.processSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();

        for (int c = 0; c < outputs; ++c)
        {
            float* destination = result.output.getWritePointer(c) + start;
            const float* source = context.Output(c);
            for (int i = 0; i < count; ++i)
            {
                const float sample = source[i];
                if (std::isfinite(sample))
                    destination[i] = sample;
                else
                    ++result.nonFiniteSamples;
            }
        }
        if (settings.progress)
            settings.progress(static_cast<double>(start + count) / static_cast<double>(total));
    }
    // Writes scheduled past the end are never made; they are reported as such.
    while (nextChange < changes.size())
    {
        AppliedChange skipped;
        skipped.change = changes[nextChange++];
        skipped.sample = -1;
        result.applied.push_back(std::move(skipped));
    }
    result.latency = controller.SignalLatency();
    uint8_t counts[AAXClasses::kAudioPathCountsSize] = {};
    uint32_t written = 0;
    result.countsRead = dataModel->GetCustomData(AAXClasses::kAudioPathCountsBlock, sizeof counts, counts,
                                                 &written) == AAX_SUCCESS &&
                        AAXClasses::readAudioPathCounts(counts, written, result.counts);
    return true;
}

} // namespace ombrelhost
