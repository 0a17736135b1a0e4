#pragma once
// Runs a plug-in instance over a whole signal the way a host plays a track through it: block by
// block through the module's native process procedure, with the host's parameter writes and
// bypass at block boundaries and the transport advancing with the audio.

#include "aax_adapter/AudioPathCounts.h"
#include "tools/host/commands/ArgumentValues.h"
#include "tools/host/session/ChannelLayout.h"
#include "tools/host/session/ModuleSession.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ombrelhost
{

struct RenderSettings
{
    ChannelLayout layout = ChannelLayout::Stereo;
    int blockSize = 512;
    double tempo = 120.0;
    int meterNumerator = 4;
    int meterDenominator = 4;
    bool playing = true;
    double tailSeconds = 0.0;
    // Parameter writes (bypass spans included, as writes of the bypass parameter), any order.
    std::vector<ParameterAssignment> changes;
    // Called after every block with the fraction done; may be empty.
    std::function<void(double)> progress;
};

struct AppliedChange
{
    ParameterAssignment change;
    int64_t sample = 0; // the block boundary where the host wrote it; -1 when past the end
    std::string text;   // the parameter's value text right after the write
    AAX_Result result = 0;
};

struct RenderResult
{
    juce::AudioBuffer<float> output;
    std::vector<AppliedChange> applied;
    int32_t latency = 0;
    int64_t nonFiniteSamples = 0; // replaced by silence in output
    double processSeconds = 0.0;  // wall-clock time spent in the process procedure
    // What the module's audio path counted over the run (blocks passed through during a program
    // sweep, MIDI events dropped); countsRead is false when the module did not answer them.
    AAXClasses::AudioPathCounts counts;
    bool countsRead = false;
};

class Renderer
{
public:
    // [host thread, acting as the audio thread between its own calls] input has the layout's
    // input channel count. False with a reason when the instance cannot be run.
    static bool Run(ModuleSession& session, testhost::DataModelInstance& dataModel,
                    const juce::AudioBuffer<float>& input, double sampleRate, const RenderSettings& settings,
                    RenderResult& result, std::string& error);

    static constexpr int kMaximumBlockSize = 16384;
};

} // namespace ombrelhost
