// `validate MODULE`: a battery of checks on the module and its effect, as effect developers run a
// validator before they ship. Each group of checks runs in a child process (this same program
// again, with the hidden --group option), so that an effect that crashes or hangs gives a failure
// naming the signal or the hang and the step, and the report still finishes.

#include "tools/host/CommandSupport.h"
#include "tools/host/OutputFile.h"
#include "tools/host/validate/ChildProcess.h"
#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationReport.h"

#include <chrono>
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

constexpr long kDefaultStrictness = 5;
// A group's time limit unless --timeout gives one: generous, and longer the harder it runs.
constexpr double kBaseGroupSeconds = 30.0;
constexpr double kGroupSecondsPerStrictness = 15.0;

struct ValidateOptions
{
    std::string module;
    int strictness = kDefaultStrictness;
    std::string layoutText = "all";
    std::vector<ChannelLayout> layouts;
    std::chrono::milliseconds timeLimit{0};
};

bool ReadOptions(const CommandLine& commandLine, ValidateOptions& options, std::string& error)
{
    long strictness = kDefaultStrictness;
    if (commandLine.Has("strictness") && !ParseInteger(commandLine.Value("strictness"), 1, 10, strictness))
    {
        error = "--strictness must be a whole number from 1 to 10";
        return false;
    }
    options.strictness = static_cast<int>(strictness);
    options.layoutText = commandLine.Value("layout", "all");
    if (options.layoutText == "all")
        options.layouts.clear(); // every layout the module describes
    else if (const auto layout = ParseChannelLayout(options.layoutText))
        options.layouts = {*layout};
    else
    {
        error = "unknown layout `" + options.layoutText + "` (a layout the module describes, or all)";
        return false;
    }
    double seconds = kBaseGroupSeconds + kGroupSecondsPerStrictness * options.strictness;
    if (commandLine.Has("timeout") && (!ParseNumber(commandLine.Value("timeout"), seconds) || seconds <= 0.0))
    {
        error = "--timeout must be a number of seconds above 0";
        return false;
    }
    options.timeLimit = std::chrono::milliseconds(static_cast<long long>(seconds * 1000.0));
    return true;
}

// The child's side: one group, its steps and results into the progress file.
int RunOneGroup(const ValidateOptions& options, const std::string& groupName, const std::string& progressPath)
{
    for (const ValidationGroup& group : ValidationGroups())
        if (groupName == group.name)
        {
            std::FILE* progress = progressPath.empty() ? nullptr : std::fopen(progressPath.c_str(), "w");
            GroupContext context(group.name, options.module, options.strictness, options.layouts, progress,
                                 progress == nullptr);
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
void RunGroupInChild(const ValidateOptions& options, const ValidationGroup& group, const std::string& folder,
                     std::vector<CheckResult>& results)
{
    const std::string progressPath = folder + "/" + group.name + ".progress";
    const std::string outputPath = folder + "/" + group.name + ".output";
    const std::vector<std::string> argv = {CurrentProgramPath(),
                                           "validate",
                                           options.module,
                                           "--group",
                                           group.name,
                                           "--strictness",
                                           std::to_string(options.strictness),
                                           "--layout",
                                           options.layoutText,
                                           "--progress-file",
                                           progressPath};
    const auto start = std::chrono::steady_clock::now();
    const ChildOutcome outcome = RunChildProcess(argv, outputPath, options.timeLimit);

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
                         FormatFigure("%.0f s", static_cast<double>(options.timeLimit.count()) / 1000.0) +
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

void RunGroupInProcess(const ValidateOptions& options, const ValidationGroup& group,
                       std::vector<CheckResult>& results)
{
    GroupContext context(group.name, options.module, options.strictness, options.layouts, nullptr, true);
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

} // namespace

int RunValidate(const CommandLine& commandLine)
{
    ValidateOptions options;
    std::string error;
    if (!ReadOptions(commandLine, options, error))
        return UsageError(error);
    if (!ModuleSession::ResolveModulePath(commandLine.Positional(0), options.module, error))
        return Fail(error);
    if (commandLine.Has("group"))
        return RunOneGroup(options, commandLine.Value("group"), commandLine.Value("progress-file"));

    const std::string jsonPath = commandLine.Value("json");
    const std::string junitPath = commandLine.Value("junit");
    for (const std::string& path : {jsonPath, junitPath})
        if (!path.empty() && !CheckOutputPath(path, error))
            return Fail(error);

    const bool inProcess = commandLine.Has("in-process");
    std::printf("validating %s\nstrictness %d, layouts %s, %s\n", options.module.c_str(), options.strictness,
                options.layoutText.c_str(),
                inProcess ? "every group in this process" : "each group in a child process");
    std::fflush(stdout);
    const std::string folder = inProcess ? std::string() : TemporaryFolder();
    std::vector<CheckResult> results;
    for (const ValidationGroup& group : ValidationGroups())
    {
        std::printf("\n%s\n", group.title);
        std::fflush(stdout);
        if (inProcess)
            RunGroupInProcess(options, group, results);
        else
            RunGroupInChild(options, group, folder, results);
        std::fflush(stdout);
    }
    if (!folder.empty())
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::printf("\n%s\n", ValidationReport::SummaryLine(results).c_str());
    if (!jsonPath.empty() &&
        !WriteReport(jsonPath, ValidationReport::Json(options.module, options.strictness, results), error))
        return Fail(error);
    if (!junitPath.empty() &&
        !WriteReport(junitPath, ValidationReport::JUnit(options.module, results), error))
        return Fail(error);
    return ValidationReport::Count(results).failed > 0 ? kExitFailure : kExitSuccess;
}

} // namespace ombrelhost
