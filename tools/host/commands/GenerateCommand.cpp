// `generate OUT.wav`: a short test signal to render through an effect.

#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/CommandSupport.h"
#include "tools/host/commands/OptionChecks.h"
#include "tools/host/formats/AudioFile.h"
#include "tools/host/session/TestSignal.h"

#include <cstdio>
#include <map>
#include <memory>

namespace ombrelhost
{

namespace
{

constexpr double kMaximumSeconds = 600.0;

struct GenerateOptions
{
    std::string path;
    TestSignalSettings settings;
    int bits = 24;
};

const std::map<std::string, TestSignalKind> kSignalKinds = {{"clicks", TestSignalKind::Clicks},
                                                            {"pluck", TestSignalKind::Pluck}};

int RunGenerate(const GenerateOptions& options)
{
    const TestSignalSettings& settings = options.settings;
    const juce::AudioBuffer<float> signal = TestSignal::Generate(settings);
    std::string error;
    if (!AudioFile::Write(options.path, signal, settings.sampleRate, options.bits, error))
        return Fail(error);
    std::printf("wrote    %s: %s, %d %s, %.0f Hz, %.3f s, %d-bit%s, events every %.3f s from %.3f s\n",
                options.path.c_str(), settings.kind == TestSignalKind::Clicks ? "clicks" : "pluck",
                settings.channels, settings.channels == 1 ? "channel" : "channels", settings.sampleRate,
                settings.seconds, options.bits, options.bits == 32 ? " float" : "", settings.every,
                settings.firstAt);
    return kExitSuccess;
}

} // namespace

void RegisterGenerateCommand(CommandRegistry& registry)
{
    auto options = std::make_shared<GenerateOptions>();
    TestSignalSettings& settings = options->settings;
    CLI::App& command = registry.Add("generate", "a test signal: clicks or plucked tones at a fixed interval",
                                     [options] { return RunGenerate(*options); });
    command.add_option("OUT.wav", options->path, "the WAV file to write")->required();
    command.add_option("--signal", settings.kind, "clicks or pluck")
        ->transform(CLI::CheckedTransformer(kSignalKinds))
        ->default_str("pluck");
    command.add_option("--seconds", settings.seconds, "length")
        ->check(Explained(CLI::PositiveNumber & CLI::Range(0.0, kMaximumSeconds),
                          "must be above 0 and at most 600"));
    command.add_option("--rate", settings.sampleRate, "sample rate in Hz")
        ->check(CLI::Range(8000, 192000))
        ->type_name("HZ");
    command.add_option("--channels", settings.channels, "1 or 2")->check(CLI::Range(1, 2));
    command.add_option("--every", settings.every, "seconds between clicks or tones")
        ->check(Explained(CLI::PositiveNumber, "must be a number of seconds above 0"));
    command.add_option("--bits", options->bits, "16, 24 or 32 (float)")->check(CLI::IsMember({16, 24, 32}));
}

} // namespace ombrelhost
