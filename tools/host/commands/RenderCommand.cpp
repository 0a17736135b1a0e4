// `render MODULE IN.wav OUT.wav`: a file played through one instance, block by block, with the
// host's parameter writes, bypass and transport; the result written, measured and drawn.

#include "aax_library/AAX_Identifiers.h"
#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/CommandSupport.h"
#include "tools/host/commands/OptionChecks.h"
#include "tools/host/formats/AudioFile.h"
#include "tools/host/reports/ProgressBar.h"
#include "tools/host/reports/QuotedText.h"
#include "tools/host/reports/SignalLevels.h"
#include "tools/host/reports/SignalPlot.h"
#include "tools/host/session/Renderer.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

namespace ombrelhost
{

namespace
{

constexpr int kDefaultBlockSize = 512;
constexpr double kMaximumTempo = 999.0;
constexpr double kMaximumTailSeconds = 600.0;
constexpr double kProgressFromSeconds = 10.0; // shorter files finish before a bar helps

struct RenderOptions
{
    std::string module;
    std::string inputPath;
    std::string outputPath;
    std::optional<ChannelLayout> layout;
    RenderSettings settings;
    int bits = 32;
    std::string plotPath;
    bool progressForced = false;
    bool progressOff = false;
};

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

std::string FormatText(const AudioData& data)
{
    return std::to_string(data.bitsPerSample) + "-bit" + (data.floatingPoint ? " float" : "");
}

std::string Padded(std::string text, size_t width)
{
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

} // namespace

int RunRender(RenderOptions options)
{
    std::string error;
    RenderSettings& settings = options.settings;
    const std::optional<ChannelLayout>& givenLayout = options.layout;
    const std::string& modulePath = options.module;
    const std::string& inputPath = options.inputPath;
    const std::string& outputPath = options.outputPath;

    if (!CheckOutputPath(outputPath, error) ||
        (!options.plotPath.empty() && !CheckOutputPath(options.plotPath, error)))
        return Fail(error);
    AudioData input;
    if (!AudioFile::Read(inputPath, input, error))
        return Fail(error);
    const int channels = input.samples.getNumChannels();
    ModuleSession session;
    if (!session.Open(modulePath, error))
        return Fail(error);
    // Without --layout: the file's channel count picks it (mono before mono-stereo for one channel,
    // stereo for two, else the first layout the module describes with as many inputs).
    if (givenLayout)
        settings.layout = *givenLayout;
    else if (channels == 2)
        settings.layout = ChannelLayout::Stereo;
    else if (channels == 1)
        settings.layout = session.Component(ChannelLayout::Mono) != nullptr ? ChannelLayout::Mono
                                                                            : ChannelLayout::MonoStereo;
    else
        for (const ChannelLayout layout : session.DescribedLayouts())
            if (InputChannels(layout) == channels)
            {
                settings.layout = layout;
                break;
            }
    if (InputChannels(settings.layout) != channels)
    {
        std::string fitting;
        for (const ChannelLayout layout : session.DescribedLayouts())
            if (InputChannels(layout) == channels)
                fitting += std::string(fitting.empty() ? "" : " or ") + ChannelLayoutName(layout);
        return Fail(inputPath + " has " + std::to_string(channels) +
                    (channels == 1 ? " channel" : " channels") + "; the " +
                    ChannelLayoutName(settings.layout) + " layout takes " +
                    std::to_string(InputChannels(settings.layout)) +
                    (fitting.empty() ? " (the module describes no layout with " + std::to_string(channels) +
                                           (channels == 1 ? " input)" : " inputs)")
                                     : " (use --layout " + fitting + ")"));
    }

    testhost::DataModelInstance* dataModel = session.NewDataModel(settings.layout, input.sampleRate, error);
    if (dataModel == nullptr)
        return Fail(error);
    for (const ParameterAssignment& change : settings.changes)
        if (!ModuleSession::CheckParameterId(*dataModel, change.id, error))
            return Fail(error);

    const double length = input.samples.getNumSamples() / input.sampleRate;
    const bool showProgress =
        options.progressForced || (!options.progressOff && ProgressBar::IsTerminal(stderr) &&
                                   length + settings.tailSeconds > kProgressFromSeconds);
    RenderResult result;
    {
        ProgressBar bar(stderr, "rendering", showProgress);
        settings.progress = [&bar](double fraction) { bar.Update(fraction); };
        if (!Renderer::Run(session, *dataModel, input.samples, input.sampleRate, settings, result, error))
            return Fail(error);
    }

    if (!AudioFile::Write(outputPath, result.output, input.sampleRate, options.bits, error))
        return Fail(error);

    std::printf("input    %s: %d %s, %.0f Hz, %s (%d samples), %s\n", inputPath.c_str(), channels,
                channels == 1 ? "channel" : "channels", input.sampleRate, Seconds(length).c_str(),
                input.samples.getNumSamples(), FormatText(input).c_str());
    std::printf("effect   %s, %s layout, block %d, tempo %g BPM %d/%d, transport %s\n",
                QuotedText(session.EffectName()).c_str(), ChannelLayoutName(settings.layout),
                settings.blockSize, settings.tempo, settings.meterNumerator, settings.meterDenominator,
                settings.playing ? "playing" : "stopped");
    std::printf("latency  %d samples\n", result.latency);
    if (result.countsRead)
        std::printf("audio    %llu blocks passed through during a program sweep, %llu MIDI events dropped\n",
                    static_cast<unsigned long long>(result.counts.passedThroughBlocks),
                    static_cast<unsigned long long>(result.counts.droppedMidiEvents));
    std::vector<PlotMarker> markers;
    std::string startSettings;
    for (const AppliedChange& applied : result.applied)
    {
        const ParameterAssignment& change = applied.change;
        if (applied.sample < 0)
        {
            std::printf("change   %s = %.4f at %s: after the end, not made\n", change.id.c_str(),
                        change.value, Seconds(change.seconds).c_str());
            continue;
        }
        const double at = applied.sample / input.sampleRate;
        std::printf("change   %s = %.4f %s at %s (block boundary at sample %lld)%s\n", change.id.c_str(),
                    change.value, QuotedText(applied.text).c_str(), Seconds(at).c_str(),
                    static_cast<long long>(applied.sample),
                    applied.result != AAX_SUCCESS ? " refused by the module" : "");
        const std::string label = change.id == cDefaultMasterBypassID
                                      ? (change.value > 0.5 ? "bypass on" : "bypass off")
                                      : change.id + " = " + applied.text;
        // Writes before the first block are the starting settings, listed under the title.
        if (applied.sample == 0)
            startSettings += (startSettings.empty() ? "" : ", ") + label;
        else
            markers.push_back({at, label});
    }

    const std::vector<ChannelLevel> inputLevels = SignalLevels::Measure(input.samples);
    const std::vector<ChannelLevel> outputLevels = SignalLevels::Measure(result.output);
    std::printf("levels   %s%s%s%s%s\n", Padded("channel", 9).c_str(), Padded("input peak", 16).c_str(),
                Padded("input RMS", 16).c_str(), Padded("output peak", 16).c_str(), "output RMS");
    const size_t rows = std::max(inputLevels.size(), outputLevels.size());
    for (size_t c = 0; c < rows; ++c)
    {
        const auto text = [](const std::vector<ChannelLevel>& levels, size_t channel, bool peak)
        {
            if (channel >= levels.size())
                return std::string("-");
            return SignalLevels::DecibelText(peak ? levels[channel].peak : levels[channel].rms);
        };
        std::printf("         %s%s%s%s%s\n", Padded(std::to_string(c + 1), 9).c_str(),
                    Padded(text(inputLevels, c, true), 16).c_str(),
                    Padded(text(inputLevels, c, false), 16).c_str(),
                    Padded(text(outputLevels, c, true), 16).c_str(), text(outputLevels, c, false).c_str());
    }
    if (result.nonFiniteSamples > 0)
        std::printf("warning  the effect produced %lld samples that are not numbers; written as silence\n",
                    static_cast<long long>(result.nonFiniteSamples));
    const double outputSeconds = result.output.getNumSamples() / input.sampleRate;
    std::printf("output   %s: %d %s, %d-bit%s, %s\n", outputPath.c_str(), result.output.getNumChannels(),
                result.output.getNumChannels() == 1 ? "channel" : "channels", options.bits,
                options.bits == 32 ? " float" : "", Seconds(outputSeconds).c_str());

    if (!options.plotPath.empty())
    {
        char transport[96];
        std::snprintf(transport, sizeof transport, "%g BPM %d/%d, %s, block %d", settings.tempo,
                      settings.meterNumerator, settings.meterDenominator,
                      settings.playing ? "playing" : "stopped", settings.blockSize);
        std::string title = "ombrel-host render: \"" + session.EffectName() + "\", " +
                            ChannelLayoutName(settings.layout) + ", " + inputPath + " -> " + outputPath +
                            "\n" + transport;
        if (!startSettings.empty())
            title += "; from the start: " + startSettings;
        if (!SignalPlot::Write(options.plotPath, title, input.samples, result.output, input.sampleRate,
                               markers, error))
            return Fail(error);
        std::printf("plot     %s\n", options.plotPath.c_str());
    }
    if (result.processSeconds > 0.0)
        std::printf("speed    %s of audio processed in %s (%.0fx real time)\n",
                    Seconds(outputSeconds).c_str(), Seconds(result.processSeconds).c_str(),
                    outputSeconds / result.processSeconds);
    return kExitSuccess;
}

void RegisterRenderCommand(CommandRegistry& registry)
{
    auto options = std::make_shared<RenderOptions>();
    RenderSettings& settings = options->settings;
    settings.blockSize = kDefaultBlockSize;
    CLI::App& command = registry.Add("render", "plays a WAV file through one instance, block by block",
                                     [options] { return RunRender(*options); });
    AddModuleArgument(command, options->module);
    command.add_option("IN.wav", options->inputPath, "the WAV file played through the effect")->required();
    command.add_option("OUT.wav", options->outputPath, "the WAV file the output is written to")->required();
    AddLayoutOption(command, options->layout)
        ->description("the channel layout (from the file: stereo for two channels, mono for one)");
    AddSetOption(command, settings.changes, true,
                 "a parameter change at a time in seconds, at the start without @ (repeatable)");
    command.add_option("--block", settings.blockSize, "samples per block")
        ->check(Explained(CLI::Range(1, Renderer::kMaximumBlockSize),
                          "must be a whole number from 1 to " + std::to_string(Renderer::kMaximumBlockSize)));
    command
        .add_option_function<std::vector<std::string>>(
            "--bypass",
            [&settings](const std::vector<std::string>& texts)
            {
                for (const std::string& text : texts)
                {
                    TimeSpan span;
                    std::string error;
                    if (!ParseTimeSpan(text, span, error)) // checked already
                        continue;
                    settings.changes.push_back({cDefaultMasterBypassID, 1.0, span.from, true});
                    if (std::isfinite(span.to))
                        settings.changes.push_back({cDefaultMasterBypassID, 0.0, span.to, true});
                }
            },
            "a bypassed span in seconds; TO may be left out (repeatable)")
        ->check(TimeSpanCheck())
        ->allow_extra_args(false)
        ->type_name("FROM-TO");
    command.add_option("--tempo", settings.tempo, "beats per minute")
        ->check(Explained(CLI::PositiveNumber & CLI::Range(0.0, kMaximumTempo),
                          "must be a number of beats per minute above 0 and up to 999"));
    command
        .add_option_function<std::string>(
            "--meter",
            [&settings](const std::string& text)
            { ParseMeter(text, settings.meterNumerator, settings.meterDenominator); },
            "the time signature")
        ->check(MeterCheck())
        ->type_name("N/D")
        ->default_str("4/4");
    command.add_option("--playing", settings.playing, "whether the transport plays")
        ->type_name("yes|no")
        ->default_str("yes");
    command.add_option("--tail", settings.tailSeconds, "seconds of silence after the file")
        ->check(Explained(CLI::Range(0.0, kMaximumTailSeconds), "must be a number of seconds from 0 to 600"));
    command.add_option("--bits", options->bits, "16, 24 or 32 (float)")
        ->check(Explained(CLI::IsMember({16, 24, 32}), "must be 16, 24 or 32 (32 is floating point)"));
    command.add_option("--plot", options->plotPath, "waveforms and spectra into a PNG file")
        ->type_name("OUT.png");
    CLI::Option* progress =
        command.add_flag("--progress", options->progressForced, "always show the progress bar");
    command.add_flag("--no-progress", options->progressOff, "never show the progress bar")
        ->excludes(progress);
}

} // namespace ombrelhost
