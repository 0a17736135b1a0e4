// Lifetime: ten instances created and destroyed in a row, several processing side by side, and
// the module unloaded and loaded again.

#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationInstance.h"

#include <cmath>

namespace ombrelhost
{

namespace
{
constexpr int kInstancesInARow = 10;
constexpr int kSideBySide = 4;
constexpr int32_t kLifetimeBlock = 256;
} // namespace

void RunLifetimeChecks(GroupContext& context)
{
    auto session = std::make_unique<ModuleSession>();
    if (!context.OpenModule(*session, "lifetime"))
        return;
    const ChannelLayout layout = context.Layouts().back();
    for (int i = 0; i < kInstancesInARow; ++i)
    {
        std::unique_ptr<ValidationInstance> instance = context.CreateInstance(
            *session, layout, kValidationRate,
            "instance " + std::to_string(i + 1) + " of " + std::to_string(kInstancesInARow) + " in a row",
            "instances in a row");
        if (instance == nullptr)
            return;
        instance->Run(kLifetimeBlock, kLifetimeBlock, Noise(static_cast<uint32_t>(i)));
        session->ReleaseDataModel(&instance->DataModel());
    }
    context.Pass("instances in a row", std::to_string(kInstancesInARow) + " created, run and destroyed");

    context.Step("instances processing side by side");
    std::string error;
    std::vector<std::unique_ptr<ValidationInstance>> instances;
    for (int i = 0; i < kSideBySide; ++i)
    {
        instances.push_back(ValidationInstance::Create(*session, layout, kValidationRate, error));
        if (instances.back() == nullptr)
        {
            context.Fail("instances side by side", error);
            return;
        }
    }
    const SignalSource noise = Noise(23);
    std::vector<testhost::ProcessingContext*> records;
    for (auto& instance : instances)
        records.push_back(&instance->Context());
    int64_t nonFinite = 0;
    const int blocks = 20 * context.Strictness();
    for (int block = 0; block < blocks; ++block)
    {
        for (auto& instance : instances)
        {
            instance->PrepareBlock();
            instance->Context().SetBlockLength(kLifetimeBlock);
            for (int32_t c = 0; c < instance->Context().InputCount(); ++c)
                for (int32_t n = 0; n < kLifetimeBlock; ++n)
                    instance->Context().Input(c)[n] = noise(c, n);
        }
        // One call over every instance's record, as a host processes the instances of a module.
        testhost::RunProcess(session->Component(layout)->process, records.data(), records.size());
        for (auto& instance : instances)
            for (int32_t c = 0; c < instance->Context().OutputCount(); ++c)
                for (int32_t n = 0; n < kLifetimeBlock; ++n)
                    nonFinite += std::isfinite(instance->Context().Output(c)[n]) ? 0 : 1;
    }
    if (nonFinite > 0)
        context.Fail("instances side by side", std::to_string(nonFinite) + " output samples are not finite",
                     std::to_string(kSideBySide) + " instances, " + std::to_string(blocks) + " blocks; " +
                         RunConditions(layout, kValidationRate, kLifetimeBlock));
    else
        context.Pass("instances side by side",
                     std::to_string(kSideBySide) + " instances, " + std::to_string(blocks) + " blocks");
    for (auto& instance : instances)
        session->ReleaseDataModel(&instance->DataModel());
    instances.clear();

    context.Step("unloading the module");
    session->Close();
    session.reset();
    context.Step("loading the module again");
    session = std::make_unique<ModuleSession>();
    if (!session->Open(context.Module(), error))
    {
        context.Fail("unload and load again", error);
        return;
    }
    std::unique_ptr<ValidationInstance> again =
        ValidationInstance::Create(*session, layout, kValidationRate, error);
    if (again == nullptr)
    {
        context.Fail("unload and load again", error);
        return;
    }
    const BlockFigures figures = again->Run(kLifetimeBlock, 8 * kLifetimeBlock, noise);
    if (figures.nonFinite > 0)
        context.Fail("unload and load again", "the output is not finite: " + std::to_string(figures.nonFinite) +
                                                  " samples",
                     RunConditions(layout, kValidationRate, kLifetimeBlock));
    else
        context.Pass("unload and load again", "a new instance processes");
    session->ReleaseDataModel(&again->DataModel());
}

} // namespace ombrelhost
