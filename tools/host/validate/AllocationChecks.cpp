// Allocation on the audio path: after the first block at a size, the process procedure (the
// module and the effect together) should allocate nothing. Counted on this thread only.

#include "tools/host/validate/ValidationGroup.h"

#include "aax_library/AAX_Identifiers.h"
#include "tools/host/validate/ValidationInstance.h"

#include "host_kit/AllocationCounter.h"

namespace ombrelhost
{

namespace
{
constexpr int32_t kSizes[] = {64, 256, 1024};

// "64, 256, 1024", for a failure to name the block lengths.
std::string SizesText()
{
    std::string text;
    for (const int32_t size : kSizes)
        text += (text.empty() ? "" : ", ") + std::to_string(size);
    return text;
}
} // namespace

void RunAllocationChecks(GroupContext& context)
{
    ModuleSession session;
    if (!context.OpenModule(session, "allocation"))
        return;
    const SignalSource noise = Noise(17);
    const int blocks = 20 * context.Strictness();
    for (ChannelLayout layout : context.Layouts())
    {
        const std::string layoutName = ChannelLayoutName(layout);
        std::unique_ptr<ValidationInstance> instance =
            context.CreateInstance(session, layout, kValidationRate, "instantiating " + layoutName,
                                   "allocation (" + layoutName + ")");
        if (instance == nullptr)
            continue;
        // Bypassed, the effect is not called: what the module's own audio path allocates. Then the
        // module and the effect together, which is what the effect's developer wants to know.
        for (const bool bypassed : {true, false})
        {
            const std::string name = bypassed ? "the module allocates nothing per block (" + layoutName + ")"
                                              : "the effect's allocations per block (" + layoutName + ")";
            ModuleSession::WriteParameter(instance->DataModel(), cDefaultMasterBypassID,
                                          bypassed ? 1.0 : 0.0);
            long allocations = 0;
            size_t bytes = 0;
            long counted = 0;
            for (int32_t size : kSizes)
            {
                context.Step(name + ", blocks of " + std::to_string(size));
                BlockFigures figures;
                // The first block at a size may prepare (and allocate); from the second on it must not.
                instance->RunBlock(size, noise, 0, figures);
                for (int block = 1; block <= blocks; ++block)
                {
                    instance->PrepareBlock();
                    testhost::AllocationCountingWindow window;
                    instance->ProcessPrepared(size);
                    const testhost::AllocationCount count = window.count();
                    allocations += count.allocations;
                    bytes += count.bytes;
                    ++counted;
                }
            }
            const std::string figures =
                FormatFigure("%.2f allocations",
                             static_cast<double>(allocations) / static_cast<double>(counted)) +
                FormatFigure(" and %.0f bytes per block",
                             static_cast<double>(bytes) / static_cast<double>(counted)) +
                (bypassed ? "" : " with the module") +
                (testhost::countsCLibraryAllocations() ? "" : " (operator new only)");
            if (bypassed && allocations > 0)
                context.Fail(name, "the module allocates on the audio path",
                             figures + "; " + RunConditions(layout, kValidationRate, 0) + ", blocks of " +
                                 SizesText() + ", " + std::to_string(blocks) + " blocks each");
            else
                context.Pass(name, figures);
        }
        session.ReleaseDataModel(&instance->DataModel());
    }
}

} // namespace ombrelhost
