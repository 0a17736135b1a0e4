#include "bench/OverheadReporter.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace
{

constexpr double kNanosecondsPerSecond = 1e9;
constexpr double kSamplesPerMegasample = 1e6;
constexpr double kPercent = 100.0;
constexpr const char* kMedianAggregate = "median";

double nanosecondsPerSample(double samplesPerSecond)
{
    return samplesPerSecond > 0.0 ? kNanosecondsPerSecond / samplesPerSecond : 0.0;
}

// The block length a benchmark name carries as "block:N", or 0.
long blockLengthOf(const std::string& name)
{
    const std::string marker = "block:";
    const size_t at = name.find(marker);
    if (at == std::string::npos)
        return 0;
    return std::strtol(name.c_str() + at + marker.size(), nullptr, 10);
}

} // namespace

OverheadReporter::OverheadReporter(benchmark::BenchmarkReporter* displayReporter,
                                   std::vector<std::pair<std::string, std::string>> pairs)
    : display(displayReporter), comparisons(std::move(pairs))
{
}

bool OverheadReporter::ReportContext(const Context& context)
{
    return display->ReportContext(context);
}

void OverheadReporter::ReportRuns(const std::vector<Run>& runs)
{
    display->ReportRuns(runs);
    for (const Run& run : runs)
        record(run);
}

void OverheadReporter::record(const Run& run)
{
    const std::string& name = run.run_name.function_name;
    if (run.error_occurred)
    {
        ++failures;
        return;
    }
    const auto counter = run.counters.find(kSamplesPerSecond);
    if (counter == run.counters.end())
        return;
    const bool isMedian = run.run_type == Run::RT_Aggregate && run.aggregate_name == kMedianAggregate;
    if (run.run_type == Run::RT_Aggregate && !isMedian)
        return;
    auto found = results.find(name);
    if (found == results.end())
    {
        names.push_back(name);
        found = results.emplace(name, Result{}).first;
    }
    // A median replaces the single repetitions it summarises; a repetition never replaces a median.
    if (isMedian || !found->second.fromMedian)
        found->second = Result{counter->second.value, isMedian};
}

void OverheadReporter::Finalize()
{
    display->Finalize();
    // Keep machine-readable output clean: the summary joins the console display, and goes to the
    // error stream beside any other format.
    const bool console = dynamic_cast<benchmark::ConsoleReporter*>(display) != nullptr;
    printSummary(console ? display->GetOutputStream() : std::cerr);
}

void OverheadReporter::printSummary(std::ostream& out) const
{
    if (names.empty())
        return;
    std::map<std::string, std::string> baselineOf(comparisons.begin(), comparisons.end());
    char line[256];
    out << "\nPer audio sample (one sample frame of one instance), from the benchmark thread's CPU time"
        << ", median of the repetitions where repeated.\n"
        << "load: share of one core per instance at 48 kHz; ratio: time against the direct "
           "processReplacing baseline; extra: the difference per block and instance.\n";
    std::snprintf(line, sizeof(line), "%-52s %10s %12s %8s %8s %12s\n", "benchmark", "ns/sample",
                  "Msamples/s", "load %", "ratio", "extra ns");
    out << line;
    for (const std::string& name : names)
    {
        const Result& result = results.at(name);
        const double nanoseconds = nanosecondsPerSample(result.samplesPerSecond);
        const double load = nanoseconds / kNanosecondsPerSecond * kReferenceSampleRate * kPercent;
        std::string ratio = "-";
        std::string extra = "-";
        const auto baseline = baselineOf.find(name);
        if (baseline != baselineOf.end())
        {
            const auto baselineResult = results.find(baseline->second);
            if (baselineResult != results.end() && baselineResult->second.samplesPerSecond > 0.0)
            {
                const double baselineNanoseconds =
                    nanosecondsPerSample(baselineResult->second.samplesPerSecond);
                char text[32];
                std::snprintf(text, sizeof(text), "%.3f", nanoseconds / baselineNanoseconds);
                ratio = text;
                std::snprintf(text, sizeof(text), "%.0f",
                              (nanoseconds - baselineNanoseconds) * static_cast<double>(blockLengthOf(name)));
                extra = text;
            }
        }
        std::snprintf(line, sizeof(line), "%-52s %10.3f %12.2f %8.4f %8s %12s\n", name.c_str(), nanoseconds,
                      result.samplesPerSecond / kSamplesPerMegasample, load, ratio.c_str(), extra.c_str());
        out << line;
    }
    out.flush();
}
