#include "tools/host/validate/DenormalCheck.h"

#include "tools/host/validate/BlockSequence.h"
#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationInstance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ombrelhost
{

namespace
{

constexpr int32_t kDenormalBlock = 512;
constexpr int kRounds = 3;
// The decay: from -6 dB down to the floor over this many samples, then at the floor, far below the
// smallest normal float (1.2e-38).
constexpr int64_t kDecaySamples = 2048;
constexpr double kFloor = 1.0e-41;
// Below this extra cost (a share of real time) a slow-down is not worth a warning, however large
// its ratio: the effect costs next to nothing either way.
constexpr double kNegligibleShare = 0.01;

double TimedRun(ValidationInstance& instance, int64_t length, const SignalSource& source, int64_t from)
{
    BlockFigures figures;
    for (int64_t position = from; position < from + length; position += kDenormalBlock)
        instance.RunBlock(kDenormalBlock, source, position, figures);
    return figures.seconds;
}

} // namespace

void CheckDenormalCost(GroupContext& context, ValidationInstance& instance)
{
    const std::string layoutName = ChannelLayoutName(instance.Layout());
    const std::string name = "denormal input (" + layoutName + ")";
    // A tenth of a second per step of strictness.
    const int64_t length = static_cast<int64_t>(instance.SampleRate() * 0.1 * context.Strictness());
    const SignalSource noise = Noise(static_cast<uint32_t>(context.Random()()));
    const SignalSource decayingNoise = Noise(static_cast<uint32_t>(context.Random()()));
    const SignalSource decaying = [decayingNoise](int channel, int64_t sample)
    {
        const double fraction = std::min(1.0, static_cast<double>(sample) / static_cast<double>(kDecaySamples));
        // The noise as it is at the start, scaled down to the floor by kDecaySamples, exponentially.
        const double amplitude = std::exp(fraction * std::log(kFloor));
        return static_cast<float>(decayingNoise(channel, sample) * amplitude);
    };
    double normal = std::numeric_limits<double>::max();
    double denormal = std::numeric_limits<double>::max();
    for (int round = 0; round < kRounds; ++round)
    {
        context.Step("timing noise through " + layoutName + " at " + RateText(instance.SampleRate()) +
                     ", blocks of " + std::to_string(kDenormalBlock));
        normal = std::min(normal, TimedRun(instance, length, noise, 0));
        context.Step("timing input decaying into denormal numbers through " + layoutName + " at " +
                     RateText(instance.SampleRate()) + ", blocks of " + std::to_string(kDenormalBlock));
        TimedRun(instance, kDecaySamples, decaying, 0);
        denormal = std::min(denormal, TimedRun(instance, length, decaying, kDecaySamples));
    }
    const double seconds = static_cast<double>(length) / instance.SampleRate();
    const double ratio = denormal / std::max(normal, 1e-9);
    const std::string figures = "noise " + FormatFigure("%.2f", 1000.0 * normal) + " ms, denormal " +
                                FormatFigure("%.2f", 1000.0 * denormal) + " ms for " +
                                FormatFigure("%.2f", seconds) + " s of audio (" + FormatFigure("%.1f", ratio) +
                                "x)";
    if (ratio > kDenormalSlowDown && denormal - normal > kNegligibleShare * seconds)
        context.Warn(name,
                     "processing slows down " + FormatFigure("%.1f", ratio) + "x on input decaying into denormal numbers at " +
                         RateText(instance.SampleRate()) + ", blocks of " + std::to_string(kDenormalBlock) + " samples (" +
                         layoutName + ")",
                     figures);
    else
        context.Pass(name, figures);
}

} // namespace ombrelhost
