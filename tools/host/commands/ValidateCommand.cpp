// `validate MODULE`: a battery of checks on the module and its effect, as effect developers run a
// validator before they ship. Each group of checks runs in a child process (this same program
// again, with the hidden --group option), so that an effect that crashes or hangs gives a failure
// naming the signal or the hang and the step, and the report still finishes.

#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/CommandSupport.h"
#include "tools/host/commands/ConfigFile.h"
#include "tools/host/commands/OptionChecks.h"
#include "tools/host/formats/OutputFile.h"
#include "tools/host/validate/CheckSelection.h"
#include "tools/host/validate/ChildProcess.h"
#include "tools/host/validate/FuzzCommand.h"
#include "tools/host/validate/ReferenceCheck.h"
#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidateSettings.h"
#include "tools/host/validate/ValidationReport.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <utility>

#include <juce_core/juce_core.h>

namespace ombrelhost
{

namespace
{

// A group's time limit unless --timeout gives one: generous, and longer the harder it runs.
constexpr double kBaseGroupSeconds = 30.0;
constexpr double kGroupSecondsPerStrictness = 15.0;
// What each strictness level runs: the help's footer and the README say the same.
constexpr const char* kStrictnessLevels =
    "Strictness levels:\n"
    "  1     a quick gate, about 5 s per effect at most: every group, with short runs; one fractional\n"
    "        rate, two live rate changes and blocks up to 2048; a few programs\n"
    "  2..4  the same checks, each run longer (processing, allocation and storms scale with the level)\n"
    "  5..10 the heavy checks too: rates from 22050 to 384000 Hz, blocks of 8192, more live rate\n"
    "        changes, denormal timing, parameter texts at 20 values read twice, writes from a second\n"
    "        thread, every program; from 7 on, instances at 192 kHz as well\n";
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
    std::vector<std::string> arguments = {CurrentProgramPath(),
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
    const std::pair<const char*, std::string> optional[] = {
        {"--only", settings.only},
        {"--skip", settings.skip},
        {"--reference", settings.referencePath},
        {"--tolerance", settings.referencePath.empty() ? std::string() : FormatFigure("%.17g", settings.tolerance)},
    };
    // As one word, so that an expression starting with a dash stays the option's value.
    for (const auto& [option, value] : optional)
        if (!value.empty())
            arguments.push_back(std::string(option) + "=" + value);
    return arguments;
}

// The groups this run has: every group of checks, and the reference render when asked for.
std::vector<ValidationGroup> RunGroups(const ValidateSettings& settings)
{
    std::vector<ValidationGroup> groups = ValidationGroups();
    if (!settings.referencePath.empty())
        groups.push_back({"reference", "reference render",
                          [path = settings.referencePath, tolerance = settings.tolerance](GroupContext& context)
                          { RunReferenceCheck(context, path, tolerance); },
                          {kReferenceCheckName}});
    return groups;
}

// Only the checks --only and --skip select are reported.
void SelectChecks(GroupContext& context, const ValidateSettings& settings, const ValidationGroup& group)
{
    if (settings.only.empty() && settings.skip.empty())
        return;
    auto selection = std::make_shared<CheckSelection>(settings.only, settings.skip);
    context.SelectChecks([selection, group](const std::string& name) { return selection->Selects(group, name); });
}

// The child's side: one group, its steps and results into the progress file.
int RunOneGroup(const ValidateSettings& settings, const std::string& groupName,
                const std::string& progressPath)
{
    for (const ValidationGroup& group : RunGroups(settings))
        if (groupName == group.name)
        {
            std::FILE* progress = progressPath.empty() ? nullptr : std::fopen(progressPath.c_str(), "w");
            GroupContext context(group.name, settings.module, settings.strictness, settings.seed.value_or(0),
                                 settings.layouts, progress, progress == nullptr);
            SelectChecks(context, settings, group);
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
    SelectChecks(context, settings, group);
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

// What the run found, for the reader: with --repeat, every failure again with its repetition.
void PrintFailuresByRepetition(const ValidateSettings& settings, const std::vector<CheckResult>& results)
{
    if (settings.repeat < 2 || ValidationReport::Count(results).failed == 0)
        return;
    std::printf("\nfailures by repetition:\n");
    for (const CheckResult& result : results)
        if (result.status == CheckStatus::Fail)
            std::printf("  repetition %d (seed %llu): %s: %s%s%s\n", result.repetition,
                        static_cast<unsigned long long>(*settings.seed + result.repetition - 1),
                        result.name.c_str(), result.reason.c_str(),
                        !result.reason.empty() && !result.figures.empty() ? "; " : "", result.figures.c_str());
}

int RunValidate(ValidateSettings settings)
{
    std::string error;
    if (!ModuleSession::ResolveModulePath(std::string(settings.module), settings.module, error))
        return Fail(error);
    if (!settings.referencePath.empty())
        // The child processes may run elsewhere: they are given the whole path.
        settings.referencePath = juce::File::getCurrentWorkingDirectory()
                                     .getChildFile(juce::String(settings.referencePath))
                                     .getFullPathName()
                                     .toStdString();
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
    const std::uint64_t firstSeed = *settings.seed;
    const bool inProcess = settings.inProcess;
    std::printf("validating %s\nstrictness %d, layouts %s, seed %llu, %s\n", settings.module.c_str(),
                settings.strictness, settings.layoutText.c_str(), static_cast<unsigned long long>(firstSeed),
                inProcess ? "every group in this process" : "each group in a child process");
    if (settings.repeat > 1)
        std::printf("%d repetitions, seeds %llu to %llu\n", settings.repeat,
                    static_cast<unsigned long long>(firstSeed),
                    static_cast<unsigned long long>(firstSeed + settings.repeat - 1));
    if (!settings.only.empty())
        std::printf("only checks matching %s\n", settings.only.c_str());
    if (!settings.skip.empty())
        std::printf("skipping checks matching %s\n", settings.skip.c_str());
    if (!settings.referencePath.empty())
        std::printf("reference %s, tolerance %g\n", settings.referencePath.c_str(), settings.tolerance);

    const CheckSelection selection(settings.only, settings.skip);
    std::vector<ValidationGroup> groups;
    std::string leftOut;
    for (ValidationGroup& group : RunGroups(settings))
        if (selection.Runs(group, settings.layouts))
            groups.push_back(std::move(group));
        else
            leftOut += (leftOut.empty() ? "" : ", ") + std::string(group.title);
    const CheckSelection onlySelection(settings.only, std::string());
    const std::vector<ValidationGroup> all = RunGroups(settings);
    if (groups.empty() && !settings.only.empty() &&
        std::none_of(all.begin(), all.end(),
                     [&](const ValidationGroup& group) { return onlySelection.Runs(group, settings.layouts); }))
    {
        // No declared check matches: the expression may name a check no group declares, so every
        // group runs and only what it selects is reported.
        groups = all;
        std::printf("no group declares a check matching the selection: every group runs\n");
    }
    else if (!leftOut.empty())
        std::printf("not run, as no check of theirs is selected: %s\n", leftOut.c_str());
    std::fflush(stdout);

    const std::string folder = inProcess ? std::string() : TemporaryFolder();
    std::vector<CheckResult> results;
    for (int repetition = 1; repetition <= settings.repeat; ++repetition)
    {
        settings.seed = firstSeed + static_cast<std::uint64_t>(repetition - 1);
        if (settings.repeat > 1)
            std::printf("\nrepetition %d of %d, seed %llu\n", repetition, settings.repeat,
                        static_cast<unsigned long long>(*settings.seed));
        const size_t first = results.size();
        for (const ValidationGroup& group : groups)
        {
            std::printf("\n%s\n", group.title);
            std::fflush(stdout);
            if (inProcess)
                RunGroupInProcess(settings, group, results);
            else
                RunGroupInChild(settings, group, folder, results);
            std::fflush(stdout);
        }
        for (size_t i = first; i < results.size(); ++i)
            results[i].repetition = repetition;
    }
    settings.seed = firstSeed;
    if (!folder.empty())
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    PrintFailuresByRepetition(settings, results);
    std::printf("\n%s%s\n", ValidationReport::SummaryLine(results).c_str(),
                settings.repeat > 1 ? (" over " + std::to_string(settings.repeat) + " repetitions").c_str() : "");
    if (!jsonPath.empty() &&
        !WriteReport(jsonPath,
                     ValidationReport::Json(settings.module, settings.strictness, firstSeed, settings.repeat, results),
                     error))
        return Fail(error);
    if (!junitPath.empty() &&
        !WriteReport(junitPath, ValidationReport::JUnit(settings.module, settings.repeat, results), error))
        return Fail(error);
    return ValidationReport::Count(results).failed > 0 ? kExitFailure : kExitSuccess;
}

} // namespace

void RegisterValidateCommand(CommandRegistry& registry)
{
    auto settings = std::make_shared<ValidateSettings>();
    // The options a --config file may set, with the JSON type of each key.
    auto configurable = std::make_shared<std::vector<ConfigurableOption>>();
    CLI::App& command = registry.Add(
        "validate", "a battery of checks of the module with its effect; exit status 1 on a failure",
        [settings, configurable]
        {
            // Read once the command line is parsed, so that what it gives wins over the file.
            std::string error;
            if (!settings->configPath.empty() && settings->group.empty() &&
                !ConfigFile::Apply(settings->configPath, *configurable, error))
                return UsageError("--config " + error);
            return RunValidate(*settings);
        });
    AddModuleArgument(command, settings->module);
    // A new option: one add_option line, given to `configure` with the JSON type of its key.
    const auto configure = [&configurable](CLI::Option* option, ConfigValue value)
    { configurable->push_back({option, value}); };

    command.footer(kStrictnessLevels);
    configure(command.add_option("--strictness", settings->strictness,
                                 "how long and how hard the checks run (the levels are below)")
                  ->check(Explained(CLI::Range(1, 10), "must be a whole number from 1 to 10"))
                  ->type_name("1..10"),
              ConfigValue::Number);
    configure(command
                  .add_option_function<std::string>(
                      "--layout",
                      [settings](const std::string& text)
                      {
                          settings->layoutText = text;
                          settings->layouts.clear();
                          if (const std::optional<ChannelLayout> layout = ParseChannelLayout(text))
                              settings->layouts = {*layout};
                      },
                      "the layouts to check")
                  ->check(LayoutNameCheck(true))
                  ->type_name("LAYOUT")
                  ->default_str("all"),
              ConfigValue::Text);
    configure(command
                  .add_option_function<std::uint64_t>(
                      "--seed", [settings](std::uint64_t seed) { settings->seed = seed; },
                      "the seed of every random choice; printed by every run")
                  ->type_name("N")
                  ->default_str("a new one each run"),
              ConfigValue::Number);
    configure(command
                  .add_option("--repeat", settings->repeat,
                              "the whole run N times, repetition r with the seed + r - 1; failures name "
                              "their repetition")
                  ->check(Explained(CLI::Range(1, 1000), "must be a whole number from 1 to 1000"))
                  ->type_name("N"),
              ConfigValue::Number);
    configure(command
                  .add_option("--only", settings->only,
                              "report only the checks whose name (or group's name) the regular expression "
                              "finds; groups without such a check are not run")
                  ->check(RegexCheck())
                  ->type_name("REGEX"),
              ConfigValue::Text);
    configure(command
                  .add_option("--skip", settings->skip,
                              "leave out the checks whose name (or group's name) the regular expression finds")
                  ->check(RegexCheck())
                  ->type_name("REGEX"),
              ConfigValue::Text);
    configure(command
                  .add_option("--reference", settings->referencePath,
                              "compare a render of a fixed input with this WAV file; written when missing")
                  ->type_name("OUT.wav"),
              ConfigValue::Text);
    configure(command
                  .add_option("--tolerance", settings->tolerance,
                              "the largest difference per sample from the --reference file")
                  ->check(Explained(CLI::NonNegativeNumber, "must be a number of 0 or more"))
                  ->type_name("X"),
              ConfigValue::Number);
    configure(command.add_option("--timeout", settings->timeoutSeconds, "time limit of each group of checks")
                  ->check(Explained(CLI::PositiveNumber, "must be a number of seconds above 0"))
                  ->type_name("SECONDS")
                  ->default_str("30 + 15 per strictness step"),
              ConfigValue::Number);
    configure(command.add_option("--json", settings->jsonPath, "the report as JSON into FILE")->type_name("FILE"),
              ConfigValue::Text);
    configure(command.add_option("--junit", settings->junitPath, "the report as JUnit XML into FILE")
                  ->type_name("FILE"),
              ConfigValue::Text);
    configure(command.add_flag("--in-process", settings->inProcess, "run every group in this process (for debugging)"),
              ConfigValue::Switch);
    command
        .add_option("--config", settings->configPath,
                    "a JSON object setting any of these options, keyed by their names without dashes "
                    "({\"strictness\": 1, \"only\": \"latency\"}); the command line wins")
        ->check(CLI::ExistingFile)
        ->type_name("FILE");
    configure(command
                  .add_option("--fuzz", settings->fuzzSeconds,
                              "random sequences of host operations for SECONDS instead of the checks")
                  ->check(Explained(CLI::PositiveNumber, "must be a number of seconds above 0"))
                  ->type_name("SECONDS"),
              ConfigValue::Number);
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
