// Processing: every block length from 1 sample to the largest and a sequence of varying lengths,
// with silence, an impulse, noise and a full-scale sine. The output must stay finite and silence
// must not run away; the bypass must give the dry signal; the cost is reported; the latency the
// host is told must be the delay an impulse takes.

#include "tools/host/validate/ValidationGroup.h"

#include "aax_library/AAX_Identifiers.h"
#include "tools/host/validate/LatencyCheck.h"
#include "tools/host/validate/ValidationInstance.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace ombrelhost
{

namespace
{

// Output from silence above this (40 dB over full scale) counts as a runaway.
constexpr double kRunawayPeak = 100.0;
constexpr int32_t kBlockLengths[] = {1, 16, 64, 256, 1024};

struct NamedSignal
{
    const char* name;
    SignalSource source;
};

// conditions: the layout, rate and block lengths of the run, named by a failure.
void CheckInputs(GroupContext& context, const std::string& what, const std::string& conditions,
                 const std::function<BlockFigures(const SignalSource&)>& run)
{
    const NamedSignal signals[] = {{"silence", Silence()},
                                   {"impulse", Impulse()},
                                   {"noise", Noise(7)},
                                   {"full-scale sine", FullScaleSine(997.0, kValidationRate)}};
    for (const NamedSignal& signal : signals)
    {
        const std::string name = what + ", " + signal.name;
        context.Step(name);
        const BlockFigures figures = run(signal.source);
        const std::string peak = "peak " + FormatFigure("%.3g", figures.peak);
        if (figures.nonFinite > 0)
            context.Fail(name, std::to_string(figures.nonFinite) + " output samples are not finite",
                         peak + "; " + conditions);
        else if (std::string(signal.name) == "silence" && figures.peak > kRunawayPeak)
            context.Fail(name, "silence in runs away",
                         peak + " (above " + FormatFigure("%g", kRunawayPeak) + "); " + conditions);
        else
            context.Pass(name, peak);
    }
}

void CheckBypass(GroupContext& context, ValidationInstance& instance)
{
    const std::string name =
        std::string("bypass gives the dry signal (") + ChannelLayoutName(instance.Layout()) + ")";
    context.Step(name);
    ModuleSession::WriteParameter(instance.DataModel(), cDefaultMasterBypassID, 1.0);
    const SignalSource noise = Noise(11);
    double largest = 0.0;
    int64_t largestAt = 0;
    int32_t largestChannel = 0;
    testhost::ProcessingContext& record = instance.Context();
    for (int64_t position = 0; position < 8 * 256; position += 256)
    {
        BlockFigures figures;
        instance.RunBlock(256, noise, position, figures);
        // Outputs without an input of their own (the second of mono-to-stereo) are left out: the
        // module clears them when bypassed.
        for (int32_t c = 0; c < std::min(record.OutputCount(), record.InputCount()); ++c)
        {
            const float* in = record.Input(c);
            const float* out = record.Output(c);
            for (int32_t i = 0; i < 256; ++i)
                if (const double difference = std::fabs(out[i] - in[i]); difference > largest)
                {
                    largest = difference;
                    largestAt = position + i;
                    largestChannel = c;
                }
        }
    }
    ModuleSession::WriteParameter(instance.DataModel(), cDefaultMasterBypassID, 0.0);
    const std::string figures = "largest difference " + FormatFigure("%.3g", largest);
    if (largest > 1.0e-6)
        context.Fail(name, "the bypassed output is not the input",
                     figures + " at channel " + std::to_string(largestChannel + 1) + ", sample " +
                         std::to_string(largestAt) + "; " +
                         RunConditions(instance.Layout(), instance.SampleRate(), 256));
    else
        context.Pass(name, figures);
}

} // namespace

void RunProcessingChecks(GroupContext& context)
{
    ModuleSession session;
    if (!context.OpenModule(session, "processing"))
        return;
    // Each run lasts a twentieth of a second per step of strictness.
    const int64_t runLength = static_cast<int64_t>(kValidationRate * 0.05 * context.Strictness());
    for (ChannelLayout layout : context.Layouts())
    {
        const std::string layoutName = ChannelLayoutName(layout);
        std::unique_ptr<ValidationInstance> instance = context.CreateInstance(
            session, layout, kValidationRate, "instantiating " + layoutName, "processing " + layoutName);
        if (instance == nullptr)
            continue;
        double processSeconds = 0.0;
        int64_t processed = 0;
        for (int32_t length : kBlockLengths)
            CheckInputs(context, layoutName + ", blocks of " + std::to_string(length),
                        RunConditions(layout, kValidationRate, length) + ", " + std::to_string(runLength) +
                            " samples",
                        [&](const SignalSource& source)
                        {
                            const BlockFigures figures = instance->Run(length, runLength, source);
                            processSeconds += figures.seconds;
                            processed += runLength;
                            return figures;
                        });
        std::minstd_rand lengths(3);
        CheckInputs(context, layoutName + ", varying block lengths",
                    RunConditions(layout, kValidationRate, 0) + ", blocks of 1 to " +
                        std::to_string(ValidationInstance::kMaximumBlock) + " (seed 3), " +
                        std::to_string(runLength) + " samples",
                    [&](const SignalSource& source)
                    {
                        BlockFigures figures;
                        for (int64_t position = 0; position < runLength;)
                        {
                            const int32_t length =
                                1 + static_cast<int32_t>(lengths() % ValidationInstance::kMaximumBlock);
                            instance->RunBlock(length, source, position, figures);
                            position += length;
                        }
                        return figures;
                    });

        const double realTime = static_cast<double>(processed) / kValidationRate;
        context.Pass("cpu time (" + layoutName + ")",
                     FormatFigure("%.2f %% of real time", 100.0 * processSeconds / std::max(realTime, 1e-9)));
        CheckBypass(context, *instance);
        session.ReleaseDataModel(&instance->DataModel());
        CheckLatency(context, session, layout);
    }
}

} // namespace ombrelhost
