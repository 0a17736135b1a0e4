#include "tools/host/validate/RateChangeCheck.h"

#include "host_kit/HostController.h"
#include "host_kit/MessagePump.h"
#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationInstance.h"

#include <algorithm>
#include <chrono>

namespace ombrelhost
{

namespace
{

// How long the module may take to follow a new rate; its message thread ticks every few
// milliseconds, but an effect's own preparation may take seconds (a convolution reverb resampling
// its impulse responses).
constexpr double kFollowSeconds = 10.0;
constexpr int32_t kWaitingBlock = 256;

} // namespace

void CheckRateChanges(GroupContext& context, ValidationInstance& instance, const std::vector<double>& rates,
                      const BlockSequence& sequence, double referencePeak, BufferFindings& buffers)
{
    const std::string layoutName = ChannelLayoutName(instance.Layout());
    const std::string name = "rate change without release (" + layoutName + ")";
    const double referenceRate = instance.SampleRate();
    testhost::HostController& controller = *instance.DataModel().Controller();
    std::string fault;
    double slowest = 0.0;
    size_t changes = 0;
    for (const double rate : rates)
    {
        const std::string where =
            "after a change from " + RateText(instance.SampleRate()) + " to " + RateText(rate) + " (" + layoutName + ")";
        context.Step("changing the rate of the live instance from " + RateText(instance.SampleRate()) + " to " +
                     RateText(rate) + " (" + layoutName + ")");
        const int64_t reports = controller.SignalLatencyReports();
        instance.ChangeSampleRate(rate);
        const auto changed = std::chrono::steady_clock::now();
        double waited = 0.0;
        BlockFigures waiting;
        int64_t position = 0;
        const SignalSource noise = Noise(static_cast<uint32_t>(context.Random()()));
        while (controller.SignalLatencyReports() == reports && waited < kFollowSeconds)
        {
            instance.RunBlock(kWaitingBlock, noise, position, waiting);
            position += kWaitingBlock;
            // On Windows the module's timer runs on this thread, between blocks, as on a host's.
            testhost::WaitServingMessages(std::chrono::milliseconds(1));
            waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - changed).count();
        }
        if (waiting.nonFinite > 0)
        {
            fault = std::to_string(waiting.nonFinite) + " output samples are not finite " + where +
                    ", blocks of " + std::to_string(kWaitingBlock) + " samples while the module followed";
            break;
        }
        if (controller.SignalLatencyReports() == reports)
        {
            fault = "the module did not report its latency again within " + FormatFigure("%.0f", kFollowSeconds) +
                    " s " + where + ", blocks of " + std::to_string(kWaitingBlock) + " samples running";
            break;
        }
        slowest = std::max(slowest, waited);
        context.Step("blocks at " + RateText(rate) + " " + where);
        const SequenceFigures run = RunSequence(instance, sequence, context.Random());
        buffers.Note(run, sequence.blocks, "at " + RateText(rate) + " (" + layoutName + ")");
        fault = SequenceFault(run, sequence, referencePeak, referenceRate, where);
        if (!fault.empty())
            break;
        ++changes;
    }
    const std::string figures = std::to_string(changes) + " changes followed, the slowest in " +
                                FormatFigure("%.0f", 1000.0 * slowest) + " ms";
    if (!fault.empty())
        context.Fail(name, fault, figures);
    else
        context.Pass(name, figures);
}

} // namespace ombrelhost
