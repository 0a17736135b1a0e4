#include "tools/host/validate/ValidationGroup.h"

#include "tools/host/session/ModuleSession.h"
#include "tools/host/validate/ValidationInstance.h"

#include <utility>

namespace ombrelhost
{

namespace
{

// The group's own sequence: the run's seed mixed with its name by FNV-1a, which gives the same
// number on every platform (std::hash need not).
std::uint64_t GroupSeed(std::uint64_t seed, const std::string& group)
{
    std::uint64_t hash = 14695981039346656037ull ^ seed;
    for (const char c : group)
    {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

GroupContext::GroupContext(std::string group, std::string module, int strictness, std::uint64_t seed,
                           std::vector<ChannelLayout> layouts, std::FILE* progress, bool echo)
    : mGroup(std::move(group)), mModule(std::move(module)), mStrictness(strictness), mSeed(seed),
      mRandom(GroupSeed(seed, mGroup)), mLayouts(std::move(layouts)), mProgress(progress), mEcho(echo),
      mLastReport(std::chrono::steady_clock::now())
{
}

bool GroupContext::OpenModule(ModuleSession& session, const std::string& name, const std::string& step)
{
    Step(step);
    std::string error;
    if (!session.Open(mModule, error))
    {
        Fail(name, error);
        return false;
    }
    if (mLayouts.empty())
        mLayouts = session.DescribedLayouts();
    if (mLayouts.empty())
    {
        Fail(name, "the module describes no layout with named stem formats");
        return false;
    }
    return true;
}

std::unique_ptr<ValidationInstance> GroupContext::CreateInstance(ModuleSession& session, ChannelLayout layout,
                                                                 double sampleRate, const std::string& step,
                                                                 const std::string& name)
{
    Step(step);
    std::string error;
    std::unique_ptr<ValidationInstance> instance =
        ValidationInstance::Create(session, layout, sampleRate, error);
    if (instance == nullptr)
        Fail(name, error);
    return instance;
}

void GroupContext::Step(const std::string& description)
{
    if (mProgress == nullptr)
        return;
    std::fprintf(mProgress, "%s\t%s\n", kStepLineTag, OneLine(description).c_str());
    // Flushed at once: the process may die inside the effect at any moment after this.
    std::fflush(mProgress);
}

void GroupContext::Report(CheckStatus status, const std::string& name, const std::string& reason,
                          const std::string& figures)
{
    const auto now = std::chrono::steady_clock::now();
    if (mSelected && !mSelected(name))
    {
        mLastReport = now;
        return;
    }
    CheckResult result;
    result.group = mGroup;
    result.name = name;
    result.status = status;
    result.reason = reason;
    result.figures = figures;
    result.seconds = std::chrono::duration<double>(now - mLastReport).count();
    mLastReport = now;
    if (mProgress != nullptr)
    {
        std::fprintf(mProgress, "%s\n", FormatCheckLine(result).c_str());
        std::fflush(mProgress);
    }
    if (mEcho)
    {
        std::printf("  %s  %-40s %s%s%s\n", CheckStatusText(status), name.c_str(), reason.c_str(),
                    !reason.empty() && !figures.empty() ? "; " : "", figures.c_str());
        std::fflush(stdout);
    }
    mResults.push_back(std::move(result));
}

const std::vector<ValidationGroup>& ValidationGroups()
{
    static const std::vector<ValidationGroup> groups = {
        {"instantiation",
         "description and instantiation",
         RunInstantiationChecks,
         {"description", "instantiate LAYOUT at {44.1|48|96|192} kHz"}},
        {"processing",
         "processing",
         RunProcessingChecks,
         {"processing", "processing LAYOUT",
          "LAYOUT, {blocks of 1|blocks of 16|blocks of 64|blocks of 256|blocks of 1024|varying block lengths}, "
          "{silence|impulse|noise|full-scale sine}",
          "cpu time (LAYOUT)", "bypass gives the dry signal (LAYOUT)", "latency (LAYOUT)"}},
        {"rates",
         "rates and block lengths",
         RunRateChecks,
         {"rates and block lengths",
          "rate {22050 Hz|44100 Hz|44144.1 Hz|48000 Hz|88200 Hz|96000 Hz|176400 Hz|192000 Hz|384000 Hz} (LAYOUT)",
          "buffers untouched (LAYOUT)", "rate change without release (LAYOUT)", "denormal input (LAYOUT)"}},
        {"parameters",
         "parameters",
         RunParameterChecks,
         {"parameters", "published parameters", "values and texts", "values accepted",
          "readings equal the values written", "texts present", "texts stable", "alive", "automation storm",
          "programs", "parameters from three threads", "numeric locale"}},
        {"state",
         "state",
         RunStateChecks,
         {"state", "save", "restore", "parameters restored", "state stable", "damaged state",
          "{truncated|garbage|foreign} state block", "damaged state blocks leave a working instance",
          "values between texts restored"}},
        {"editor", "editor", RunEditorChecks, {"editor", "editor opened, idled, resized and closed"}},
        {"allocation",
         "allocation on the audio path",
         RunAllocationChecks,
         {"allocation", "allocation (LAYOUT)", "the module allocates nothing per block (LAYOUT)",
          "the effect's allocations per block (LAYOUT)"}},
        {"lifetime",
         "lifetime",
         RunLifetimeChecks,
         {"lifetime", "instances in a row", "instances side by side", "unload and load again"}},
    };
    return groups;
}

std::string RunConditions(ChannelLayout layout, double sampleRate, int32_t blockLength)
{
    return std::string(ChannelLayoutName(layout)) + " at " + FormatFigure("%g Hz", sampleRate) +
           (blockLength > 0 ? ", blocks of " + std::to_string(blockLength) : std::string());
}

std::string FormatFigure(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

} // namespace ombrelhost
