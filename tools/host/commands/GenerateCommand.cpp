// `generate OUT.wav`: a short test signal to render through an effect.

#include "tools/host/formats/AudioFile.h"
#include "tools/host/commands/CommandSupport.h"
#include "tools/host/session/TestSignal.h"

#include <cstdio>

namespace ombrelhost
{

namespace
{
constexpr double kMaximumSeconds = 600.0;
}

int RunGenerate(const CommandLine& commandLine)
{
    TestSignalSettings settings;
    const std::string kind = commandLine.Value("signal", "pluck");
    if (kind == "clicks")
        settings.kind = TestSignalKind::Clicks;
    else if (kind == "pluck")
        settings.kind = TestSignalKind::Pluck;
    else
        return UsageError("--signal must be clicks or pluck");
    if (commandLine.Has("seconds") && (!ParseNumber(commandLine.Value("seconds"), settings.seconds) ||
                                       settings.seconds <= 0.0 || settings.seconds > kMaximumSeconds))
        return UsageError("--seconds must be above 0 and at most 600");
    long value = 0;
    if (commandLine.Has("rate"))
    {
        if (!ParseInteger(commandLine.Value("rate"), 8000, 192000, value))
            return UsageError("--rate must be a whole number of Hz from 8000 to 192000");
        settings.sampleRate = static_cast<double>(value);
    }
    if (commandLine.Has("channels"))
    {
        if (!ParseInteger(commandLine.Value("channels"), 1, 2, value))
            return UsageError("--channels must be 1 or 2");
        settings.channels = static_cast<int>(value);
    }
    if (commandLine.Has("every") &&
        (!ParseNumber(commandLine.Value("every"), settings.every) || settings.every <= 0.0))
        return UsageError("--every must be a number of seconds above 0");
    int bits = 24;
    if (commandLine.Has("bits"))
    {
        if (!ParseInteger(commandLine.Value("bits"), 16, 32, value) ||
            (value != 16 && value != 24 && value != 32))
            return UsageError("--bits must be 16, 24 or 32 (32 is floating point)");
        bits = static_cast<int>(value);
    }

    const juce::AudioBuffer<float> signal = TestSignal::Generate(settings);
    const std::string& path = commandLine.Positional(0);
    std::string error;
    if (!AudioFile::Write(path, signal, settings.sampleRate, bits, error))
        return Fail(error);
    std::printf("wrote    %s: %s, %d %s, %.0f Hz, %.3f s, %d-bit%s, events every %.3f s from %.3f s\n",
                path.c_str(), kind.c_str(), settings.channels,
                settings.channels == 1 ? "channel" : "channels", settings.sampleRate, settings.seconds, bits,
                bits == 32 ? " float" : "", settings.every, settings.firstAt);
    return kExitSuccess;
}

} // namespace ombrelhost
