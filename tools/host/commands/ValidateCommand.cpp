// `validate MODULE`: a battery of checks on the module and its effect, as effect developers run a
// validator before they ship. Each group of checks runs in a child process (this same program
// again, with the hidden --group option), so that an effect that crashes or hangs gives a failure
// naming the signal or the hang and the step, and the report still finishes.

#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/CommandSupport.h"
#include "tools/host/commands/OptionChecks.h"
#include "tools/host/formats/OutputFile.h"
#include "tools/host/validate/ChildProcess.h"
#include "tools/host/validate/FuzzCommand.h"
#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidateSettings.h"
#include "tools/host/validate/ValidationReport.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

namespace ombrelhost
{

namespace
{

// A group's time limit unless --timeout gives one: generous, and longer the harder it runs.
constexpr double kBaseGroupSeconds = 30.0;
constexpr double kGroupSecondsPerStrictness = 15.0;
// A seed the validator picks itself stays short enough to type back in.
constexpr std::uint64_t kLargestPrintedSeed = 1000000000000ull;

std::chrono::milliseconds TimeLimit(const ValidateSettings& settings)
{
    const double seconds = settings.timeoutSeconds > 0.0
                               ? settings.timeoutSeconds
                               : kBaseGroupSeconds + kGroupSecondsPerStrictness * settings.strictness;
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000.0));
}

// What a group's child process is given: the same settings, and the group it runs.
std::vector<std::string> ChildArguments(const ValidateSettings& settings, const std::string& group,
                                        const std::string& progressPath)
{
    return {CurrentProgramPath(),
            "validate",
            settings.module,
            "--group",
            group,
            "--strictness",
            std::to_string(settings.strictness),
            "--seed",
            std::to_string(settings.seed.value_or(0)),
            "--layout",
            settings.layoutText,
            "--progress-file",
            progressPath};
}

// The child's side: one group, its steps and results into the progress file.
int RunOneGroup(const ValidateSettings& settings, const std::string& groupName,
                const std::string& progressPath)
{
    for (const ValidationGroup& group : ValidationGroups())
        if (groupName == group.name)
        {
            std::FILE* progress = progressPath.empty() ? nullptr : std::fopen(progressPath.c_str(), "w");
            GroupContext context(group.name, settings.module, settings.strictness, settings.seed.value_or(0),
                                 settings.layouts, progress, progress == nullptr);
            group.run(context);
            if (progress != nullptr)
                std::fclose(progress);
            return kExitSuccess;
        }
    return UsageError("unknown group `" + groupName + "`");
}

void PrintResult(const CheckResult& result)
{
    std::printf("  %s  %-44s %s%s%s\n", CheckStatusText(result.status), result.name.c_str(),
                result.reason.c_str(), !result.reason.empty() && !result.figures.empty() ? "; " : "",
                result.figures.c_str());
}

std::string TemporaryFolder()
{
    std::random_device seed;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("ombrel-validate-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(folder);
    return folder.string();
}

// The validator's side: the group in a child process, its results read back, and a crash, a hang
// or an early end turned into a failure naming the step it was in.
void RunGroupInChild(const ValidateSettings& settings, const ValidationGroup& group,
                     const std::string& folder, std::vector<CheckResult>& results)
{
    const std::string progressPath = folder + "/" + group.name + ".progress";
    const std::string outputPath = folder + "/" + group.name + ".output";
    const auto start = std::chrono::steady_clock::now();
    const ChildOutcome outcome =
        RunChildProcess(ChildArguments(settings, group.name, progressPath), outputPath, TimeLimit(settings));

    std::string lastStep = "starting";
    std::ifstream progress(progressPath);
    std::string line;
    while (std::getline(progress, line))
    {
        CheckResult result;
        if (ParseCheckLine(line, result))
        {
            PrintResult(result);
            results.push_back(std::move(result));
        }
        else if (line.rfind(std::string(kStepLineTag) + "\t", 0) == 0)
            lastStep = line.substr(std::string(kStepLineTag).size() + 1);
    }

    CheckResult failure;
    failure.group = group.name;
    failure.name = group.title;
    failure.status = CheckStatus::Fail;
    failure.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!outcome.started)
        failure.reason = "the group could not be started: " + outcome.startError;
    else if (outcome.timedOut)
        failure.reason = "hang: no end within " +
                         FormatFigure("%.0f s", static_cast<double>(TimeLimit(settings).count()) / 1000.0) +
                         ", in step: " + lastStep;
    else if (outcome.signal != 0)
        failure.reason = "crash: " + outcome.signalName + ", in step: " + lastStep;
    else if (outcome.exitCode != kExitSuccess)
        failure.reason =
            "the group ended with exit status " + std::to_string(outcome.exitCode) + ", in step: " + lastStep;
    else
        return;
    PrintResult(failure);
    results.push_back(std::move(failure));
}

void RunGroupInProcess(const ValidateSettings& settings, const ValidationGroup& group,
                       std::vector<CheckResult>& results)
{
    GroupContext context(group.name, settings.module, settings.strictness, settings.seed.value_or(0),
                         settings.layouts, nullptr, true);
    try
    {
        group.run(context);
    }
    catch (const std::exception& exception)
    {
        context.Fail(group.title, std::string("unexpected failure: ") + exception.what());
    }
    results.insert(results.end(), context.Results().begin(), context.Results().end());
}

bool WriteReport(const std::string& path, const std::string& text, std::string& error)
{
    std::unique_ptr<juce::FileOutputStream> file = OutputFile::Open(path, error);
    if (file == nullptr)
        return false;
    if (!file->write(text.data(), text.size()))
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

int RunValidate(ValidateSettings settings)
{
    std::string error;
    if (!ModuleSession::ResolveModulePath(std::string(settings.module), settings.module, error))
        return Fail(error);
    if (!settings.group.empty())
        return RunOneGroup(settings, settings.group, settings.progressPath);
    if (settings.sequenceSeed)
        return RunFuzzSequence(settings);
    if (settings.reproduceSeed)
        return RunFuzzReproduction(settings);

    const std::string& jsonPath = settings.jsonPath;
    const std::string& junitPath = settings.junitPath;
    for (const std::string& path : {jsonPath, junitPath})
        if (!path.empty() && !CheckOutputPath(path, error))
            return Fail(error);

    if (!settings.seed)
    {
        std::random_device entropy;
        settings.seed = (static_cast<std::uint64_t>(entropy()) << 32 | entropy()) % kLargestPrintedSeed;
    }
    if (settings.fuzzSeconds > 0.0)
        return RunFuzz(settings);
    const bool inProcess = settings.inProcess;
    std::printf("validating %s\nstrictness %d, layouts %s, seed %llu, %s\n", settings.module.c_str(),
                settings.strictness, settings.layoutText.c_str(), static_cast<unsigned long long>(*settings.seed),
                inProcess ? "every group in this process" : "each group in a child process");
    std::fflush(stdout);
    const std::string folder = inProcess ? std::string() : TemporaryFolder();
    std::vector<CheckResult> results;
    for (const ValidationGroup& group : ValidationGroups())
    {
        std::printf("\n%s\n", group.title);
        std::fflush(stdout);
        if (inProcess)
            RunGroupInProcess(settings, group, results);
        else
            RunGroupInChild(settings, group, folder, results);
        std::fflush(stdout);
    }
    if (!folder.empty())
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::printf("\n%s\n", ValidationReport::SummaryLine(results).c_str());
    if (!jsonPath.empty() &&
        !WriteReport(jsonPath, ValidationReport::Json(settings.module, settings.strictness, *settings.seed, results),
                     error))
        return Fail(error);
    if (!junitPath.empty() &&
        !WriteReport(junitPath, ValidationReport::JUnit(settings.module, results), error))
        return Fail(error);
    return ValidationReport::Count(results).failed > 0 ? kExitFailure : kExitSuccess;
}

} // namespace

void RegisterValidateCommand(CommandRegistry& registry)
{
    auto settings = std::make_shared<ValidateSettings>();
    CLI::App& command = registry.Add(
        "validate", "a battery of checks of the module with its effect; exit status 1 on a failure",
        [settings] { return RunValidate(*settings); });
    AddModuleArgument(command, settings->module);
    command.add_option("--strictness", settings->strictness, "how long and how hard the checks run")
        ->check(Explained(CLI::Range(1, 10), "must be a whole number from 1 to 10"))
        ->type_name("1..10");
    command
        .add_option_function<std::string>(
            "--layout",
            [settings](const std::string& text)
            {
                settings->layoutText = text;
                if (const std::optional<ChannelLayout> layout = ParseChannelLayout(text))
                    settings->layouts = {*layout};
            },
            "the layouts to check")
        ->check(LayoutNameCheck(true))
        ->type_name("LAYOUT")
        ->default_str("all");
    command
        .add_option_function<std::uint64_t>(
            "--seed", [settings](std::uint64_t seed) { settings->seed = seed; },
            "the seed of every random choice; printed by every run")
        ->type_name("N")
        ->default_str("a new one each run");
    command.add_option("--timeout", settings->timeoutSeconds, "time limit of each group of checks")
        ->check(Explained(CLI::PositiveNumber, "must be a number of seconds above 0"))
        ->type_name("SECONDS")
        ->default_str("30 + 15 per strictness step");
    command.add_option("--json", settings->jsonPath, "the report as JSON into FILE")->type_name("FILE");
    command.add_option("--junit", settings->junitPath, "the report as JUnit XML into FILE")
        ->type_name("FILE");
    command.add_flag("--in-process", settings->inProcess, "run every group in this process (for debugging)");
    command
        .add_option("--fuzz", settings->fuzzSeconds,
                    "random sequences of host operations for SECONDS instead of the checks")
        ->check(Explained(CLI::PositiveNumber, "must be a number of seconds above 0"))
        ->type_name("SECONDS");
    command
        .add_option_function<std::uint64_t>(
            "--reproduce", [settings](std::uint64_t seed) { settings->reproduceSeed = seed; },
            "replay the fuzzing sequence of SEED in this process, printing each operation")
        ->type_name("SEED");
    // For the child processes the validator starts: not in the help.
    command.add_option("--group", settings->group)->group("");
    command.add_option("--progress-file", settings->progressPath)->group("");
    command
        .add_option_function<std::uint64_t>("--sequence",
                                            [settings](std::uint64_t seed) { settings->sequenceSeed = seed; })
        ->group("");
}

} // namespace ombrelhost
