#pragma once
// The validator's groups of checks and what each group is given: the module, how hard to run, the
// layouts to cover, and where to say which step it is in and what each check found. A group runs
// alone in a child process (or in the validator's own process with --in-process).

#include "tools/host/session/ChannelLayout.h"
#include "tools/host/validate/CheckResult.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace ombrelhost
{

class ModuleSession;
class ValidationInstance;

// The sample rate the groups run at, where a check is not about the rate itself.
constexpr double kValidationRate = 48000.0;

class GroupContext
{
public:
    // progress: a file the group's steps and results are written to as they happen (may be null:
    // nothing written). echo: results are also printed as they come. No layouts: every layout the
    // module describes, known once OpenModule has opened it. seed: the run's seed, from which the
    // group's random choices follow.
    GroupContext(std::string group, std::string module, int strictness, std::uint64_t seed,
                 std::vector<ChannelLayout> layouts, std::FILE* progress, bool echo);

    const std::string& Module() const { return mModule; }
    int Strictness() const { return mStrictness; }
    std::uint64_t Seed() const { return mSeed; }
    // [host thread] Every random choice a check makes comes from here, so that the same seed makes
    // the same choices again. Each group draws from a sequence of its own, so that running one
    // group alone (or in another order) chooses as the whole run did.
    std::mt19937_64& Random() { return mRandom; }
    const std::vector<ChannelLayout>& Layouts() const { return mLayouts; }

    // [host thread] The step now under way, so that a crash or hang can be placed.
    void Step(const std::string& description);
    // [host thread] One check's result. The check's time runs from the previous result (or the
    // start of the group) to now.
    void Report(CheckStatus status, const std::string& name, const std::string& reason,
                const std::string& figures = {});
    void Pass(const std::string& name, const std::string& figures = {})
    {
        Report(CheckStatus::Pass, name, {}, figures);
    }
    void Fail(const std::string& name, const std::string& reason, const std::string& figures = {})
    {
        Report(CheckStatus::Fail, name, reason, figures);
    }
    void Warn(const std::string& name, const std::string& reason, const std::string& figures = {})
    {
        Report(CheckStatus::Warn, name, reason, figures);
    }
    void Skip(const std::string& name, const std::string& reason) { Report(CheckStatus::Skip, name, reason); }

    // [host thread] Only checks whose names this answers true for are reported (--only, --skip);
    // the others still run, as the checks after them may build on them. Unset: every check.
    void SelectChecks(std::function<bool(const std::string& name)> selected) { mSelected = std::move(selected); }

    // [host thread] Opens the module in `session` as the group's first step; on failure reports
    // the check `name` failed with the loader's reason and answers false. Once it answers true,
    // Layouts() holds at least one layout.
    bool OpenModule(ModuleSession& session, const std::string& name,
                    const std::string& step = "loading the module");

    // [host thread] Makes an instance of the layout at the rate, after saying `step`; on failure
    // reports the check `name` failed with the reason and answers null.
    std::unique_ptr<ValidationInstance> CreateInstance(ModuleSession& session, ChannelLayout layout,
                                                       double sampleRate, const std::string& step,
                                                       const std::string& name);

    const std::vector<CheckResult>& Results() const { return mResults; }

private:
    std::string mGroup;
    std::string mModule;
    int mStrictness;
    std::uint64_t mSeed;
    std::mt19937_64 mRandom;
    std::vector<ChannelLayout> mLayouts;
    std::FILE* mProgress;
    bool mEcho;
    std::chrono::steady_clock::time_point mLastReport;
    std::vector<CheckResult> mResults;
    std::function<bool(const std::string& name)> mSelected;
};

struct ValidationGroup
{
    const char* name;
    const char* title;
    std::function<void(GroupContext&)> run;
    // The names of the checks the group reports, so that --only can leave out a group with none
    // it selects: a new check's name belongs here too. "LAYOUT" stands for a layout's name,
    // "{a|b}" for each of a and b. Empty: not known, the group always runs.
    std::vector<std::string> checks;
};

// Every group, in the order they run.
const std::vector<ValidationGroup>& ValidationGroups();

// The groups themselves, one file each.
void RunInstantiationChecks(GroupContext& context);
void RunProcessingChecks(GroupContext& context);
void RunRateChecks(GroupContext& context);
void RunParameterChecks(GroupContext& context);
void RunStateChecks(GroupContext& context);
void RunEditorChecks(GroupContext& context);
void RunAllocationChecks(GroupContext& context);
void RunLifetimeChecks(GroupContext& context);

// Figures as the report shows them.
std::string FormatFigure(const char* format, double value);
// What a run was made of, for a failure to name: "stereo at 48000 Hz, blocks of 256" (without the
// blocks for a block length of 0).
std::string RunConditions(ChannelLayout layout, double sampleRate, int32_t blockLength);

// The line a group writes before each step: "step<TAB>description".
constexpr const char* kStepLineTag = "step";

} // namespace ombrelhost
