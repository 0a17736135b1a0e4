#include "bench/BenchmarkSuite.h"

#include "bench/OverheadReporter.h"

#include <iostream>

namespace
{

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;

} // namespace

std::vector<std::pair<std::string, std::string>>& BenchmarkSuite::comparisons()
{
    static std::vector<std::pair<std::string, std::string>> pairs;
    return pairs;
}

void BenchmarkSuite::countSamples(benchmark::State& state, int64_t samplesPerIteration)
{
    state.counters[OverheadReporter::kSamplesPerSecond] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(samplesPerIteration),
                           benchmark::Counter::kIsRate);
}

int BenchmarkSuite::run(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return kExitFailure;
    // The library's own display, as --benchmark_format chose it; the library keeps it.
    OverheadReporter reporter(benchmark::CreateDefaultDisplayReporter(), comparisons());
    const size_t selected = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (selected == 0)
    {
        std::cerr << "no benchmark matches the filter\n";
        return kExitFailure;
    }
    if (reporter.failedRuns() > 0)
    {
        std::cerr << reporter.failedRuns() << " benchmark run(s) failed\n";
        return kExitFailure;
    }
    return kExitSuccess;
}
