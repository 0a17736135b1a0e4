#include "tools/host/validate/LatencyCheck.h"

#include "host_kit/HostController.h"
#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationInstance.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ombrelhost
{

namespace
{

constexpr int32_t kLatencyBlock = 256;
// Beyond the reported latency, how far the impulse is followed: a second at the validation rate
// covers the pre-delay of any reverb worth the name.
constexpr int64_t kSearchBeyondLatency = static_cast<int64_t>(kValidationRate);
// An output counts as the impulse from this fraction of the largest output on (-40 dB), so that
// an effect's noise floor or dither does not count as its first sample.
constexpr double kOnsetFraction = 0.01;

} // namespace

void CheckLatency(GroupContext& context, ModuleSession& session, ChannelLayout layout)
{
    const std::string layoutName = ChannelLayoutName(layout);
    const std::string name = "latency (" + layoutName + ")";
    std::unique_ptr<ValidationInstance> instance = context.CreateInstance(
        session, layout, kValidationRate, "instantiating " + layoutName + " for the latency", name);
    if (instance == nullptr)
        return;
    context.Step("an impulse through " + layoutName + " for the latency");
    const SignalSource impulse = Impulse();
    testhost::ProcessingContext& record = instance->Context();
    std::vector<std::vector<float>> outputs(static_cast<size_t>(record.OutputCount()));
    int32_t reported = 0;
    int64_t length = kLatencyBlock;
    for (int64_t position = 0; position < length; position += kLatencyBlock)
    {
        BlockFigures figures;
        instance->RunBlock(kLatencyBlock, impulse, position, figures);
        for (int32_t c = 0; c < record.OutputCount(); ++c)
            outputs[static_cast<size_t>(c)].insert(outputs[static_cast<size_t>(c)].end(), record.Output(c),
                                                   record.Output(c) + kLatencyBlock);
        // Effects often size their look-ahead once they process, and the module reports the change
        // when it sees it: the figure is read after every block and the run lengthened to match.
        instance->DataModel().Controller()->GetSignalLatency(&reported);
        length = std::max(length, std::max<int64_t>(0, reported) + kSearchBeyondLatency);
    }
    session.ReleaseDataModel(&instance->DataModel());

    double peak = 0.0;
    for (const std::vector<float>& channel : outputs)
        for (const float sample : channel)
            if (std::isfinite(sample))
                peak = std::max(peak, static_cast<double>(std::fabs(sample)));
    int64_t onset = -1;
    for (const std::vector<float>& channel : outputs)
        for (int64_t i = 0; i < static_cast<int64_t>(channel.size()) && (onset < 0 || i < onset); ++i)
            if (std::isfinite(channel[static_cast<size_t>(i)]) &&
                std::fabs(channel[static_cast<size_t>(i)]) >= kOnsetFraction * peak && peak > 0.0)
            {
                onset = i;
                break;
            }

    const std::string figures = "reported " + std::to_string(reported) + " samples, measured " +
                                (onset < 0 ? std::string("nothing") : std::to_string(onset) + " samples") +
                                (reported != onset ? "; " + RunConditions(layout, kValidationRate, kLatencyBlock)
                                                   : std::string());
    if (reported < 0)
        context.Fail(name, "negative latency", figures);
    else if (onset < 0)
        context.Skip(name, "the impulse gives no output to measure (" + figures + ")");
    else if (onset != reported)
        context.Fail(name,
                     "the impulse comes out " + std::to_string(onset) + " samples late, the host is told " +
                         std::to_string(reported),
                     figures);
    else
        context.Pass(name, figures);
}

} // namespace ombrelhost
