#include "tools/host/validate/FuzzCommand.h"

#include "tools/host/commands/CommandSupport.h"
#include "tools/host/validate/ChildProcess.h"
#include "tools/host/validate/FuzzPlayer.h"
#include "tools/host/validate/FuzzSequence.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace ombrelhost
{

namespace
{

// A sequence lasts a second or two; one that has not ended after this hangs.
constexpr double kSequenceSeconds = 30.0;
constexpr auto kProgressPeriod = std::chrono::seconds(10);
// The lines a sequence's child writes: "operation<TAB>n<TAB>text" before each operation and
// "finding<TAB>n<TAB>text" when one is found.
constexpr const char* kOperationTag = "operation";
constexpr const char* kFindingTag = "finding";

// Plays the sequence, telling each operation (to the progress file, or printed) before it runs.
int PlaySequence(const std::string& module, std::uint64_t sequenceSeed, std::FILE* progress)
{
    const std::vector<FuzzOperation> sequence = MakeFuzzSequence(sequenceSeed);
    FuzzPlayer player(module);
    auto tell = [progress](const char* tag, size_t number, const std::string& text)
    {
        if (progress != nullptr)
        {
            std::fprintf(progress, "%s\t%zu\t%s\n", tag, number, text.c_str());
            // At once: the process may die inside the module right after.
            std::fflush(progress);
        }
        else
        {
            std::printf(std::string(tag) == kFindingTag ? "finding in operation %zu: %s\n" : "%5zu. %s\n",
                        number, text.c_str());
            std::fflush(stdout);
        }
    };
    for (size_t i = 0; i < sequence.size(); ++i)
    {
        tell(kOperationTag, i + 1, player.Describe(sequence[i]));
        std::string finding;
        try
        {
            finding = player.Run(sequence[i]);
        }
        catch (const std::exception& exception)
        {
            finding = std::string("unexpected failure: ") + exception.what();
        }
        if (!finding.empty())
        {
            tell(kFindingTag, i + 1, finding);
            return kExitFailure;
        }
    }
    // What is still open is torn down as the sequence ends: one more step where a fault can show.
    tell(kOperationTag, sequence.size() + 1, "tear down whatever is still open (the end of the sequence)");
    return kExitSuccess;
}

struct SequenceReport
{
    std::vector<std::string> operations;
    std::string finding;
};

SequenceReport ReadReport(const std::string& path)
{
    SequenceReport report;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line))
    {
        const size_t first = line.find('\t');
        const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
        if (second == std::string::npos)
            continue;
        const std::string tag = line.substr(0, first);
        const std::string text = line.substr(second + 1);
        if (tag == kOperationTag)
            report.operations.push_back(text);
        else if (tag == kFindingTag)
            report.finding = text;
    }
    return report;
}

// What went wrong in a sequence's child, or empty when nothing did.
std::string FindingOf(const ChildOutcome& outcome, const SequenceReport& report, double timeLimit)
{
    const std::string where = " in operation " + std::to_string(report.operations.size());
    if (!outcome.started)
        return "the sequence could not be started: " + outcome.startError;
    if (outcome.timedOut)
        return "hang: no end within " + std::to_string(static_cast<int>(timeLimit)) + " s," + where;
    if (outcome.signal != 0)
        return "crash: " + outcome.signalName + "," + where +
               (report.finding.empty() ? "" : " (after a finding: " + report.finding + ")");
    if (!report.finding.empty())
        return report.finding + "," + where;
    if (outcome.exitCode != kExitSuccess)
        return "the sequence ended with exit status " + std::to_string(outcome.exitCode) + "," + where;
    return {};
}

std::string TemporaryFolder()
{
    std::random_device entropy;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("ombrel-fuzz-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(folder);
    return folder.string();
}

} // namespace

int RunFuzz(const ValidateSettings& settings)
{
    const std::uint64_t runSeed = settings.seed.value_or(0);
    const double timeLimit = settings.timeoutSeconds > 0.0 ? settings.timeoutSeconds : kSequenceSeconds;
    std::printf("fuzzing %s for %.0f s\nseed %llu, each sequence in a child process\n", settings.module.c_str(),
                settings.fuzzSeconds, static_cast<unsigned long long>(runSeed));
    std::fflush(stdout);
    const std::string folder = TemporaryFolder();
    const std::string progressPath = folder + "/sequence.progress";
    const std::string outputPath = folder + "/sequence.output";

    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    auto nextProgress = start + kProgressPeriod;
    std::uint64_t sequences = 0;
    std::uint64_t operations = 0;
    std::string finding;
    while (elapsed() < settings.fuzzSeconds)
    {
        const std::uint64_t sequenceSeed = FuzzSequenceSeed(runSeed, sequences);
        // A child that dies before it writes must not leave the previous sequence's lines to read.
        std::error_code ignored;
        std::filesystem::remove(progressPath, ignored);
        const ChildOutcome outcome = RunChildProcess(
            {CurrentProgramPath(), "validate", settings.module, "--sequence", std::to_string(sequenceSeed),
             "--progress-file", progressPath},
            outputPath, std::chrono::milliseconds(static_cast<long long>(timeLimit * 1000.0)));
        const SequenceReport report = ReadReport(progressPath);
        ++sequences;
        operations += report.operations.size();
        finding = FindingOf(outcome, report, timeLimit);
        if (!finding.empty())
        {
            std::printf("\nFINDING in sequence %llu, seed %llu: %s\n",
                        static_cast<unsigned long long>(sequences), static_cast<unsigned long long>(sequenceSeed),
                        finding.c_str());
            std::printf("the operations that led to it:\n");
            for (size_t i = 0; i < report.operations.size(); ++i)
                std::printf("%5zu. %s\n", i + 1, report.operations[i].c_str());
            std::printf("replay it with: ombrel-host validate %s --reproduce %llu\n", settings.module.c_str(),
                        static_cast<unsigned long long>(sequenceSeed));
            break;
        }
        if (std::chrono::steady_clock::now() >= nextProgress)
        {
            nextProgress += kProgressPeriod;
            std::printf("  %.0f s: %llu sequences, %llu operations\n", elapsed(),
                        static_cast<unsigned long long>(sequences), static_cast<unsigned long long>(operations));
        }
        std::fflush(stdout);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);

    const double seconds = elapsed();
    const double perMinute = 60.0 / std::max(seconds, 1.0e-9);
    std::printf("\nfuzz: %llu sequences, %llu operations in %.1f s (%.0f sequences and %.0f operations per "
                "minute); %s\n",
                static_cast<unsigned long long>(sequences), static_cast<unsigned long long>(operations), seconds,
                static_cast<double>(sequences) * perMinute, static_cast<double>(operations) * perMinute,
                finding.empty() ? "no finding" : "1 finding");
    std::fflush(stdout);
    return finding.empty() ? kExitSuccess : kExitFailure;
}

int RunFuzzSequence(const ValidateSettings& settings)
{
    std::FILE* progress = std::fopen(settings.progressPath.c_str(), "w");
    if (progress == nullptr)
        return Fail("cannot write " + settings.progressPath);
    const int status = PlaySequence(settings.module, settings.sequenceSeed.value_or(0), progress);
    std::fclose(progress);
    return status;
}

int RunFuzzReproduction(const ValidateSettings& settings)
{
    const std::uint64_t seed = settings.reproduceSeed.value_or(0);
    std::printf("replaying the sequence of seed %llu on %s in this process\n", static_cast<unsigned long long>(seed),
                settings.module.c_str());
    std::fflush(stdout);
    const int status = PlaySequence(settings.module, seed, nullptr);
    std::printf("%s\n", status == kExitSuccess ? "the sequence ended without a finding" : "the sequence found a fault");
    return status;
}

} // namespace ombrelhost
