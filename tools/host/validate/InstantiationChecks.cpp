// Description and instantiation: the module describes its components, and each layout makes a
// processable instance at the common rates, timed from creation to the first processed block.

#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationInstance.h"

#include <chrono>

namespace ombrelhost
{

namespace
{
// The first block, timed with the instance: a common host block, whatever the longest may be.
constexpr int32_t kFirstBlock = 1024;
} // namespace

void RunInstantiationChecks(GroupContext& context)
{
    ModuleSession session;
    if (!context.OpenModule(session, "description", "loading the module and reading its description"))
        return;
    const size_t components = session.Effect().components.size();
    std::string missing;
    for (ChannelLayout layout : context.Layouts())
        if (session.Component(layout) == nullptr)
            missing += std::string(missing.empty() ? "" : ", ") + ChannelLayoutName(layout);
    if (!missing.empty())
        context.Fail("description", "no component for " + missing,
                     std::to_string(components) + " components");
    else
        context.Pass("description",
                     std::to_string(components) + " components, effect " + session.EffectName());

    std::vector<double> rates = {44100.0, 48000.0, 96000.0};
    if (context.Strictness() >= 7)
        rates.push_back(192000.0);
    for (ChannelLayout layout : context.Layouts())
        for (double rate : rates)
        {
            const std::string name = std::string("instantiate ") + ChannelLayoutName(layout) + " at " +
                                     FormatFigure("%g", rate / 1000.0) + " kHz";
            const auto start = std::chrono::steady_clock::now();
            std::unique_ptr<ValidationInstance> instance =
                context.CreateInstance(session, layout, rate, name, name);
            if (instance == nullptr)
                continue;
            context.Step(name + ": first block");
            const BlockFigures figures = instance->Run(kFirstBlock, kFirstBlock, Noise(1));
            const double milliseconds =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (figures.nonFinite > 0)
                context.Fail(name,
                             "the first block's output is not finite: " + std::to_string(figures.nonFinite) +
                                 " samples",
                             RunConditions(layout, rate, ValidationInstance::kMaximumBlock) + ", " +
                                 FormatFigure("%.1f ms", milliseconds));
            else
                context.Pass(name, "processable in " + FormatFigure("%.1f ms", milliseconds));
            session.ReleaseDataModel(&instance->DataModel());
        }
}

} // namespace ombrelhost
