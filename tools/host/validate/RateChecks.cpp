// Rates and block lengths: fresh instances at rates from 22050 to 384000 Hz (a fractional one among
// them) run blocks of up to 8192 samples, every other one of a random length; the output must be
// finite, and alive wherever the effect passes signal at the validation rate. Every block runs with
// guards around the host's buffers, which must come back untouched, as must the inputs. A live
// instance then follows rate changes without being released, and the cost of denormal input is
// measured. At strictness 1 to 4 the group stays light (instances at 48 and 44.1 kHz, blocks of up
// to 2048): some effects take tens of seconds to make an instance at an unusual rate (a convolution
// reverb resampling its impulse responses at 44144.1 Hz), and rate changes on a live instance crash
// some real effects. The other rates, the longest blocks, the rate changes and the timing come from
// 5 on.

#include "tools/host/validate/ValidationGroup.h"

#include "tools/host/validate/BlockSequence.h"
#include "tools/host/validate/DenormalCheck.h"
#include "tools/host/validate/RateChangeCheck.h"
#include "tools/host/validate/ValidationInstance.h"

namespace ombrelhost
{

namespace
{

constexpr int kHeavyStrictness = 5;
// The fractional rate of video pulled up to film: 44100 x 1.001.
constexpr double kFractionalRate = 44100.0 * 1.001;

struct RatePlan
{
    BlockSequence sequence;
    std::vector<double> freshRates;  // an instance of its own at each
    std::vector<double> changes;     // the live instance's rates after the validation rate
    bool denormals = false;
};

RatePlan PlanFor(int strictness)
{
    if (strictness < kHeavyStrictness)
        return {{{2048}, 2048, 6}, {44100.0}, {}, false};
    return {{{8192, 4096, 1000, 64}, ValidationInstance::kMaximumBlock, 4 * strictness},
            {22050.0, 44100.0, kFractionalRate, 88200.0, 96000.0, 176400.0, 192000.0, 384000.0},
            {44100.0, 96000.0, kFractionalRate, 192000.0, 22050.0, 384000.0, kValidationRate},
            true};
}

std::string RateCheckName(double rate, const std::string& layoutName)
{
    return "rate " + RateText(rate) + " (" + layoutName + ")";
}

void ReportRun(GroupContext& context, const std::string& name, const SequenceFigures& run,
               const BlockSequence& sequence, double referencePeak, const std::string& where)
{
    const std::string fault = SequenceFault(run, sequence, referencePeak, kValidationRate, where);
    const std::string figures = "peak " + FormatFigure("%.3g", run.figures.peak);
    if (!fault.empty())
        context.Fail(name, fault, figures);
    else
        context.Pass(name, figures);
}

} // namespace

void RunRateChecks(GroupContext& context)
{
    ModuleSession session;
    if (!context.OpenModule(session, "rates and block lengths"))
        return;
    const RatePlan plan = PlanFor(context.Strictness());
    const ChannelLayout timedLayout = session.DefaultLayout();
    for (ChannelLayout layout : context.Layouts())
    {
        const std::string layoutName = ChannelLayoutName(layout);
        const std::string in = " (" + layoutName + ")";
        BufferFindings buffers;

        // The instance that later follows the rate changes runs first at the validation rate: what
        // it gives there says whether the effect passes signal at all.
        std::unique_ptr<ValidationInstance> live =
            context.CreateInstance(session, layout, kValidationRate,
                                   "instantiating " + layoutName + " at " + RateText(kValidationRate),
                                   RateCheckName(kValidationRate, layoutName));
        if (live == nullptr)
            continue;
        live->WatchBuffers(true);
        context.Step(plan.sequence.Describe() + " at " + RateText(kValidationRate) + in);
        const SequenceFigures reference = RunSequence(*live, plan.sequence, context.Random());
        buffers.Note(reference, plan.sequence.blocks, "at " + RateText(kValidationRate) + in);
        ReportRun(context, RateCheckName(kValidationRate, layoutName), reference, plan.sequence, 0.0,
                  "at " + RateText(kValidationRate) + in);
        const double referencePeak = reference.figures.nonFinite == 0 ? reference.figures.peak : 0.0;
        if (plan.denormals && layout == timedLayout)
        {
            live->WatchBuffers(false);
            CheckDenormalCost(context, *live);
            live->WatchBuffers(true);
        }

        for (const double rate : plan.freshRates)
        {
            const std::string name = RateCheckName(rate, layoutName);
            std::unique_ptr<ValidationInstance> instance = context.CreateInstance(
                session, layout, rate, "instantiating " + layoutName + " at " + RateText(rate), name);
            if (instance == nullptr)
                continue;
            instance->WatchBuffers(true);
            context.Step(plan.sequence.Describe() + " at " + RateText(rate) + in);
            const SequenceFigures run = RunSequence(*instance, plan.sequence, context.Random());
            buffers.Note(run, plan.sequence.blocks, "at " + RateText(rate) + in);
            ReportRun(context, name, run, plan.sequence, referencePeak, "at " + RateText(rate) + in);
            session.ReleaseDataModel(&instance->DataModel());
        }

        if (plan.changes.empty())
            context.Skip("rate change without release" + in, "from strictness 5 on");
        else
            CheckRateChanges(context, *live, plan.changes, plan.sequence, referencePeak, buffers);
        session.ReleaseDataModel(&live->DataModel());

        const std::string name = "buffers untouched" + in;
        const std::string figures = std::to_string(buffers.blocks) + " blocks watched";
        if (buffers.writes > 0)
            context.Fail(name,
                         "the plug-in wrote the host's buffers outside its block's outputs: " + buffers.first + "; " +
                             std::to_string(buffers.writes) + " samples in all",
                         figures);
        else
            context.Pass(name, figures);
    }
}

} // namespace ombrelhost
