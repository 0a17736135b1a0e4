#pragma once
// Shows every result through the display the command line chose (console, JSON or CSV), and closes
// with a summary: time per audio sample for each benchmark and, for each benchmark that has a
// baseline, how many times the baseline's time it takes. The summary reads the median of repeated
// runs when there are repetitions, and the single run otherwise.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

class OverheadReporter : public benchmark::BenchmarkReporter
{
public:
    // The counter every benchmark of this suite reports: audio samples processed per second of the
    // benchmark thread's CPU time.
    static constexpr const char* kSamplesPerSecond = "samples_per_second";
    // The rate the summary's load column is given for.
    static constexpr double kReferenceSampleRate = 48000.0;

    // display: where the results go as they come (borrowed; it outlives this reporter).
    // comparisons: pairs of registered benchmark names, measured first and baseline second.
    OverheadReporter(benchmark::BenchmarkReporter* display,
                     std::vector<std::pair<std::string, std::string>> comparisons);

    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // Runs that ended in an error (the benchmark skipped itself with a reason).
    int failedRuns() const { return failures; }

private:
    struct Result
    {
        double samplesPerSecond = 0.0;
        bool fromMedian = false;
    };

    void record(const Run& run);
    void printSummary(std::ostream& out) const;

    benchmark::BenchmarkReporter* display;
    std::vector<std::pair<std::string, std::string>> comparisons;
    // In the order first reported.
    std::vector<std::string> names;
    std::map<std::string, Result> results;
    int failures = 0;
};
